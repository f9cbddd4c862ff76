#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace fai {

class TDBGrid;

// The search of the base forms: the user types a value ("edtValor", which has the focus when
// the dialog opens) and picks where to look ("cbbCampo"): "Todos os campos", the first
// choice, finds the first row that shows the value in any column as the lookups do
// (RowSearch); one of the grid's columns finds the first row whose field equals it (texts
// without regard to letter case). Not found is said through the dialog service.
class FindDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FindDialog(TDBGrid& grid, QWidget* parent = nullptr);

    QComboBox* ColumnBox() const { return column_; }
    QLineEdit* ValueBox() const { return value_; }

  private:
    QComboBox* column_;
    QLineEdit* value_;
};

// Runs the search over the grid; true when a row was found. Throws EError when the value is
// no value of the chosen field (a letter for a number).
bool FindInGrid(TDBGrid& grid);

}  // namespace fai
