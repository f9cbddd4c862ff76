#pragma once

#include "RowHistory.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableWidget;

namespace fai {

// The history of one headcount row, read only: when, who, what, from what, to what, newest
// first; a row never changed says so instead of showing an empty grid.
class TfrmHistEfetFatur : public QDialog {
    Q_OBJECT
  public:
    TfrmHistEfetFatur(const QString& rowLabel, const std::vector<HistoryLine>& lines,
                      QWidget* parent = nullptr);

  private:
    QLabel* lblHistorico;
    QTableWidget* dbgHistorico;
};

// Shows the row's history modally.
void MostraHistorico(const QString& rowLabel, const std::vector<HistoryLine>& lines,
                     QWidget* parent);

}  // namespace fai
