#pragma once

#include <QString>
#include <QStringList>

namespace fai {

class DataSource;

// The chosen keys as one text: each key in single quotes (a quote inside it doubled),
// separated by commas, as an SQL IN list takes them: 'A','B'. Empty when none is chosen.
QString JoinKeys(const QStringList& keys);
// The keys of such a text, in order.
QStringList SplitKeys(const QString& text);

// A multi-selection list of the rows of the source's dataset ("frmPesquisaLista", the
// check-box table "grdLista", buttons "btnTodos" and "btnNenhum"), shown modally through
// the dialog service. The rows whose key field is among `keys` start chosen, or every row
// when `selectAll` is set. On OK `keys` becomes the chosen keys in row order (JoinKeys) and
// the answer is true; on cancel `keys` stays as it was. With no rows the user is told and
// nothing is shown. Throws EError when the dataset has no such key field.
bool PesquisaLista(DataSource* source, const QString& keyField, const QString& title,
                   bool selectAll, QString& keys);

}  // namespace fai
