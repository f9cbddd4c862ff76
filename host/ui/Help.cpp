#include "Help.h"

#include "DialogService.h"
#include "InstallLayout.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace fai {
namespace {

QString& ChosenDirectory() {
    static QString directory;
    return directory;
}

}  // namespace

void SetHelpDirectory(const QString& directory) { ChosenDirectory() = directory; }

QString HelpDirectory() {
    if (!ChosenDirectory().isEmpty()) return ChosenDirectory();
    const QString fromEnvironment = qEnvironmentVariable("FAI_HELP_DIR");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    return InstalledDataFolder(QStringLiteral("help"), QStringLiteral(FAI_DEFAULT_HELP_DIR));
}

QString HelpPagePath(const QString& helpFile, int context) {
    // Only the base name counts, so a help file name cannot point outside the directory.
    const QString book = QFileInfo(helpFile).completeBaseName();
    return QDir(HelpDirectory())
        .filePath(book + QLatin1Char('/') + QString::number(context) + QStringLiteral(".html"));
}

void ShowHelp(const QString& helpFile, int context) {
    const QString path = HelpPagePath(helpFile, context);
    if (QFileInfo(helpFile).completeBaseName().isEmpty() || !QFileInfo::exists(path)) {
        DialogService::Instance().Message(
            DialogKind::Warning,
            QStringLiteral("Não há página de ajuda para o contexto %1 de \"%2\".")
                .arg(context)
                .arg(helpFile),
            mbOk);
        return;
    }
    QDialog window(QApplication::activeWindow());
    window.setObjectName(QStringLiteral("frmAjuda"));
    window.setWindowTitle(QStringLiteral("Ajuda"));
    window.resize(640, 480);
    auto* browser = new QTextBrowser(&window);
    browser->setObjectName(QStringLiteral("txbAjuda"));
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(path));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(browser);
    DialogService::Instance().ExecModal(window);
}

}  // namespace fai
