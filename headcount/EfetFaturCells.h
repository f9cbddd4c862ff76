#pragma once

#include "EfetFaturParts.h"

#include <QChar>
#include <QString>

namespace fai {

// The cells of the headcount grids: which keys each cell lets through, what leaving a
// column checks, and the count column a refused count is selected in.
class EfetFaturCells {
  public:
    explicit EfetFaturCells(const EfetFaturParts& parts);

    // The service of a stored row cannot be retyped by date, nor the weekday by service.
    void KeyDownByDate(int& key) const;
    void KeyPressByDate(QChar& key);
    void KeyDownByService(int& key) const;
    // By service the counts and the sale value are also kept within their digits.
    void KeyPressByService(QChar& key);
    // By date the service record follows the row under the cursor, fetched once per row.
    void LeaveColumnByDate();
    // By service a new row's date must be free and open.
    void LeaveColumnByService();
    // Selects the count's column in the grid shown, remembering its place in both grids.
    void SelectCountColumn(const QString& count);
    // A count below zero, refused with its column selected.
    [[noreturn]] void RefuseNegativeCount(const QString& count);

  private:
    QString SelectedField(bool byDate) const;
    bool Inserting() const;
    bool NegativeCountLeft(const QString& column) const;
    [[noreturn]] void FailOnCount(const QString& column);

    TfrmPadraoSimples& screen_;
    EfetFaturControls& controls_;
    EfetFaturSession& session_;
    EfetFaturFilter& filter_;
};

}  // namespace fai
