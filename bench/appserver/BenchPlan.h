#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace fai::appserver::bench {

// The operation the benchmark's database holds, worked out from a few numbers so that the
// seeder writes it and the workload finds its rows without asking the database: every
// branch with the same six services and three shifts; clients spread evenly over the
// branches, all with lunch and one in four with dinner too; one client in three served every
// day, the others Monday to Friday; every month assessed but the last two; the closed-day
// rule on at every other branch, leaving open the days since `Last() - kOpenDays`; one
// client in ten breaking lunch down by shift, one in twenty apportioning it over three items.
struct BenchPlan {
    int branches = 100;
    int clients = 2000;
    int days = 1096;

    static constexpr int kOpenDays = 60;
    static constexpr int kShiftsPerBranch = 3;
    static constexpr int kItemsPerClient = 3;

    QDate Last() const { return QDate(2026, 3, 31); }
    QDate First() const { return Last().addDays(1 - days); }
    // Days before this one lie in assessed periods.
    QDate FirstNotAssessed() const;

    static QString Branch(int branch);
    int BranchOf(int client) const { return client % branches; }
    static QString ClientCode(int client);
    static QStringList ServicesOf(int client);
    static bool Serves(int client, const QDate& day);
    static bool BreaksDownByShift(int client) { return client % 10 == 0; }
    static bool Apportions(int client) { return client % 20 == 0; }
    static bool ClosesDays(int branch) { return branch % 2 == 1; }
    // The counts seeded for a row: whole diners around the client's size.
    static double Billed(int client, const QString& service, const QDate& day);
};

}  // namespace fai::appserver::bench
