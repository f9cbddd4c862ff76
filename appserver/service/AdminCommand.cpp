#include "AdminCommand.h"

#include "Errors.h"

#include <QFileInfo>

#include <cstdio>

namespace fai::appserver::admin {

bool Asked(int argc, char* argv[], const QString& command) {
    return argc > 1 && QString::fromLocal8Bit(argv[1]) == command;
}

QCommandLineOption DatabaseOption() {
    return QCommandLineOption({QStringLiteral("d"), QStringLiteral("database")},
                              QStringLiteral("Banco de dados do servidor (padrão %1).")
                                  .arg(DatabaseLocation::DefaultText()),
                              QStringLiteral("banco"), DatabaseLocation::DefaultText());
}

DatabaseLocation ExistingDatabase(const QString& text) {
    const DatabaseLocation location = DatabaseLocation::Parse(text);
    if (location.kind == DatabaseKind::Sqlite && !QFileInfo::exists(location.path))
        throw EError(QStringLiteral("Banco de dados não encontrado: %1. Inicie o fai-appserver "
                                    "uma vez, que o cria, ou informe --database.")
                         .arg(location.path));
    return location;
}

int Run(const std::function<int()>& command) {
    try {
        return command();
    } catch (const EError& e) {
        std::fprintf(stderr, "fai-appserver: %s\n", e.Message().toUtf8().constData());
        return 1;
    }
}

}  // namespace fai::appserver::admin
