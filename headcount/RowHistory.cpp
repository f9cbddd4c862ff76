#include "RowHistory.h"

#include "BrazilianText.h"
#include "ClientDataSet.h"
#include "HistoryFields.h"
#include "NumericFormat.h"

#include <QDateTime>

namespace fai {
namespace {

using F = HistoryFields;

class Record {
  public:
    Record(const DataPacket& packet, const PacketRow& row) : packet_(packet), row_(row) {}

    QString Text(packets::FieldName field) const {
        const Value& value = row_.values.at(packet_.FieldIndex(field));
        return value.IsText() ? value.Text() : QString();
    }
    double Number(packets::FieldName field) const {
        const Value& value = row_.values.at(packet_.FieldIndex(field));
        return value.IsNumber() ? value.Number() : 0;
    }

  private:
    const DataPacket& packet_;
    const PacketRow& row_;
};

const Field* ScreenField(const QString& name,
                         std::initializer_list<const ClientDataSet*> screenData) {
    for (const ClientDataSet* data : screenData)
        if (const Field* field = data->FindField(name)) return field;
    return nullptr;
}

// A stored value (numbers with a decimal point) in the field's display format.
QString Shown(const QString& stored, const Field* field) {
    if (stored.isEmpty()) return {};
    bool number = false;
    const double value = stored.toDouble(&number);
    if (!number) return stored;
    return field && !field->DisplayFormat().isEmpty()
               ? NumericFormat::Parse(field->DisplayFormat()).Format(value)
               : FormatNumber(value);
}

QString Named(const QString& code, const QString& name) {
    return name.isEmpty() ? code : code + QStringLiteral(" - ") + name;
}

QString What(const Record& record, const Field* field) {
    QString what = field ? field->DisplayLabel() : record.Text(F::NMCAMPO);
    if (const QString shift = record.Text(F::CDTURNO); !shift.isEmpty())
        what = QStringLiteral("Turno %1: %2").arg(Named(shift, record.Text(F::NMTURNO)), what);
    else if (const QString item = record.Text(F::CDITEMRATEIOEFET); !item.isEmpty())
        what = QStringLiteral("Rateio %1: %2")
                   .arg(Named(item, record.Text(F::NMITEMRATEIOEFET)), what);
    const QString method = record.Text(F::NMMETODO);
    if (method == QLatin1String("UpDateServData"))
        what += QStringLiteral(" (duplicação)");
    else if (method == QLatin1String("ImportaEfetTrans"))
        what += QStringLiteral(" (importação)");
    return what;
}

}  // namespace

std::vector<HistoryLine> HistoryLines(const DataPacket& records,
                                      std::initializer_list<const ClientDataSet*> screenData) {
    std::vector<HistoryLine> lines;
    lines.reserve(records.rows.size());
    for (const PacketRow& row : records.rows) {
        const Record record(records, row);
        const Field* field = ScreenField(record.Text(F::NMCAMPO), screenData);
        const QString machine = record.Text(F::NMMAQUINA);
        const QString operation = record.Text(F::IDOPERACAO);
        lines.push_back(
            {QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(record.Number(F::DTHRALTERACAO)))
                 .toLocalTime()
                 .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
             record.Text(F::NMUSUARIO) +
                 (machine.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(machine)),
             What(record, field), Shown(record.Text(F::VLANTERIOR), field),
             operation == QLatin1String("E") ? QStringLiteral("(excluído)")
                                             : Shown(record.Text(F::VLNOVO), field)});
    }
    return lines;
}

}  // namespace fai
