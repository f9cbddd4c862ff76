#include "DialogService.h"
#include "Errors.h"
#include "EventGuard.h"
#include "HostApplication.h"
#include "HostSession.h"
#include "HostSettings.h"
#include "HostStartup.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "SharedDatabase.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// A start that cannot go on is said on the terminal and, where there is a screen, in a box.
int FailStart(const QString& message, int exitCode) {
    std::fprintf(stderr, "fai-host: %s\n", qPrintable(message));
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
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
    QApplication app(argc, argv);
    Identify();

    fai::HostSettings settings;
    std::unique_ptr<fai::HostSession> session;
    try {
        settings = fai::HostSettings::FromCommandLine(app.arguments());
        session = std::make_unique<fai::HostSession>(settings);
        fai::HostStartup::Run(settings, *session);
    } catch (const fai::EAbort&) {
        return 2;  // the user gave up the sign-in: nothing to tell them
    } catch (const fai::EError& e) {
        return FailStart(e.Message(), 2);
    }

    fai::ModuleLoader module;
    try {
        module.Load(settings.modulePath);
    } catch (const fai::EError& e) {
        return FailStart(e.Message(), 3);
    }

    int exitCode = 0;
    {
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
    fai::UnregisterSharedDatabase();
    return exitCode;
}
