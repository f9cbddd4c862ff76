#pragma once

#include "ReportDefinition.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace fai {

// Where definitions live: installed with the program, in a folder a site shares (optional)
// and in the user's own folder, where save-as and the designer write.
struct ReportFolders {
    QString installed;
    QString site;
    QString user;
};

// The folders the host works with. Installed: the one set here, else the FAI_REPORT_DIR
// environment variable, else the ones installed with the program, else the reports/ folder
// of the sources (a build run from its tree). Site: the host's setting, none by default.
// User: the one set here, else "relatorios" in the user's data folder.
ReportFolders CurrentReportFolders();
void SetInstalledReportFolder(const QString& folder);
void SetSiteReportFolder(const QString& folder);
void SetUserReportFolder(const QString& folder);

enum class ReportOrigin { Installed, Site, User };

struct ReportEntry {
    QString path;
    QString code;
    QString title;
    ReportOrigin origin = ReportOrigin::Installed;
};

// The definitions of one report code found in the folders: the installed ones first, then
// the site's, then the user's, each by title. Every *.xml file is read whole; one that cannot
// be read is left out of the entries and its message kept in Problems.
class ReportCatalog {
  public:
    static ReportCatalog Scan(const ReportFolders& folders, const QString& code);

    const QString& Code() const { return code_; }
    const std::vector<ReportEntry>& Entries() const { return entries_; }
    const QStringList& Problems() const { return problems_; }
    // Whether a definition of the code already has the title (blanks around it and letter
    // case ignored).
    bool HasTitle(const QString& title) const;
    // The entry's index, or -1.
    int IndexOfPath(const QString& path) const;

  private:
    void ScanFolder(const QString& folder, ReportOrigin origin);

    QString code_;
    std::vector<ReportEntry> entries_;
    QStringList problems_;
    QStringList scanned_;
};

// Refuses with EError a title that is empty or already taken by a definition of the
// catalog's code.
void CheckNewReportTitle(const ReportCatalog& catalog, const QString& title);

// Copies the definition of `source` under a new title into the user's folder (made when
// missing) and returns the new file's path. Refused with EError when the title is empty or
// already taken by a definition of the catalog's code. Never writes over an existing file.
QString SaveReportCopy(const ReportCatalog& catalog, const ReportEntry& source,
                       const QString& title, const QString& userFolder);
// The same for a definition as it is held (the designer's, with its edits).
QString SaveReportCopy(const ReportCatalog& catalog, ReportDefinition definition,
                       const QString& title, const QString& userFolder);

}  // namespace fai
