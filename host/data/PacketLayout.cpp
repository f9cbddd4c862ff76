#include "PacketLayout.h"

#include "Errors.h"
#include "FieldNameIndex.h"

namespace fai {
namespace {

class LayoutError {
  public:
    explicit LayoutError(const QString& dataSet) : dataSet_(dataSet) {}

    [[noreturn]] void Fail(const QString& what) const {
        throw EError(QStringLiteral("Pacote de dados inválido para '%1': %2.").arg(dataSet_, what));
    }

  private:
    QString dataSet_;
};

bool KindMatches(const Value& value, FieldType type) {
    switch (type) {
        case FieldType::String:
            return value.IsText();
        case FieldType::Float:
            return value.IsNumber();
        case FieldType::DateTime:
            return value.IsDate() && value.Date().isValid();
    }
    return false;
}

FieldNameIndex IndexColumns(const DataPacket& packet, const LayoutError& error) {
    FieldNameIndex index;
    for (std::size_t i = 0; i < packet.fields.size(); ++i) {
        const FieldDef& def = packet.fields[i];
        if (def.name.isEmpty()) error.Fail(QStringLiteral("coluna sem nome"));
        if (!index.Add(def.name, static_cast<int>(i)))
            error.Fail(QStringLiteral("a coluna '%1' aparece mais de uma vez").arg(def.name));
    }
    return index;
}

PacketLayout MapOntoFields(const DataPacket& packet, const std::vector<FieldDef>& persistent,
                           const LayoutError& error) {
    const FieldNameIndex index = IndexColumns(packet, error);
    PacketLayout layout;
    layout.columns = persistent;
    layout.target.assign(packet.fields.size(), -1);
    for (std::size_t f = 0; f < persistent.size(); ++f) {
        const int column = index.Find(persistent[f].name);
        if (column < 0) error.Fail(QStringLiteral("falta o campo '%1'").arg(persistent[f].name));
        const FieldDef& def = packet.fields[std::size_t(column)];
        if (def.type != persistent[f].type)
            error.Fail(QStringLiteral("o campo '%1' vem como %2 e é %3")
                           .arg(persistent[f].name, FieldTypeName(def.type),
                                FieldTypeName(persistent[f].type)));
        layout.target[std::size_t(column)] = static_cast<int>(f);
    }
    for (std::size_t column = 0; column < packet.fields.size(); ++column) {
        if (layout.target[column] >= 0) continue;
        layout.target[column] = static_cast<int>(layout.columns.size());
        layout.columns.push_back(packet.fields[column]);
    }
    return layout;
}

PacketLayout TakeColumns(const DataPacket& packet, const LayoutError& error) {
    IndexColumns(packet, error);
    PacketLayout layout;
    layout.columns = packet.fields;
    for (std::size_t column = 0; column < packet.fields.size(); ++column)
        layout.target.push_back(static_cast<int>(column));
    return layout;
}

void CheckSizes(const PacketLayout& layout, const LayoutError& error) {
    for (const FieldDef& column : layout.columns) {
        if (column.type == FieldType::String && column.size < 1)
            error.Fail(QStringLiteral("tamanho inválido na coluna '%1'").arg(column.name));
    }
}

void CheckRows(const DataPacket& packet, const PacketLayout& layout, const LayoutError& error) {
    for (std::size_t r = 0; r < packet.rows.size(); ++r) {
        const PacketRow& row = packet.rows[r];
        const auto rowNumber = static_cast<qulonglong>(r + 1);
        if (row.change != RowChange::Unchanged || !row.original.empty())
            error.Fail(QStringLiteral("a linha %1 traz alterações pendentes").arg(rowNumber));
        if (row.values.size() != packet.fields.size())
            error.Fail(QStringLiteral("a linha %1 tem %2 valores para %3 colunas")
                           .arg(rowNumber)
                           .arg(row.values.size())
                           .arg(packet.fields.size()));
        for (std::size_t c = 0; c < row.values.size(); ++c) {
            const Value& value = row.values[c];
            if (value.IsNull()) continue;
            const FieldDef& column = layout.columns[std::size_t(layout.target[c])];
            if (!KindMatches(value, column.type))
                error.Fail(QStringLiteral("valor inválido na coluna '%1' da linha %2")
                               .arg(column.name)
                               .arg(rowNumber));
            if (value.IsText() && value.Text().size() > column.size)
                error.Fail(
                    QStringLiteral("texto maior que %1 caracteres na coluna '%2' da linha %3")
                        .arg(column.size)
                        .arg(column.name)
                        .arg(rowNumber));
        }
    }
}

}  // namespace

PacketLayout PlanPacketLayout(const DataPacket& packet, const std::vector<FieldDef>& persistent,
                              const QString& dataSet) {
    const LayoutError error(dataSet);
    PacketLayout layout =
        persistent.empty() ? TakeColumns(packet, error) : MapOntoFields(packet, persistent, error);
    CheckSizes(layout, error);
    CheckRows(packet, layout, error);
    layout.source.assign(layout.target.size(), 0);
    for (std::size_t column = 0; column < layout.target.size(); ++column)
        layout.source[std::size_t(layout.target[column])] = static_cast<int>(column);
    return layout;
}

}  // namespace fai
