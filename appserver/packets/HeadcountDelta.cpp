#include "HeadcountDelta.h"

#include "AppErrors.h"
#include "IncomingPacket.h"
#include "NullFieldList.h"
#include "QuantityChecks.h"

namespace fai::appserver {
namespace {

[[noreturn]] void Refuse(const HeadcountKey& key, const QString& why) {
    throw EBadRequest(RowLabel(key.service, key.date) + QStringLiteral(": ") + why);
}

class HeadcountColumns {
  public:
    explicit HeadcountColumns(const IncomingPacket& packet)
        : key_(packet.Key(HeadcountFields::kKey)),
          billed_(packet.Column(HeadcountFields::QTCOMEFATU)),
          forecast_(packet.Column(HeadcountFields::QTCOMEPREV)),
          value_(packet.Column(HeadcountFields::VRSERVFATUDT)),
          billingBranch_(packet.Column(HeadcountFields::CDFILIFATU)),
          assessment_(packet.Column(HeadcountFields::NRAPURACFAT)) {}

    HeadcountKey Key(const std::vector<Value>& row) const {
        const std::optional<HeadcountKey> key = IncomingPacket::KeyOf(row, key_);
        if (!key)
            throw EBadRequest(QStringLiteral(
                "O pacote de efetivos tem uma linha sem filial, cliente, serviço ou data."));
        return *key;
    }

    // Loaded from a stored row, every count has a value; loaded for a service not stored
    // yet, none has.
    std::optional<HeadcountCounts> Expected(const std::vector<Value>& original,
                                            const HeadcountKey& key) const {
        const auto billed = IncomingPacket::NumberOf(original[billed_]);
        const auto forecast = IncomingPacket::NumberOf(original[forecast_]);
        const auto value = IncomingPacket::NumberOf(original[value_]);
        if (!billed && !forecast && !value) return std::nullopt;
        if (!billed || !forecast || !value)
            Refuse(key, QStringLiteral("os valores originais da linha estão incompletos."));
        return HeadcountCounts{*billed, *forecast, *value};
    }

    HeadcountRow Desired(const std::vector<Value>& values, const HeadcountKey& key) const {
        HeadcountRow row;
        row.counts.billed = Count(values[billed_], key,
                                  QStringLiteral("Nº comensais faturados deve ser informado."),
                                  QStringLiteral("N° comensais faturados"), kCountDigits);
        row.counts.forecast = Count(values[forecast_], key,
                                    QStringLiteral("N° comensais previstos deve ser informado."),
                                    QStringLiteral("N° comensais previstos"), kCountDigits);
        row.counts.value =
            Count(values[value_], key, QStringLiteral("Valor Venda deve ser informado."),
                  QStringLiteral("Valor Venda"), kSaleValueDigits);
        const QString billingBranch = IncomingPacket::TextOf(values[billingBranch_]);
        const QString assessment = IncomingPacket::TextOf(values[assessment_]);
        if (billingBranch.isEmpty() != assessment.isEmpty())
            Refuse(key, QStringLiteral("apuração (NRAPURACFAT) e filial de faturamento "
                                       "(CDFILIFATU) são informadas juntas."));
        if (!assessment.isEmpty()) {
            row.billingBranch = billingBranch;
            row.assessment = assessment;
        }
        return row;
    }

  private:
    static double Count(const Value& cell, const HeadcountKey& key, const QString& missing,
                        const QString& label, int digits) {
        const std::optional<double> count = IncomingPacket::NumberOf(cell);
        if (!count) Refuse(key, missing);
        if (const std::optional<QString> why = QuantityRefusal(*count, label, digits))
            Refuse(key, *why);
        return *count;
    }

    IncomingPacket::KeyColumns key_;
    int billed_, forecast_, value_, billingBranch_, assessment_;
};

}  // namespace

std::vector<HeadcountChange> ReadHeadcountDelta(const DataPacket& delta,
                                                const NullFieldList& nulls) {
    const HeadcountColumns columns(IncomingPacket(
        delta, QStringLiteral("efetivos"), shapes::Headcounts(), IncomingPacket::Kind::Delta));
    std::vector<HeadcountChange> changes;
    changes.reserve(delta.rows.size());
    for (const PacketRow& row : delta.rows) {
        HeadcountChange change;
        if (row.change == RowChange::Deleted) {
            change.key = columns.Key(row.original);
            change.expected = columns.Expected(row.original, change.key);
        } else {
            const std::vector<Value> values = nulls.Applied(delta, row.values);
            change.key = columns.Key(values);
            if (row.change == RowChange::Modified) {
                if (!(columns.Key(row.original) == change.key))
                    Refuse(change.key,
                           QStringLiteral("a filial, o cliente, o serviço e a data de um efetivo "
                                          "não mudam; exclua-o e inclua-o com os novos."));
                change.expected = columns.Expected(row.original, change.key);
            }
            change.desired = columns.Desired(values, change.key);
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

}  // namespace fai::appserver
