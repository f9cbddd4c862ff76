#include "FindDialog.h"

#include "DialogService.h"
#include "TDBGrid.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace fai {

FindDialog::FindDialog(TDBGrid& grid, QWidget* parent)
    : QDialog(parent), column_(new QComboBox(this)), value_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmProcurar"));
    setWindowTitle(QStringLiteral("Procurar"));
    column_->setObjectName(QStringLiteral("cbbCampo"));
    value_->setObjectName(QStringLiteral("edtValor"));
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        const Field* field = grid.ColumnField(column);
        if (!field || grid.isColumnHidden(column)) continue;
        column_->addItem(grid.model()->headerData(column, Qt::Horizontal).toString(),
                         field->FieldName());
    }
    column_->setCurrentIndex(std::max(
        0,
        column_->findData(grid.SelectedField() ? grid.SelectedField()->FieldName() : QString())));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Campo"), column_);
    layout->addRow(QStringLiteral("Valor"), value_);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool FindInGrid(TDBGrid& grid) {
    ClientDataSet* dataSet = grid.ActiveDataSet();
    if (!dataSet || dataSet->IsEmpty()) return false;
    FindDialog find(grid, grid.window());
    if (DialogService::Instance().ExecModal(find) != QDialog::Accepted) return false;
    const QString fieldName = find.ColumnBox()->currentData().toString();
    if (fieldName.isEmpty()) return false;
    if (dataSet->Locate(fieldName, Value(find.ValueBox()->text().trimmed()), {true})) {
        grid.setFocus();
        return true;
    }
    DialogService::Instance().Message(DialogKind::Information,
                                      QStringLiteral("Registro não encontrado."), mbOk);
    return false;
}

}  // namespace fai
