#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace fai {

// The user's working context as the host sets it up at start: where the user works, where
// the application server is, and whether the branch is fixed for the session.
struct WorkingContextData {
    QString branch;             // FiliProc
    QString branchName;         // NomeFiliProc
    QString billingBranch;      // FiliProcFat
    QString billingBranchName;  // NomeFiliProcFat
    bool branchFixed = false;   // ModuFili
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

}  // namespace fai
