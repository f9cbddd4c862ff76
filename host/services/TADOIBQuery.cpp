#include "TADOIBQuery.h"

#include "Errors.h"
#include "GeneralData.h"
#include "ValueConversion.h"

namespace fai {

QString QueryParam::AsString() const { return TextOf(value_); }

TADOIBQuery::TADOIBQuery(QString name) : name_(std::move(name)), dataSet_(name_) {}

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
    std::vector<Value> values;
    for (int param : statement_.Places()) {
        const QueryParam& bound = *params_[std::size_t(param)];
        if (!bound.Assigned())
            throw EError(QStringLiteral("O parâmetro '%1' da consulta '%2' não recebeu valor.")
                             .arg(bound.Name(), Label()));
        values.push_back(bound.AsValue());
    }
    DataPacket result;
    std::vector<bool> declared;  // as the dataset declares it: its definition stands
    std::vector<bool> valued;    // has had a value: its type is settled
    dtmDBGeral().Read(name_, statement_.Bound(), values, [&](DataPacket& part) {
        if (result.fields.empty()) {
            result.fields = Declared(part.fields, declared);
            valued.assign(result.fields.size(), false);
        }
        // Another field is as the server types it, text sized for its longest text; one that
        // held only nulls takes the type of the part in which it has values.
        for (std::size_t i = 0; i < part.fields.size() && i < result.fields.size(); ++i) {
            if (declared[i]) continue;
            FieldDef& field = result.fields[i];
            if (!valued[i])
                field = part.fields[i];
            else if (field.type == FieldType::String)
                field.size = std::max(field.size, part.fields[i].size);
        }
        for (PacketRow& row : part.rows) {
            for (std::size_t i = 0; i < row.values.size() && i < valued.size(); ++i)
                if (!row.values[i].IsNull()) valued[i] = true;
            result.rows.push_back(Converted(result.fields, row));
        }
    });
    dataSet_.SetData(std::move(result));
}

std::vector<FieldDef> TADOIBQuery::Declared(const std::vector<FieldDef>& answered,
                                            std::vector<bool>& declared) const {
    std::vector<FieldDef> fields;
    for (const FieldDef& field : answered) {
        const Field* found = dataSet_.FindField(field.name);
        declared.push_back(found && !found->IsCalculated());
        fields.push_back(declared.back() ? found->Definition() : field);
    }
    return fields;
}

// A value as its declared field takes it: a date read as text becomes the date, a number read
// as text the number, and anything read for a text field its text.
PacketRow TADOIBQuery::Converted(const std::vector<FieldDef>& fields, PacketRow& row) const {
    for (std::size_t column = 0; column < row.values.size() && column < fields.size(); ++column) {
        Value& cell = row.values[column];
        const FieldDef& def = fields[column];
        if (cell.IsNull()) continue;
        if (def.type == FieldType::DateTime && !cell.IsDate()) {
            const QDate day = QDate::fromString(TextOf(cell).left(10), Qt::ISODate);
            if (!day.isValid())
                Fail(QStringLiteral("a coluna '%1' não traz uma data: '%2'")
                         .arg(def.name, TextOf(cell)));
            cell = Value(day);
        } else if (def.type == FieldType::Float && !cell.IsNumber()) {
            bool number = false;
            const double value = TextOf(cell).toDouble(&number);
            if (!number)
                Fail(QStringLiteral("a coluna '%1' não traz um número: '%2'")
                         .arg(def.name, TextOf(cell)));
            cell = Value(value);
        } else if (def.type == FieldType::String && !cell.IsText()) {
            cell = Value(cell.IsDate() ? cell.Date().toString(Qt::ISODate) : TextOf(cell));
        }
    }
    return std::move(row);
}

QString TADOIBQuery::Label() const { return name_.isEmpty() ? QStringLiteral("sem nome") : name_; }

void TADOIBQuery::Fail(const QString& message) const {
    throw EError(QStringLiteral("Erro na consulta '%1': %2").arg(Label(), message));
}

}  // namespace fai
