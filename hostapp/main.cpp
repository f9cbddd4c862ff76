#include "DialogService.h"
#include "Errors.h"
#include "EventGuard.h"
#include "GeneralData.h"
#include "HostApplication.h"
#include "HostSession.h"
#include "HostSettings.h"
#include "HostStartup.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "QtTranslations.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// A start that cannot go on is said on the terminal and, where there is a screen and someone
// to read it, in a box.
int FailStart(const QString& message, int exitCode, bool box) {
    std::fprintf(stderr, "fai-host: %s\n", qPrintable(message));
    if (box && QGuiApplication::platformName() != QLatin1String("offscreen"))
        fai::DialogService::Instance().Error(message);
    return exitCode;
}

// Help and version are text for a terminal, which may have no display at all.
bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

// A report is written without any window, on machines without a display too; its options
// given without --report are refused there as well, with a message instead of a missing
// display.
bool AsksForReport(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        for (const char* option :
             {"--report", "--from", "--to", "--clients", "--services", "--title", "--pdf"}) {
            if (argument == option || argument.startsWith(QByteArray(option) + '=')) return true;
        }
    }
    return false;
}

// Nobody is there to answer a box: what would be shown goes to standard error, and any
// question or window is answered with Cancel.
void AnswerNothing() {
    fai::DialogService::Instance().SetMessageScript([](const fai::ShownMessage& message) {
        std::fprintf(stderr, "fai-host: %s\n", qPrintable(message.text));
        return int(fai::mrCancel);
    });
    fai::DialogService::Instance().SetModalScript([](QDialog&) { return int(fai::mrCancel); });
}

int WriteReport(const fai::ModuleLoader& module, const fai::ReportRequest& request) {
    try {
        module.Operation<fai::ReportToPdfOperation>("GeraRelatorioPdf")(request);
    } catch (const fai::EError& e) {
        std::fprintf(stderr, "fai-host: %s\n", qPrintable(e.Message()));
        return 4;
    } catch (const fai::EAbort&) {
        std::fprintf(stderr, "fai-host: o relatório foi interrompido.\n");
        return 4;
    }
    std::printf("fai-host: relatório %s gravado em %s\n", qPrintable(request.code),
                qPrintable(request.pdf));
    return 0;
}

void Identify() {
    QCoreApplication::setApplicationName(QStringLiteral("fai-host"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FAI_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        Identify();
        fai::HostSettings::FromCommandLine(app.arguments());  // prints and exits
        return 0;
    }
    const bool reportOnly = AsksForReport(argc, argv);
    if (reportOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Identify();
    if (!fai::LoadQtTranslations())
        std::fprintf(stderr,
                     "fai-host: as traduções do Qt não foram encontradas; os diálogos "
                     "padrão ficam em inglês (pacote qt6-translations-l10n).\n");
    if (reportOnly) AnswerNothing();

    fai::HostSettings settings;
    std::unique_ptr<fai::HostSession> session;
    try {
        settings = fai::HostSettings::FromCommandLine(app.arguments());
        for (const QString& note : settings.notes)
            std::fprintf(stderr, "fai-host: %s\n", qPrintable(note));
        session = std::make_unique<fai::HostSession>(settings);
        fai::HostStartup::Run(settings, *session);
    } catch (const fai::EAbort&) {
        return 2;  // the user gave up the sign-in: nothing to tell them
    } catch (const fai::EError& e) {
        return FailStart(e.Message(), 2, !reportOnly);
    }

    fai::ModuleLoader module;
    try {
        module.Load(settings.modulePath);
    } catch (const fai::EError& e) {
        return FailStart(e.Message(), 3, !reportOnly);
    }

    int exitCode = 0;
    if (settings.report) {
        exitCode = WriteReport(module, *settings.report);
    } else {
        const auto iniProc = module.Operation<fai::PackageProcedure>("IniProc");
        fai::MainWindow window([iniProc] { iniProc(); });
        fai::HostApplication::Instance().SetMainForm(&window, window.DocumentArea());
        window.ShowAsLeft();
        if (settings.startModule)
            QTimer::singleShot(0, &window, [iniProc] { fai::GuardEvent(iniProc); });
        exitCode = QApplication::exec();
        // The screens are the module's code: they go before the module does.
        window.DocumentArea()->closeAllSubWindows();
        fai::HostApplication::Instance().SetMainForm(nullptr, nullptr);
    }
    module.Unload();
    fai::SetGeneralData(nullptr);
    return exitCode;
}
