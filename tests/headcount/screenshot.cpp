// Makes the picture of the headcount screen that the README shows, from the real program:
// the application server in-process over its demo data on a temporary SQLite file, the
// host's start-up steps and main window, and the module's screen filled in by service and
// loaded, on the offscreen platform.
//
//     headcount_screenshot docs/images/headcount.png
#include "Cli_fai00400.h"
#include "DialogService.h"
#include "HostApplication.h"
#include "HostSession.h"
#include "HostStartup.h"
#include "MainWindow.h"
#include "Pkg_fai00400.h"
#include "RunningServer.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"
#include "TestSeed.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace fai;

namespace {

// The demo client shown: a company with lunch compared with the catering planning.
const QString kTradeName = QStringLiteral("Metalvale");
const QString kLunch = QStringLiteral("00001");

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void TypeInto(TMaskEdit* box, const QString& text) {
    box->setFocus();
    box->SetText(text);
}

int Fail(const QString& why) {
    std::fprintf(stderr, "headcount_screenshot: %s\n", qPrintable(why));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The default layout, not one a user of this machine left.
    QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", userConfig.path().toUtf8());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves a picture of the headcount screen with demo data."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("png"), QStringLiteral("The picture to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) parser.showHelp(1);
    const QString output = parser.positionalArguments().front();

    QStringList shown;
    DialogService::Instance().SetMessageScript([&shown](const ShownMessage& message) {
        shown << message.text;
        return int(mrOk);
    });
    try {
        QTemporaryDir dir;
        const QString database =
            QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.sqlite"));
        const DatabaseLocation location = DatabaseLocation::Parse(database);
        appserver::test::RunningServer server(location, true);
        const QList<QVariantList> clients = appserver::test::TestSeed(location).Rows(
            QStringLiteral("SELECT NRINSJURCLIE FROM CLIENTE WHERE NMFANTCLIE = ?"), {kTradeName});
        if (clients.isEmpty())
            return Fail(QStringLiteral("the demo data has no %1").arg(kTradeName));

        HostSettings settings;
        settings.branch = QStringLiteral("0001");
        settings.serverPort = server.Port();
        HostSession session(settings);
        HostStartup::Run(settings, session);
        Initialize();
        // The host's window at a common desktop size, so that the picture shows what a clerk
        // sees on opening the screen.
        MainWindow window([] {});
        window.resize(1280, 800);
        window.show();
        HostApplication::Instance().SetMainForm(&window, window.DocumentArea());
        ::CriaEfetFatur();
        TfrmEfetFatur& screen = *frmEfetFatur;
        QApplication::setActiveWindow(&screen);
        Settle();

        TypeInto(screen.medCdCliente, clients.front().front().toString());
        screen.cbbEfetivos->setFocus();
        screen.cbbEfetivos->setCurrentIndex(1);
        TypeInto(screen.medCdServico, kLunch);
        screen.dbgServico->setFocus();
        // The latest days, as the clerk sees them after moving to the end of the month.
        screen.cdsEfetFatu.Last();
        screen.dbgServico->SetSelectedIndex(IndiceCol(screen.dbgServico, "QTCOMEFATU"));
        Settle();
        if (!shown.isEmpty()) return Fail(QStringLiteral("the screen said: ") + shown.join(" / "));
        if (screen.cdsEfetFatu.IsEmpty()) return Fail(QStringLiteral("no rows were loaded"));

        QDir().mkpath(QFileInfo(output).absolutePath());
        if (!window.grab().save(output))
            return Fail(QStringLiteral("could not write %1").arg(output));
        delete frmEfetFatur.data();
        HostApplication::Instance().SetMainForm(nullptr, nullptr);
        Finalize();
    } catch (const std::exception& e) {
        return Fail(QString::fromUtf8(e.what()));
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}
