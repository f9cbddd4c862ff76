#include "PacketReader.h"

#include "AppErrors.h"
#include "PacketConversion.h"
#include "SqlSession.h"

#include <QDate>

#include <stdexcept>
#include <string_view>

namespace fai::appserver {
namespace {

[[noreturn]] void Unreadable(const FieldDef& field, const QString& raw) {
    throw EDatabaseError(QStringLiteral("Valor \"%1\" ilegível no campo %2 do banco de dados.")
                             .arg(raw, field.name));
}

void AddText(ColumnOut& column, const FieldDef& field, const QString& text) {
    if (text.size() > field.size) Unreadable(field, text);
    column.AddText(text);
}

// What the database gave in a form other than the usual one for the field, as QtSql would
// have handed it.
void AddVariant(ColumnOut& column, const FieldDef& field, const QVariant& raw,
                double (*number)(double)) {
    if (raw.isNull()) return column.AddNull();
    switch (field.type) {
        case FieldType::String:
            return AddText(column, field, raw.toString());
        case FieldType::Float: {
            bool ok = false;
            const double read = raw.toDouble(&ok);
            if (!ok) Unreadable(field, raw.toString());
            return column.AddNumber(number ? number(read) : read);
        }
        case FieldType::DateTime: {
            const QDate date = DateFromSql(raw);
            if (!date.isValid()) Unreadable(field, raw.toString());
            return column.AddDay(date);
        }
    }
    Unreadable(field, raw.toString());
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

// The cell straight from the database's bytes in the usual cases: no QVariant on the way, and
// a text the column already holds is neither decoded nor copied again.
void AddCell(ColumnOut& column, const FieldDef& field, const SqlRows& rows, int index,
             double (*number)(double)) {
    const SqlCell cell = rows.Cell(index);
    switch (cell.kind) {
        case SqlCell::Kind::Null:
            return column.AddNull();
        case SqlCell::Kind::Number:
            if (field.type == FieldType::Float)
                return column.AddNumber(number ? number(cell.number) : cell.number);
            break;
        case SqlCell::Kind::Text:
            if (field.type == FieldType::String) {
                if (column.AddKnownText(std::string_view(cell.text.data(), cell.text.size())))
                    return;
                return AddText(column, field, QString::fromUtf8(cell.text));
            }
            if (field.type == FieldType::DateTime) {
                const QDate date = IsoDate(cell.text);
                if (date.isValid()) return column.AddDay(date);
            }
            break;
        case SqlCell::Kind::Other:
            break;
    }
    AddVariant(column, field, rows.Value(index), number);
}

// The value of each field that the read fixes; null for the others.
std::vector<const Value*> FixedValues(const PacketRead& read) {
    std::vector<const Value*> values(read.shape->size(), nullptr);
    for (const FixedColumn& fixed : read.fixed)
        values[std::size_t(ColumnOf(*read.shape, fixed.field))] = &fixed.value;
    return values;
}

// The packet of each read, in order, from the rows `rowsOf` gives for it.
template <class RowsOf>
std::vector<Fai00400::DataPacket> PacketsOf(const std::vector<PacketRead>& reads,
                                            const RowsOf& rowsOf) {
    std::vector<Fai00400::DataPacket> packets;
    packets.reserve(reads.size());
    for (std::size_t i = 0; i < reads.size(); ++i)
        packets.push_back(ReadPacket(rowsOf(i), reads[i]));
    return packets;
}

}  // namespace

std::vector<SqlSession::Statement> StatementsOf(const std::vector<PacketRead>& reads) {
    std::vector<SqlSession::Statement> statements;
    statements.reserve(reads.size());
    for (const PacketRead& read : reads) statements.push_back(read.statement);
    return statements;
}

int ColumnOf(const std::vector<FieldDef>& shape, packets::FieldName field) {
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i].name == field) return int(i);
    throw std::logic_error("ColumnOf: the packet has no such field");
}

Fai00400::DataPacket ReadPacket(SqlRows& rows, const PacketRead& read) {
    const std::vector<FieldDef>& shape = *read.shape;
    const int columns = static_cast<int>(shape.size());
    if (rows.Columns() != columns)
        throw std::logic_error("ReadPacket: the query's columns do not match the packet's fields");
    const std::vector<const Value*> fixed = FixedValues(read);
    Fai00400::DataPacket packet;
    RowsOut out(shape, &packet);
    for (int row = 1; rows.Next(); ++row) {
        out.AddRow();
        for (int i = 0; i < columns; ++i) {
            const auto field = static_cast<std::size_t>(i);
            ColumnOut& column = out.Column(field);
            if (fixed[field])
                column.Add(*fixed[field], row);
            else
                AddCell(column, shape[field], rows, i, read.number);
        }
    }
    return packet;
}

Fai00400::DataPacket ReadPacket(SqlSession& session, const PacketRead& read) {
    SqlRows rows = session.Run(read.statement.sql, read.statement.params);
    return ReadPacket(rows, read);
}

std::vector<Fai00400::DataPacket> ReadPackets(SqlSession& session,
                                              const std::vector<PacketRead>& reads) {
    std::vector<SqlRows> rows = session.RunTogether(StatementsOf(reads));
    return PacketsOf(reads, [&rows](std::size_t i) -> SqlRows& { return rows[i]; });
}

DataPacket Unpacked(const Fai00400::DataPacket& packet) { return FromProto(packet); }

Fai00400::DataPacket Answered(const std::vector<FieldDef>& shape, std::vector<PacketRow> rows) {
    DataPacket packet;
    packet.fields = shape;
    packet.rows = std::move(rows);
    return ToProto(packet);
}

PacketsAhead::PacketsAhead(SqlSession& session, std::vector<PacketRead> reads)
    : reads_(std::move(reads)), ahead_(session, StatementsOf(reads_)) {}

std::vector<Fai00400::DataPacket> PacketsAhead::Packets() {
    return PacketsOf(reads_, [this](std::size_t i) -> SqlRows& { return ahead_.Rows(i); });
}

}  // namespace fai::appserver
