#include "WorkingContext.h"

namespace fai {
namespace {

WorkingContextData& Current() {
    static WorkingContextData context;
    return context;
}

}  // namespace

void SetWorkingContext(WorkingContextData context) { Current() = std::move(context); }

const WorkingContextData& WorkingContext() { return Current(); }

QString FiliProc() { return Current().branch; }
QString NomeFiliProc() { return Current().branchName; }
QString FiliProcFat() { return Current().billingBranch; }
QString NomeFiliProcFat() { return Current().billingBranchName; }
bool ModuFili() { return Current().branchFixed; }
QString WebURL() { return Current().serverHost; }
int WebPort() { return Current().serverPort; }

bool FilialPermitida(const QString& branch) {
    const auto& branches = Current().userBranches;
    return !branches || branches->contains(branch);
}

QDate DataProc(const QString& branch) {
    const auto& lookup = Current().processingDate;
    const QDate date = lookup ? lookup(branch) : QDate();
    return date.isValid() ? date : QDate::currentDate();
}

}  // namespace fai
