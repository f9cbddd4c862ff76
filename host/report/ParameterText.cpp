#include "ParameterText.h"

#include "Errors.h"

#include <QRegularExpression>

#include <array>
#include <optional>

namespace fai {
namespace {

// The words of each type, the first of a type the one written; the file's own names are read
// too.
struct TypeWord {
    const char* word;
    ParamType type;
};
constexpr std::array<TypeWord, 9> kTypeWords{{{"texto", ParamType::Text},
                                              {"text", ParamType::Text},
                                              {"data", ParamType::Date},
                                              {"date", ParamType::Date},
                                              {"número", ParamType::Number},
                                              {"numero", ParamType::Number},
                                              {"number", ParamType::Number},
                                              {"lista", ParamType::List},
                                              {"list", ParamType::List}}};

QString WordOf(ParamType type) {
    for (const TypeWord& entry : kTypeWords) {
        if (entry.type == type) return QString::fromUtf8(entry.word);
    }
    return {};
}

std::optional<ParamType> TypeNamed(const QString& word) {
    for (const TypeWord& entry : kTypeWords) {
        if (word.compare(QString::fromUtf8(entry.word), Qt::CaseInsensitive) == 0)
            return entry.type;
    }
    return std::nullopt;
}

}  // namespace

QString FormatParameters(const std::vector<ReportParameter>& parameters) {
    QString text;
    for (const ReportParameter& parameter : parameters)
        text += parameter.name + QLatin1Char(' ') + WordOf(parameter.type) + QLatin1Char('\n');
    return text;
}

std::vector<ReportParameter> ParseParameters(const QString& text) {
    static const QRegularExpression line(
        QStringLiteral("^\\s*([^\\s:]+)\\s*(?::\\s*)?(\\S*)\\s*$"));
    std::vector<ReportParameter> parameters;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        if (lines[n].trimmed().isEmpty()) continue;
        const QRegularExpressionMatch match = line.match(lines[n]);
        if (!match.hasMatch())
            throw EError(QStringLiteral("Linha %1 dos parâmetros: escreva o nome e o tipo, como "
                                        "\"P_CDFILIAL texto\".")
                             .arg(n + 1));
        ReportParameter parameter;
        parameter.name = match.captured(1);
        const QString word = match.captured(2);
        if (!word.isEmpty()) {
            const std::optional<ParamType> type = TypeNamed(word);
            if (!type)
                throw EError(QStringLiteral("Linha %1 dos parâmetros: tipo \"%2\" desconhecido; "
                                            "use texto, data, número ou lista.")
                                 .arg(n + 1)
                                 .arg(word));
            parameter.type = *type;
        }
        parameters.push_back(parameter);
    }
    return parameters;
}

}  // namespace fai
