#include "ApportionmentDelta.h"

#include "AppErrors.h"
#include "IncomingPacket.h"
#include "QuantityChecks.h"

#include <cmath>

namespace fai::appserver {
namespace {

// Link and item numbers travel as floats; only whole numbers the database can hold are
// numbers at all.
std::optional<qint64> WholeNumber(const Value& cell) {
    const std::optional<double> number = IncomingPacket::NumberOf(cell);
    if (!number || !std::isfinite(*number) || std::trunc(*number) != *number ||
        std::abs(*number) > 2'147'483'647.0)
        return std::nullopt;
    return static_cast<qint64>(*number);
}

[[noreturn]] void Refuse(const QString& why) {
    throw EBadRequest(QStringLiteral("Rateio de efetivos: %1").arg(why));
}

class LinkColumns {
  public:
    explicit LinkColumns(const IncomingPacket& packet)
        : key_(packet.Key(ApportionmentFields::kKey)),
          number_(packet.Column(ApportionmentFields::NRITRATEFECLIFAT)),
          plan_(packet.Column(ApportionmentFields::CDSERVPLAN)),
          item_(packet.Column(ApportionmentFields::NRITEMRATEIOEFET)),
          itemCode_(packet.Column(ApportionmentFields::CDITEMRATEIOEFET)),
          diners_(packet.Column(ApportionmentFields::QTEFETIVOS)) {}

    // None when the row asks for nothing.
    std::optional<LinkChange> Read(const PacketRow& row) const {
        if (row.change != RowChange::Modified)
            Refuse(QStringLiteral("os itens vêm do servidor; nenhum é incluído ou excluído."));
        LinkChange change;
        change.itemCode = IncomingPacket::TextOf(row.values[itemCode_]);
        const std::optional<qint64> item = WholeNumber(row.values[item_]);
        if (!item || *item <= 0 || WholeNumber(row.original[item_]) != item)
            Refuse(QStringLiteral("item %1 com número inválido.").arg(change.itemCode));
        change.item = *item;
        change.expected = Expected(row, change.itemCode);
        change.desired = IncomingPacket::NumberOf(row.values[diners_]);
        if (change.desired) {
            if (!(*change.desired >= 0))
                Refuse(QStringLiteral("item %1: Quantidade de efetivos deve ser maior que zero.")
                           .arg(change.itemCode));
            if (const std::optional<QString> why = QuantityRefusal(
                    *change.desired, QStringLiteral("Quantidade de efetivos"), kCountDigits))
                Refuse(QStringLiteral("item %1: %2").arg(change.itemCode, *why));
        }
        const std::optional<HeadcountKey> key = IncomingPacket::KeyOf(row.values, key_);
        if (!change.expected && !change.desired) return std::nullopt;
        if (!key)
            Refuse(QStringLiteral("item %1 sem a filial, o cliente, o serviço ou a data do "
                                  "efetivo.")
                       .arg(change.itemCode));
        if (change.expected && IncomingPacket::KeyOf(row.original, key_) != key)
            Refuse(QStringLiteral("item %1: o vínculo de um efetivo não passa a outro.")
                       .arg(change.itemCode));
        change.key = *key;
        change.planService = IncomingPacket::TextOf(row.values[plan_]);
        if (change.planService.isEmpty()) change.planService = change.key.service;
        return change;
    }

  private:
    // A link the server gave keeps its number; a new one has none or a temporary negative.
    std::optional<StoredLink> Expected(const PacketRow& row, const QString& itemCode) const {
        const std::optional<qint64> current = WholeNumber(row.values[number_]);
        const bool currentIsNull = row.values[number_].IsNull();
        if (row.original[number_].IsNull()) {
            if (!currentIsNull && (!current || *current >= 0))
                Refuse(QStringLiteral("item %1 com número de vínculo que o servidor não deu.")
                           .arg(itemCode));
            return std::nullopt;
        }
        const std::optional<qint64> original = WholeNumber(row.original[number_]);
        if (!original || *original <= 0 || current != original)
            Refuse(QStringLiteral("item %1 com número de vínculo alterado.").arg(itemCode));
        return StoredLink{*original, IncomingPacket::NumberOf(row.original[diners_])};
    }

    IncomingPacket::KeyColumns key_;
    int number_, plan_, item_, itemCode_, diners_;
};

}  // namespace

std::vector<LinkChange> ReadApportionmentDelta(const DataPacket& delta) {
    const LinkColumns columns(IncomingPacket(delta, QStringLiteral("rateio"),
                                             shapes::HeadcountApportion(),
                                             IncomingPacket::Kind::Delta));
    std::vector<LinkChange> changes;
    for (const PacketRow& row : delta.rows)
        if (std::optional<LinkChange> change = columns.Read(row)) changes.push_back(*change);
    return changes;
}

}  // namespace fai::appserver
