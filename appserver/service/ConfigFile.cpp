#include "ConfigFile.h"

#include "Errors.h"

#include <QFile>

#include <optional>

namespace fai::appserver {
namespace {

const QCommandLineOption* Named(const QList<QCommandLineOption>& options, const QString& name) {
    for (const QCommandLineOption& option : options)
        if (option.names().contains(name) && name.size() > 1) return &option;
    return nullptr;
}

std::optional<bool> YesOrNo(const QString& text) {
    const QString word = text.toLower();
    if (word == u"sim" || word == u"true" || word == u"1") return true;
    if (word == u"não" || word == u"nao" || word == u"false" || word == u"0") return false;
    return std::nullopt;
}

}  // namespace

QStringList ConfigFileArguments(const QString& path, const QList<QCommandLineOption>& options) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EError(QStringLiteral("Não foi possível ler o arquivo de configuração %1: %2.")
                         .arg(path, file.errorString()));
    QStringList arguments;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const auto fault = [&](const QString& why) {
            return EError(QStringLiteral("%1, linha %2: %3").arg(path).arg(lineNumber).arg(why));
        };
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) throw fault(QStringLiteral("use NOME = VALOR."));
        const QString name = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        const QCommandLineOption* option = Named(options, name);
        if (!option) throw fault(QStringLiteral("opção desconhecida \"%1\".").arg(name));
        if (!option->valueName().isEmpty()) {
            arguments << QStringLiteral("--%1=%2").arg(name, value);
            continue;
        }
        const std::optional<bool> on = YesOrNo(value);
        if (!on) throw fault(QStringLiteral("%1 aceita sim ou não.").arg(name));
        if (*on) arguments << QStringLiteral("--") + name;
    }
    return arguments;
}

}  // namespace fai::appserver
