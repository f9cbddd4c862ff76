#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace fai {

class TDBGrid;

// The search of the base forms: the user picks one of the grid's columns ("cbbCampo") and
// types a value ("edtValor"); the grid's dataset moves to the first row whose field equals
// it (texts without regard to letter case). Not found is said through the dialog service.
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
