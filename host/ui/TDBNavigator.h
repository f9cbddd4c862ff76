#pragma once

#include "DataSource.h"

#include <QWidget>

class QToolButton;

namespace fai {

// First, previous, next and last record of its data source (buttons btnPrimeiro,
// btnAnterior, btnProximo, btnUltimo), each enabled only when it can move.
class TDBNavigator : public QWidget, private DataLink {
    Q_OBJECT
  public:
    explicit TDBNavigator(QWidget* parent = nullptr);

    fai::DataSource* DataSource() const { return Source(); }
    void SetDataSource(fai::DataSource* source);

  private:
    QToolButton* AddButton(const char* name, const QString& text, const QString& hint,
                           void (ClientDataSet::*move)());
    void Refresh();

    void StateChanged(DataSetState) override { Refresh(); }
    void DataSetReset() override { Refresh(); }
    void CurrentChanged(int) override { Refresh(); }
    void RowInserted(int) override { Refresh(); }
    void RowRemoved(int) override { Refresh(); }

    QToolButton* first_;
    QToolButton* prior_;
    QToolButton* next_;
    QToolButton* last_;
};

}  // namespace fai
