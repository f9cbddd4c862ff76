#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace fai {

// The user's working context as the host sets it up at start: where the user works, where
// the application server is, and whether the branch is fixed for the session.
struct WorkingContextData {
    QString branch;             // FiliProc
    QString branchName;         // NomeFiliProc
    QString billingBranch;      // FiliProcFat
    QString billingBranchName;  // NomeFiliProcFat
    bool branchFixed = false;   // ModuFili
    // Who signed in, and the branches they work in; none: every branch (an administrator, or
    // a server that runs open, where nobody signs in).
    QString userName;
    std::optional<QStringList> userBranches;
    // One host, or several servers of one database separated by commas, each with the port
    // of serverPort unless it has its own ("a:7400,b:7400").
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 7400;
    // The processing date of a branch; none known means today.
    std::function<QDate(const QString& branch)> processingDate;
};

void SetWorkingContext(WorkingContextData context);
const WorkingContextData& WorkingContext();

// The working-context services under the names the screens use.
QString FiliProc();
QString NomeFiliProc();
QString FiliProcFat();
QString NomeFiliProcFat();
QDate DataProc(const QString& branch);
bool ModuFili();
QString WebURL();
int WebPort();
// Whether the user works in the branch: what the branch boxes and lookups offer.
bool FilialPermitida(const QString& branch);

}  // namespace fai
