#include "PacketReader.h"

#include "AppErrors.h"
#include "SqlSession.h"

#include <QDate>

#include <algorithm>
#include <stdexcept>

namespace fai::appserver {
namespace {

[[noreturn]] void Unreadable(const FieldDef& field, const QVariant& raw) {
    throw EDatabaseError(QStringLiteral("Valor \"%1\" ilegível no campo %2 do banco de dados.")
                             .arg(raw.toString(), field.name));
}

// What the database gave in a form other than the usual one for the field, as QtSql would
// have handed it.
Value FromVariant(const QVariant& raw, const FieldDef& field) {
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

// "yyyy-MM-dd", the form both databases give dates in; invalid for any other text.
QDate IsoDate(QByteArrayView text) {
    const auto digits = [&text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return QDate();
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (year < 0 || month < 0 || day < 0) return QDate();
    return QDate(year, month, day);
}

// The last text read in one column: a row that repeats it (the branch, the client, the
// service of every row of a list) shares it instead of converting its bytes again.
struct LastText {
    QByteArray bytes;
    QString text;
    bool read = false;
};

// The cell straight from the database's bytes in the usual cases: no QVariant on the way.
Value ToValue(const SqlRows& rows, int column, const FieldDef& field, LastText& last) {
    const SqlCell cell = rows.Cell(column);
    switch (cell.kind) {
        case SqlCell::Kind::Null:
            return Value();
        case SqlCell::Kind::Number:
            if (field.type == FieldType::Float) return Value(cell.number);
            break;
        case SqlCell::Kind::Text:
            if (field.type == FieldType::String) {
                if (!last.read || last.bytes != cell.text) {
                    last.text = QString::fromUtf8(cell.text);
                    if (last.text.size() > field.size) Unreadable(field, last.text);
                    last.bytes.resize(cell.text.size());
                    std::copy(cell.text.begin(), cell.text.end(), last.bytes.begin());
                    last.read = true;
                }
                return Value(last.text);
            }
            if (field.type == FieldType::DateTime) {
                const QDate date = IsoDate(cell.text);
                if (date.isValid()) return Value(date);
            }
            break;
        case SqlCell::Kind::Other:
            break;
    }
    return FromVariant(rows.Value(column), field);
}

std::vector<SqlSession::Statement> StatementsOf(const std::vector<PacketRead>& reads) {
    std::vector<SqlSession::Statement> statements;
    statements.reserve(reads.size());
    for (const PacketRead& read : reads) statements.push_back(read.statement);
    return statements;
}

}  // namespace

DataPacket ReadPacket(SqlRows& rows, const PacketRead& read) {
    const std::vector<FieldDef>& shape = *read.shape;
    DataPacket packet;
    packet.fields = shape;
    const int columns = static_cast<int>(shape.size());
    if (rows.Columns() != columns)
        throw std::logic_error("ReadPacket: the query's columns do not match the packet's fields");
    std::vector<LastText> texts(shape.size());
    while (rows.Next()) {
        PacketRow row;
        row.values.reserve(shape.size());
        for (int i = 0; i < columns; ++i)
            row.values.push_back(ToValue(rows, i, shape[i], texts[i]));
        packet.rows.push_back(std::move(row));
    }
    if (read.complete) read.complete(packet);
    return packet;
}

DataPacket ReadPacket(SqlSession& session, const PacketRead& read) {
    SqlRows rows = session.Run(read.statement.sql, read.statement.params);
    return ReadPacket(rows, read);
}

std::vector<DataPacket> ReadPackets(SqlSession& session, const std::vector<PacketRead>& reads) {
    std::vector<SqlRows> rows = session.RunTogether(StatementsOf(reads));
    std::vector<DataPacket> packets;
    packets.reserve(reads.size());
    for (std::size_t i = 0; i < reads.size(); ++i) packets.push_back(ReadPacket(rows[i], reads[i]));
    return packets;
}

PacketsAhead::PacketsAhead(SqlSession& session, std::vector<PacketRead> reads)
    : reads_(std::move(reads)), ahead_(session, StatementsOf(reads_)) {}

void FillColumn(DataPacket& packet, const QString& field, const Value& value) {
    const int index = packet.FieldIndex(field);
    if (index < 0) throw std::logic_error("FillColumn: the packet has no such field");
    for (PacketRow& row : packet.rows) row.values[index] = value;
}

}  // namespace fai::appserver
