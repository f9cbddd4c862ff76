#include "IncomingPacket.h"

#include "AppErrors.h"
#include "RequestChecks.h"

namespace fai::appserver {
namespace {}  // namespace

IncomingPacket::IncomingPacket(const DataPacket& packet, QString what)
    : packet_(packet), what_(std::move(what)) {}

int IncomingPacket::Column(const char* name, FieldType type) const {
    const QString field = QString::fromLatin1(name);
    const int index = packet_.FieldIndex(field);
    if (index < 0)
        throw EBadRequest(QStringLiteral("O pacote de %1 não tem o campo %2.").arg(what_, field));
    if (packet_.fields[index].type != type)
        throw EBadRequest(QStringLiteral("O campo %1 do pacote de %2 deve ser do tipo %3.")
                              .arg(field, what_, FieldTypeName(type)));
    return index;
}

IncomingPacket::KeyColumns IncomingPacket::Key(const char* dateField) const {
    return {Column("CDFILIAL", FieldType::String), Column("CDCLIENTE", FieldType::String),
            Column("CDSERVFILI", FieldType::String), Column(dateField, FieldType::DateTime)};
}

std::optional<HeadcountKey> IncomingPacket::KeyOf(const std::vector<Value>& row,
                                                  const KeyColumns& columns) {
    HeadcountKey key{
        TextOf(row[columns.branch]), TextOf(row[columns.client]), TextOf(row[columns.service]), {}};
    const std::optional<QDate> date = DateOf(row[columns.date]);
    if (key.branch.isEmpty() || key.client.isEmpty() || key.service.isEmpty() || !date ||
        RequestChecks::IsNoDate(*date))
        return std::nullopt;
    key.date = RequestChecks::CalendarDay(*date);
    return key;
}

QString IncomingPacket::TextOf(const Value& cell) {
    return cell.IsText() ? cell.Text() : QString();
}

std::optional<double> IncomingPacket::NumberOf(const Value& cell) {
    if (!cell.IsNumber()) return std::nullopt;
    return cell.Number();
}

std::optional<QDate> IncomingPacket::DateOf(const Value& cell) {
    if (!cell.IsDate()) return std::nullopt;
    return cell.Date();
}

}  // namespace fai::appserver
