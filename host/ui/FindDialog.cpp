#include "FindDialog.h"

#include "DialogService.h"
#include "RowSearch.h"
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
    column_->addItem(QStringLiteral("Todos os campos"), QString());
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        const Field* field = grid.ColumnField(column);
        if (!field || grid.isColumnHidden(column)) continue;
        column_->addItem(grid.model()->headerData(column, Qt::Horizontal).toString(),
                         field->FieldName());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Valor"), value_);
    layout->addRow(QStringLiteral("Campo"), column_);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    value_->setFocus();
}

bool FindInGrid(TDBGrid& grid) {
    ClientDataSet* dataSet = grid.ActiveDataSet();
    if (!dataSet || dataSet->IsEmpty()) return false;
    FindDialog find(grid, grid.window());
    if (DialogService::Instance().ExecModal(find) != QDialog::Accepted) return false;
    const QString fieldName = find.ColumnBox()->currentData().toString();
    const QString value = find.ValueBox()->text().trimmed();
    bool found = false;
    if (fieldName.isEmpty()) {
        const int row = RowSearch(value).FindRow(*dataSet, grid.ShownFields());
        if (row >= 0) dataSet->SetRecNo(row + 1);
        found = row >= 0;
    } else {
        found = dataSet->Locate(fieldName, Value(value), {true});
    }
    if (found) {
        grid.setFocus();
        return true;
    }
    DialogService::Instance().Message(DialogKind::Information,
                                      QStringLiteral("Registro não encontrado."), mbOk);
    return false;
}

}  // namespace fai
