#include "ReportCatalog.h"

#include "BrazilianText.h"
#include "Errors.h"
#include "InstallLayout.h"
#include "ReportFile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace fai {
namespace {

struct ChosenFolders {
    QString installed;
    QString site;
    QString user;
};

ChosenFolders& Chosen() {
    static ChosenFolders folders;
    return folders;
}

// A file name that says what the report is: "Fai004-minha-listagem.xml".
QString FileNameFor(const QString& code, const QString& title) {
    QString slug;
    for (const QChar c : title.normalized(QString::NormalizationForm_KD)) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            slug += c.toLower();
        else if (!slug.isEmpty() && !slug.endsWith(QLatin1Char('-')) && !c.isMark())
            slug += QLatin1Char('-');
    }
    while (slug.endsWith(QLatin1Char('-'))) slug.chop(1);
    return code + QLatin1Char('-') + (slug.isEmpty() ? QStringLiteral("relatorio") : slug.left(60));
}

}  // namespace

ReportFolders CurrentReportFolders() {
    ReportFolders folders;
    folders.installed = Chosen().installed;
    if (folders.installed.isEmpty()) folders.installed = qEnvironmentVariable("FAI_REPORT_DIR");
    if (folders.installed.isEmpty())
        folders.installed =
            InstalledDataFolder(QStringLiteral("reports"), QStringLiteral(FAI_DEFAULT_REPORT_DIR));
    folders.site = Chosen().site;
    folders.user = Chosen().user;
    if (folders.user.isEmpty())
        folders.user = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                           .filePath(QStringLiteral("relatorios"));
    return folders;
}

void SetInstalledReportFolder(const QString& folder) { Chosen().installed = folder; }
void SetSiteReportFolder(const QString& folder) { Chosen().site = folder; }
void SetUserReportFolder(const QString& folder) { Chosen().user = folder; }

ReportCatalog ReportCatalog::Scan(const ReportFolders& folders, const QString& code) {
    ReportCatalog catalog;
    catalog.code_ = code;
    catalog.ScanFolder(folders.installed, ReportOrigin::Installed);
    catalog.ScanFolder(folders.site, ReportOrigin::Site);
    catalog.ScanFolder(folders.user, ReportOrigin::User);
    // Titles in the order a Brazilian reader expects, whatever the machine's locale.
    QCollator collator(BrazilianLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(catalog.entries_.begin(), catalog.entries_.end(),
                     [&collator](const ReportEntry& a, const ReportEntry& b) {
                         if (a.origin != b.origin) return a.origin < b.origin;
                         return collator.compare(a.title, b.title) < 0;
                     });
    return catalog;
}

void ReportCatalog::ScanFolder(const QString& folder, ReportOrigin origin) {
    if (folder.isEmpty()) return;
    const QDir dir(folder);
    // The same folder named twice (the site's set to the installed one) lists its files once.
    const QString canonical = dir.canonicalPath();
    if (canonical.isEmpty() || scanned_.contains(canonical)) return;
    scanned_ << canonical;
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : files) {
        try {
            const ReportDefinition definition = ReadReportFile(file.absoluteFilePath());
            if (definition.code.compare(code_, Qt::CaseInsensitive) != 0) continue;
            entries_.push_back(
                {file.absoluteFilePath(), definition.code, definition.title, origin});
        } catch (const EError& e) {
            problems_ << e.Message();
        }
    }
}

bool ReportCatalog::HasTitle(const QString& title) const {
    const QString wanted = title.trimmed();
    return std::any_of(entries_.begin(), entries_.end(), [&wanted](const ReportEntry& entry) {
        return entry.title.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
    });
}

int ReportCatalog::IndexOfPath(const QString& path) const {
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].path == wanted) return int(i);
    }
    return -1;
}

void CheckNewReportTitle(const ReportCatalog& catalog, const QString& title) {
    const QString newTitle = title.trimmed();
    if (newTitle.isEmpty()) throw EError(QStringLiteral("Informe o título do relatório."));
    if (catalog.HasTitle(newTitle))
        throw EError(QStringLiteral("Já existe um relatório \"%1\" de código %2: informe outro "
                                    "título.")
                         .arg(newTitle, catalog.Code()));
}

QString SaveReportCopy(const ReportCatalog& catalog, const ReportEntry& source,
                       const QString& title, const QString& userFolder) {
    return SaveReportCopy(catalog, ReadReportFile(source.path), title, userFolder);
}

QString SaveReportCopy(const ReportCatalog& catalog, ReportDefinition definition,
                       const QString& title, const QString& userFolder) {
    CheckNewReportTitle(catalog, title);
    const QString newTitle = title.trimmed();
    definition.title = newTitle;
    const QDir folder(userFolder);
    if (!folder.mkpath(QStringLiteral(".")))
        throw EError(
            QStringLiteral("Não foi possível criar a pasta de relatórios '%1'.").arg(userFolder));
    const QString base = FileNameFor(definition.code, newTitle);
    QString path = folder.absoluteFilePath(base + QStringLiteral(".xml"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.absoluteFilePath(QStringLiteral("%1-%2.xml").arg(base).arg(n));
    SaveReportFile(definition, path);
    return path;
}

}  // namespace fai
