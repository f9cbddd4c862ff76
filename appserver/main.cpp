// fai-appserver: serves "Fai00400.rdmEfetFatur" until SIGINT or SIGTERM.
#include "AppServer.h"
#include "CallLog.h"
#include "Errors.h"
#include "HealthProbe.h"
#include "HistoryExport.h"
#include "RotatingLogFile.h"
#include "ServerOptions.h"
#include "SqliteCopies.h"
#include "UserCommands.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <memory>

#include <pthread.h>

int main(int argc, char* argv[]) {
    using fai::appserver::HistoryExport;
    using fai::appserver::UserCommands;
    // The administration of users and the export of the history are commands that end, where
    // Ctrl+C must work as usual.
    if (UserCommands::Asked(argc, argv) || HistoryExport::Asked(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("fai-appserver"));
        return UserCommands::Asked(argc, argv) ? UserCommands::Run(QCoreApplication::arguments())
                                               : HistoryExport::Run(QCoreApplication::arguments());
    }

    // Blocked before any thread starts, so every thread inherits the mask and the signals
    // reach only the sigwait below: the shutdown then runs in ordinary code, not in a
    // signal handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fai-appserver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FAI_VERSION));

    using fai::appserver::ServerOptions;
    try {
        ServerOptions options;
        switch (options.Parse(QCoreApplication::arguments())) {
            case ServerOptions::Action::ShowHelp:
                std::printf("%s", options.HelpText().toUtf8().constData());
                return 0;
            case ServerOptions::Action::ShowVersion:
                std::printf("fai-appserver %s\n", FAI_VERSION);
                return 0;
            case ServerOptions::Action::ProbeHealth: {
                const auto answer =
                    fai::appserver::ProbeHealth(options.HealthAddress(), std::chrono::seconds(5));
                std::printf("%s\n", answer.said.toUtf8().constData());
                return answer.serving ? 0 : 1;
            }
            case ServerOptions::Action::BackUp:
                fai::appserver::BackUpSqlite(options.Config().database, options.CopyPath());
                std::printf("cópia de segurança gravada em %s\n",
                            options.CopyPath().toUtf8().constData());
                return 0;
            case ServerOptions::Action::Restore:
                fai::appserver::RestoreSqlite(options.CopyPath(), options.Config().database);
                std::printf("%s restaurado de %s\n",
                            options.Config().database.path.toUtf8().constData(),
                            options.CopyPath().toUtf8().constData());
                return 0;
            case ServerOptions::Action::Run:
                break;
        }
        using fai::appserver::CallLog;
        using fai::appserver::RotatingLogFile;
        const fai::appserver::LogSettings& file = options.Log();
        CallLog log = file.path.isEmpty()
                          ? CallLog()
                          : CallLog([written = std::make_shared<RotatingLogFile>(
                                         file.path, file.maxBytes, file.kKept)](
                                        const QString& line) { written->Write(line); });
        fai::appserver::AppServer server(options.Config(), log);
        server.Start();
        int received = 0;
        sigwait(&stopSignals, &received);
        log.Note(QStringLiteral("sinal %1 recebido: encerrando").arg(received));
        server.Shutdown();
        return 0;
    } catch (const fai::EError& e) {
        std::fprintf(stderr, "fai-appserver: %s\n", e.Message().toUtf8().constData());
        return 1;
    }
}
