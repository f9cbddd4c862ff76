#pragma once

#include "Value.h"

#include <QDate>
#include <QString>
#include <QStringView>

namespace fai {

// How a cell reads as another type. A null reads as the empty text, 0 and the zero date; a
// day reads as its day serial and as dd/MM/yyyy; a text is parsed as a Brazilian number or
// date. `label` names the field in the message of the EError thrown for unreadable text.
QString TextOf(const Value& value);
double FloatOf(const Value& value, QStringView label);
QDate DateOf(const Value& value, QStringView label);

// What a field of `type` stores when it is given `value`: a value of its own kind or null.
// Blank text given to a number or date field is null; a day given as a serial keeps its
// day part; an invalid QDate is null. Throws EError, naming `label`, for text that is not a
// number or date, for a serial outside the years 1 to 9999, and for text longer than a
// string field's `size`.
Value Coerce(const Value& value, FieldType type, int size, QStringView label);

}  // namespace fai
