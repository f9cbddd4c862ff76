#include "Value.h"

#include <cstring>

namespace fai {

QString FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::String:
            return QStringLiteral("texto");
        case FieldType::Float:
            return QStringLiteral("número");
        case FieldType::DateTime:
            return QStringLiteral("data");
    }
    return QString();
}

QDate ZeroDate() { return QDate(1899, 12, 30); }

qint64 ToDaySerial(const QDate& date) { return ZeroDate().daysTo(date); }

QDate FromDaySerial(qint64 serial) { return ZeroDate().addDays(serial); }

bool operator==(const Value& a, const Value& b) {
    if (a.data_.index() != b.data_.index()) return false;
    if (a.IsNumber()) {
        const double x = a.Number(), y = b.Number();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return a.data_ == b.data_;
}

}  // namespace fai
