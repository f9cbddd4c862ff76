#include "ReportQuery.h"

#include "SqlStatement.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace fai {
namespace {

constexpr int kProgressEvery = 500;

Value FromVariant(const QVariant& cell) {
    if (cell.isNull()) return Value();
    if (IsSqlNumber(cell.metaType())) return Value(cell.toDouble());
    if (cell.metaType().id() == QMetaType::QDateTime) return Value(cell.toDateTime().date());
    if (cell.metaType().id() == QMetaType::QDate) return Value(cell.toDate());
    return Value(cell.toString());
}

}  // namespace

ReportTable RunReportQuery(const ReportDefinition& definition, const ReportParams& params,
                           ReportProgress& progress, const QString& connection) {
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

    const auto fail = [&report](const QString& why) {
        throw EError(QStringLiteral("Erro ao ler os dados do relatório %1: %2").arg(report, why));
    };
    const QSqlDatabase database = QSqlDatabase::database(connection, true);
    if (!database.isValid())
        fail(QStringLiteral("a conexão '%1' com o banco de dados não foi configurada.")
                 .arg(connection));
    if (!database.isOpen()) fail(database.lastError().text());

    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(statement.Bound(placeholders))) fail(query.lastError().text());
    for (int place : statement.Places()) {
        for (const Value& value : bound[std::size_t(place)]->Values())
            query.addBindValue(SqlValue(value));
    }
    const QString reading = QStringLiteral("Lendo os dados");
    progress.Step(reading, 0, 0);
    if (!query.exec()) fail(query.lastError().text());

    const QSqlRecord record = query.record();
    QStringList columns;
    for (int column = 0; column < record.count(); ++column) columns << record.fieldName(column);
    ReportTable table(columns);
    std::vector<Value> row;
    row.reserve(std::size_t(record.count()));
    int rows = 0;
    while (query.next()) {
        for (int column = 0; column < record.count(); ++column)
            row.push_back(FromVariant(query.value(column)));
        table.AppendRow(row);
        if (++rows % kProgressEvery == 0) progress.Step(reading, rows, 0);
    }
    if (query.lastError().isValid()) fail(query.lastError().text());
    return table;
}

}  // namespace fai
