#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace fai {

class DataSource;
class TDBGrid;

// The list a lookup button opens: the rows of a data source in a read-only grid
// ("dbgPesquisa") with a search box ("edtPesquisa") above it, which has the focus when the
// list opens. Typing in the box moves to the first row that shows what was typed in any
// column (RowSearch: part of a name, a code, a registration number with or without its
// punctuation); the line under the box ("lblPesquisa") says where the search looks and when
// nothing was found. The arrows move through the list from the box; Enter or a double click
// picks the current row, which stays the current record of the source's dataset.
class LookupDialog : public QDialog {
    Q_OBJECT
  public:
    LookupDialog(DataSource& source, const QString& title, QWidget* parent = nullptr);

    TDBGrid* Grid() const { return grid_; }
    QLineEdit* SearchBox() const { return search_; }
    QLabel* SearchNote() const { return note_; }
    // Moves to the first row matching the text; false when none does (the row then stays).
    bool Search(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The grid wide enough for every column, as far as the screen has room.
    void FitToColumns();

    TDBGrid* grid_;
    QLineEdit* search_;
    QLabel* note_;
    QString where_;
};

}  // namespace fai
