#pragma once

#include <QDialog>

class QLineEdit;

namespace fai {

class DataSource;
class TDBGrid;

// The list a lookup button opens: the rows of a data source in a read-only grid
// ("dbgPesquisa") with a search box ("edtPesquisa") above it. Typing in the box moves to the
// first row whose text in the grid's selected column starts with what was typed (letter
// case ignored); the arrows move through the list from the box; Enter or a double click
// picks the current row, which stays the current record of the source's dataset.
class LookupDialog : public QDialog {
    Q_OBJECT
  public:
    LookupDialog(DataSource& source, const QString& title, QWidget* parent = nullptr);

    TDBGrid* Grid() const { return grid_; }
    QLineEdit* SearchBox() const { return search_; }
    // Moves to the first row matching the text; false when none does (the row then stays).
    bool Search(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TDBGrid* grid_;
    QLineEdit* search_;
};

}  // namespace fai
