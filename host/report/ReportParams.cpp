#include "ReportParams.h"

#include "SelectionKeys.h"
#include "ValueConversion.h"

namespace fai {
namespace {

QString TypeWord(ParamType type) {
    switch (type) {
        case ParamType::Text:
            return QStringLiteral("texto");
        case ParamType::Date:
            return QStringLiteral("data");
        case ParamType::Number:
            return QStringLiteral("número");
        case ParamType::List:
            return QStringLiteral("lista");
    }
    return {};
}

}  // namespace

QString ReportLabel(const ReportDefinition& definition) {
    return QStringLiteral("'%1' (%2)").arg(definition.title, definition.code);
}

EParamNotFound::EParamNotFound(const QString& parameter, const QString& report)
    : EError(QStringLiteral("O parâmetro '%1' não foi encontrado no relatório %2.")
                 .arg(parameter, report)) {}

ReportParam::ReportParam(ReportParameter declaration, QString report)
    : declaration_(std::move(declaration)), report_(std::move(report)) {}

void ReportParam::Assign(const Value& value) {
    std::vector<Value> values;
    try {
        switch (declaration_.type) {
            case ParamType::Text:
                values.push_back(value.IsNull() ? value : Value(TextOf(value)));
                break;
            case ParamType::Date:
                values.push_back(Coerce(value, FieldType::DateTime, 0, Name()));
                break;
            case ParamType::Number:
                values.push_back(Coerce(value, FieldType::Float, 0, Name()));
                break;
            case ParamType::List:
                for (const QString& key : SplitKeys(value.IsNull() ? QString() : TextOf(value)))
                    values.emplace_back(key);
                if (values.empty()) values.emplace_back();
                break;
        }
    } catch (const EError&) {
        throw EError(QStringLiteral("O valor \"%1\" não serve para o parâmetro '%2' (%3) do "
                                    "relatório %4.")
                         .arg(TextOf(value), Name(), TypeWord(Type()), report_));
    }
    values_ = std::move(values);
    assigned_ = true;
}

ReportParams::ReportParams(const ReportDefinition& definition) : report_(ReportLabel(definition)) {
    for (const ReportParameter& declaration : definition.parameters)
        params_.push_back(std::make_unique<ReportParam>(declaration, report_));
}

bool ReportParams::ExistParam(const QString& name) const { return Find(name) != nullptr; }

ReportParam& ReportParams::ParamByName(const QString& name) {
    if (ReportParam* param = Find(name)) return *param;
    throw EParamNotFound(name, report_);
}

const ReportParam& ReportParams::ParamByName(const QString& name) const {
    if (const ReportParam* param = Find(name)) return *param;
    throw EParamNotFound(name, report_);
}

ReportParam* ReportParams::Find(const QString& name) const {
    for (const auto& param : params_) {
        if (param->Name().compare(name, Qt::CaseInsensitive) == 0) return param.get();
    }
    return nullptr;
}

}  // namespace fai
