#include "ShiftDelta.h"

#include "AppErrors.h"
#include "IncomingPacket.h"
#include "NullFieldList.h"
#include "QuantityChecks.h"

namespace fai::appserver {
namespace {

class ShiftColumns {
  public:
    explicit ShiftColumns(const IncomingPacket& packet)
        : key_(packet.Key(ShiftFields::kKey)),
          shift_(packet.Column(ShiftFields::CDTURNO)),
          quantity_(packet.Column(ShiftFields::QTCOMFATUTUR)) {}

    HeadcountKey Key(const std::vector<Value>& row) const {
        const std::optional<HeadcountKey> key = IncomingPacket::KeyOf(row, key_);
        if (!key)
            throw EBadRequest(QStringLiteral(
                "O pacote de turnos tem uma linha sem filial, cliente, serviço ou data."));
        return *key;
    }

    QString Shift(const std::vector<Value>& row) const {
        const QString shift = IncomingPacket::TextOf(row[shift_]);
        if (shift.isEmpty())
            throw EBadRequest(QStringLiteral("O pacote de turnos tem uma linha sem turno."));
        return shift;
    }

    std::optional<double> Quantity(const std::vector<Value>& row) const {
        return IncomingPacket::NumberOf(row[quantity_]);
    }

  private:
    IncomingPacket::KeyColumns key_;
    int shift_, quantity_;
};

}  // namespace

ShiftDelta ReadShiftDelta(const DataPacket& delta, const NullFieldList& nulls) {
    const ShiftColumns columns(IncomingPacket(delta, QStringLiteral("turnos"), shapes::Shifts(),
                                              IncomingPacket::Kind::Delta));
    ShiftDelta read;
    std::optional<HeadcountKey> key;
    for (const PacketRow& row : delta.rows) {
        ShiftChange change;
        HeadcountKey rowKey;
        if (row.change == RowChange::Deleted) {
            rowKey = columns.Key(row.original);
            change.shift = columns.Shift(row.original);
            change.expected = columns.Quantity(row.original);
        } else {
            const std::vector<Value> values = nulls.Applied(delta, row.values);
            rowKey = columns.Key(values);
            change.shift = columns.Shift(values);
            change.desired = columns.Quantity(values);
            if (row.change == RowChange::Modified) {
                if (!(columns.Key(row.original) == rowKey) ||
                    columns.Shift(row.original) != change.shift)
                    throw EBadRequest(
                        QStringLiteral("Turno %1 (%2): o turno e o efetivo de uma quantidade "
                                       "não mudam.")
                            .arg(change.shift, RowLabel(rowKey.service, rowKey.date)));
                change.expected = columns.Quantity(row.original);
            }
        }
        if (change.desired)
            if (const std::optional<QString> why =
                    QuantityRefusal(*change.desired, QStringLiteral("Quantidade"), kCountDigits))
                throw EBadRequest(
                    QStringLiteral("Turno %1 (%2): %3")
                        .arg(change.shift, RowLabel(rowKey.service, rowKey.date), *why));
        if (key && !(*key == rowKey))
            throw EBadRequest(
                QStringLiteral("Um salvamento de turnos é de um só efetivo: uma "
                               "filial, um cliente, um serviço e uma data."));
        key = rowKey;
        read.changes.push_back(std::move(change));
    }
    if (key) read.key = *key;
    return read;
}

}  // namespace fai::appserver
