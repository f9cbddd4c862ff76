#include "PacketReader.h"

#include "AppErrors.h"
#include "SqlSession.h"

#include <QDate>
#include <QSqlRecord>

#include <stdexcept>

namespace fai::appserver {
namespace {

[[noreturn]] void Unreadable(const FieldDef& field, const QVariant& raw) {
    throw EDatabaseError(QStringLiteral("Valor \"%1\" ilegível no campo %2 do banco de dados.")
                             .arg(raw.toString(), field.name));
}

Value ToValue(const QVariant& raw, const FieldDef& field) {
    if (raw.isNull()) return Value();
    switch (field.type) {
        case FieldType::String: {
            const QString text = raw.toString();
            if (text.size() > field.size) Unreadable(field, raw);
            return Value(text);
        }
        case FieldType::Float: {
            bool ok = false;
            const double number = raw.toDouble(&ok);
            if (!ok) Unreadable(field, raw);
            return Value(number);
        }
        case FieldType::DateTime: {
            const QDate date = DateFromSql(raw);
            if (!date.isValid()) Unreadable(field, raw);
            return Value(date);
        }
    }
    Unreadable(field, raw);
}

}  // namespace

DataPacket ReadPacket(QSqlQuery& query, const std::vector<FieldDef>& shape) {
    DataPacket packet;
    packet.fields = shape;
    const int columns = static_cast<int>(shape.size());
    if (query.record().count() != columns)
        throw std::logic_error("ReadPacket: the query's columns do not match the packet's fields");
    while (query.next()) {
        PacketRow row;
        row.values.reserve(shape.size());
        for (int i = 0; i < columns; ++i) row.values.push_back(ToValue(query.value(i), shape[i]));
        packet.rows.push_back(std::move(row));
    }
    query.finish();
    return packet;
}

void FillColumn(DataPacket& packet, const QString& field, const Value& value) {
    const int index = packet.FieldIndex(field);
    if (index < 0) throw std::logic_error("FillColumn: the packet has no such field");
    for (PacketRow& row : packet.rows) row.values[index] = value;
}

}  // namespace fai::appserver
