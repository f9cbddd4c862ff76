#include "TADOIBQuery.h"

#include "Errors.h"
#include "ValueConversion.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace fai {
namespace {

FieldDef InferDefinition(const QString& name, const QMetaType& type,
                         const std::vector<std::vector<QVariant>>& rows, int column) {
    if (IsSqlNumber(type)) return {name, FieldType::Float};
    if (IsSqlDate(type)) return {name, FieldType::DateTime};
    int size = 1;
    for (const auto& row : rows)
        size = std::max(size, int(row[std::size_t(column)].toString().size()));
    return {name, FieldType::String, size};
}

}  // namespace

QString QueryParam::AsString() const { return TextOf(value_); }

TADOIBQuery::TADOIBQuery(QString name, QString connection)
    : name_(std::move(name)), connection_(std::move(connection)), dataSet_(name_) {}

void TADOIBQuery::SetSQL(const QStringList& lines) { SetSQL(lines.join(QLatin1Char('\n'))); }

void TADOIBQuery::SetSQL(const QString& text) {
    Close();
    sql_ = text;
    statement_ = SqlStatement::Parse(text);
    params_.clear();
    for (const QString& name : statement_.Names())
        params_.push_back(std::make_unique<QueryParam>(name));
}

QueryParam& TADOIBQuery::ParamByName(const QString& name) {
    for (const auto& param : params_) {
        if (param->Name().compare(name, Qt::CaseInsensitive) == 0) return *param;
    }
    throw EError(QStringLiteral("A consulta '%1' não tem o parâmetro '%2'.").arg(Label(), name));
}

void TADOIBQuery::Open() {
    Close();
    if (!statement_.IsSingleSelect())
        throw EError(
            QStringLiteral("A consulta '%1' só pode ler dados: use um único SELECT.").arg(Label()));
    for (const auto& param : params_) {
        if (!param->Assigned())
            throw EError(QStringLiteral("O parâmetro '%1' da consulta '%2' não recebeu valor.")
                             .arg(param->Name(), Label()));
    }
    const QSqlDatabase database = QSqlDatabase::database(connection_, true);
    if (!database.isValid())
        throw EError(QStringLiteral("A conexão '%1' da consulta '%2' não foi configurada.")
                         .arg(connection_, Label()));
    if (!database.isOpen()) Fail(database.lastError().text());

    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(statement_.Bound())) Fail(query.lastError().text());
    for (int param : statement_.Places())
        query.addBindValue(SqlValue(params_[std::size_t(param)]->AsValue()));
    if (!query.exec()) Fail(query.lastError().text());

    const QSqlRecord record = query.record();
    std::vector<std::vector<QVariant>> rows;
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(std::size_t(record.count()));
        for (int column = 0; column < record.count(); ++column) row.push_back(query.value(column));
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid()) Fail(query.lastError().text());

    DataPacket packet;
    for (int column = 0; column < record.count(); ++column) {
        const QString name = record.fieldName(column);
        const Field* declared = dataSet_.FindField(name);
        packet.fields.push_back(
            declared && !declared->IsCalculated()
                ? declared->Definition()
                : InferDefinition(name, record.field(column).metaType(), rows, column));
    }
    packet.rows.reserve(rows.size());
    for (const auto& raw : rows) {
        PacketRow row;
        row.values.reserve(raw.size());
        for (std::size_t column = 0; column < raw.size(); ++column) {
            const QVariant& cell = raw[column];
            const FieldDef& def = packet.fields[column];
            if (cell.isNull()) {
                row.values.emplace_back();
            } else if (def.type == FieldType::DateTime && IsSqlDate(cell.metaType())) {
                row.values.emplace_back(cell.toDate());
            } else if (def.type == FieldType::DateTime) {
                const QDate day = QDate::fromString(cell.toString().left(10), Qt::ISODate);
                if (!day.isValid())
                    Fail(QStringLiteral("a coluna '%1' não traz uma data: '%2'")
                             .arg(def.name, cell.toString()));
                row.values.emplace_back(day);
            } else if (def.type == FieldType::Float) {
                bool number = false;
                const double value = cell.toDouble(&number);
                if (!number)
                    Fail(QStringLiteral("a coluna '%1' não traz um número: '%2'")
                             .arg(def.name, cell.toString()));
                row.values.emplace_back(value);
            } else {
                row.values.emplace_back(cell.toString());
            }
        }
        packet.rows.push_back(std::move(row));
    }
    dataSet_.SetData(std::move(packet));
}

QString TADOIBQuery::Label() const { return name_.isEmpty() ? QStringLiteral("sem nome") : name_; }

void TADOIBQuery::Fail(const QString& message) {
    throw EError(QStringLiteral("Erro na consulta '%1': %2").arg(Label(), message));
}

}  // namespace fai
