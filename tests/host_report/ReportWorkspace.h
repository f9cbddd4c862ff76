#pragma once

#include "GeneralDataServer.h"
#include "ReportCatalog.h"
#include "TestDatabase.h"

#include <QDate>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace fai::testing {

// Where the report windows' tests work: the application server over a fresh SQLite file,
// which the host's report queries read through, with the numbers N from 1 to 12 billed as
// headcount rows (QTCOMEFATU) in the services GRUPO 'G0' to 'G2' (CDSERVFILI), and the
// installed and the user's report folders under `dir` (the installed one made).
class ReportWorkspace {
  public:
    explicit ReportWorkspace(const QTemporaryDir& dir)
        : installed(dir.filePath(QStringLiteral("instalados"))),
          user(dir.filePath(QStringLiteral("usuario"))) {
        const QString branch = QStringLiteral("0001");
        const QString client = QStringLiteral("J12345678000195");
        appserver::test::TestSeed& seed = server_.Seed();
        seed.Branch(branch, QStringLiteral("Matriz"))
            .Client(QStringLiteral("J"), QStringLiteral("12345678000195"),
                    QStringLiteral("Cliente"))
            .ClientAt(branch, client);
        for (int group = 0; group < 3; ++group) {
            const QString service = QStringLiteral("G%1").arg(group);
            seed.Service(branch, service, service).ClientService(branch, client, service);
        }
        for (int n = 1; n <= 12; ++n)
            seed.Headcount(
                {branch, client, QStringLiteral("G%1").arg(n % 3), QDate(2024, 1, 1).addDays(n)}, n,
                0);
        SetInstalledReportFolder(installed);
        SetUserReportFolder(user);
        QDir().mkpath(installed);
    }
    ~ReportWorkspace() {
        SetInstalledReportFolder({});
        SetUserReportFolder({});
    }

    const QString installed;
    const QString user;

  private:
    appserver::test::TestDatabase database_{appserver::test::Backend::Sqlite};
    appserver::test::GeneralDataServer server_{database_.Location()};
};

}  // namespace fai::testing
