#pragma once

#include "SelectionKeys.h"

#include <QString>
#include <QStringList>

namespace fai {

class DataSource;

// A multi-selection list of the rows of the source's dataset ("frmPesquisaLista", the
// check-box table "grdLista", buttons "btnTodos" and "btnNenhum"), shown modally through
// the dialog service. The search box "edtPesquisa" has the focus when the list opens and
// moves the table to the first row showing what was typed, as the lookups do (RowSearch);
// Space in the table ticks or clears the row. Columns are as wide as their fields' values. The rows
// whose key field is among `keys` start chosen, or every row when `selectAll` is set. On OK `keys`
// becomes the chosen keys in row order (JoinKeys) and the answer is true; on cancel `keys` stays as
// it was. With no rows the user is told and nothing is shown. Throws EError when the dataset has no
// such key field.
bool PesquisaLista(DataSource* source, const QString& keyField, const QString& title,
                   bool selectAll, QString& keys);

}  // namespace fai
