#pragma once

#include <QString>
#include <QStringList>

namespace fai {

// The keys chosen in a multi-selection list as one text: each key in single quotes (a quote
// inside it doubled), separated by commas, as an SQL IN list shows them: 'A','B'. Empty when
// none is chosen. The text is only ever split back into keys and bound value by value: it
// is never pasted into SQL.
QString JoinKeys(const QStringList& keys);
// The keys of such a text, in order; a key typed without quotes is taken as it stands.
QStringList SplitKeys(const QString& text);

}  // namespace fai
