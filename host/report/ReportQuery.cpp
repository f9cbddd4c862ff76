#include "ReportQuery.h"

#include "GeneralData.h"
#include "SqlStatement.h"

#include <optional>

namespace fai {
namespace {

constexpr int kProgressEvery = 500;

}  // namespace

ReportTable RunReportQuery(const ReportDefinition& definition, const ReportParams& params,
                           ReportProgress& progress) {
    const QString report = ReportLabel(definition);
    const SqlStatement statement = SqlStatement::Parse(definition.sql);
    if (!statement.IsSingleSelect())
        throw EError(QStringLiteral("A consulta do relatório %1 só pode ler dados: use um "
                                    "único SELECT.")
                         .arg(report));
    std::vector<const ReportParam*> bound;
    std::vector<int> placeholders;
    for (const QString& name : statement.Names()) {
        const ReportParam& param = params.ParamByName(name);
        if (!param.Assigned())
            throw EError(QStringLiteral("O parâmetro '%1' do relatório %2 não recebeu valor.")
                             .arg(param.Name(), report));
        bound.push_back(&param);
        placeholders.push_back(int(param.Values().size()));
    }
    std::vector<Value> values;
    for (int place : statement.Places())
        for (const Value& value : bound[std::size_t(place)]->Values()) values.push_back(value);

    const QString reading = QStringLiteral("Lendo os dados");
    progress.Step(reading, 0, 0);
    std::optional<ReportTable> table;
    int rows = 0;
    // The server names the query in its refusals as it is named here.
    const QString name = QStringLiteral("%1 (%2)").arg(definition.title, definition.code);
    dtmDBGeral().Read(name, statement.Bound(placeholders), values, [&](DataPacket& part) {
        if (!table) {
            QStringList columns;
            for (const FieldDef& field : part.fields) columns << field.name;
            table.emplace(columns);
        }
        for (PacketRow& row : part.rows) {
            table->AppendRow(row.values);
            if (++rows % kProgressEvery == 0) progress.Step(reading, rows, 0);
        }
    });
    return std::move(*table);
}

}  // namespace fai
