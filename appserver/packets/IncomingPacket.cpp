#include "IncomingPacket.h"

#include "AppErrors.h"
#include "RequestChecks.h"
#include "WireText.h"

#include <algorithm>
#include <stdexcept>

namespace fai::appserver {
namespace {

QString ChangeName(RowChange change) {
    switch (change) {
        case RowChange::Unchanged:
            return QStringLiteral("linha sem alteração");
        case RowChange::Inserted:
            return QStringLiteral("inclusão");
        case RowChange::Modified:
            return QStringLiteral("alteração");
        case RowChange::Deleted:
            return QStringLiteral("exclusão");
    }
    return QString();
}

bool HasValues(const PacketRow& row) { return row.change != RowChange::Deleted; }

bool HasOriginal(const PacketRow& row) {
    return row.change == RowChange::Modified || row.change == RowChange::Deleted;
}

}  // namespace

IncomingPacket::IncomingPacket(const DataPacket& packet, QString what, const shapes::Shape& shape,
                               Kind kind)
    : packet_(packet), what_(std::move(what)), shape_(shape) {
    CheckRows(kind);
}

void IncomingPacket::CheckRows(Kind kind) const {
    const std::size_t fields = packet_.fields.size();
    int number = 0;
    for (const PacketRow& row : packet_.rows) {
        ++number;
        if (kind == Kind::Content && row.change != RowChange::Unchanged)
            throw EBadRequest(QStringLiteral("O pacote de %1 traz as linhas da tela, sem "
                                             "alterações: a linha %2 é uma %3.")
                                  .arg(what_)
                                  .arg(number)
                                  .arg(ChangeName(row.change)));
        if (kind == Kind::Delta && row.change == RowChange::Unchanged)
            throw EBadRequest(
                QStringLiteral("O pacote de alterações de %1 tem uma linha sem alteração.")
                    .arg(what_));
        if (row.values.size() != (HasValues(row) ? fields : 0) ||
            row.original.size() != (HasOriginal(row) ? fields : 0))
            throw EBadRequest(QStringLiteral("O pacote de %1 tem na linha %2 valores que não "
                                             "correspondem aos seus campos.")
                                  .arg(what_)
                                  .arg(number));
    }
}

int IncomingPacket::Column(packets::FieldName name) const {
    const QString fieldName(name);
    const auto field = std::find_if(shape_.begin(), shape_.end(),
                                    [&](const FieldDef& f) { return f.name == fieldName; });
    if (field == shape_.end()) throw std::logic_error("IncomingPacket: no such field in the shape");
    const int index = packet_.FieldIndex(fieldName);
    if (index < 0)
        throw EBadRequest(
            QStringLiteral("O pacote de %1 não tem o campo %2.").arg(what_, fieldName));
    if (packet_.fields[index].type != field->type)
        throw EBadRequest(QStringLiteral("O campo %1 do pacote de %2 deve ser do tipo %3.")
                              .arg(fieldName, what_, FieldTypeName(field->type)));
    CheckCells(*field, index);
    return index;
}

void IncomingPacket::CheckCells(const FieldDef& field, int column) const {
    if (field.type != FieldType::String) return;
    int number = 0;
    for (const PacketRow& row : packet_.rows) {
        ++number;
        for (const std::vector<Value>* values : {&row.values, &row.original}) {
            if (values->empty() || !(*values)[column].IsText()) continue;
            const QString& text = (*values)[column].Text();
            if (text.size() > field.size)
                throw EBadRequest(QStringLiteral("O campo %1 do pacote de %2 tem na linha %3 "
                                                 "mais de %4 caracteres.")
                                      .arg(field.name, what_)
                                      .arg(number)
                                      .arg(field.size));
            if (HasControlCharacter(text))
                throw EBadRequest(QStringLiteral("O campo %1 do pacote de %2 tem na linha %3 "
                                                 "caracteres de controle.")
                                      .arg(field.name, what_)
                                      .arg(number));
        }
    }
}

IncomingPacket::KeyColumns IncomingPacket::Key(const packets::KeyFields& key) const {
    return {Column(key.branch), Column(key.client), Column(key.service), Column(key.date)};
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
