#include "ReportPurge.h"

#include "CallLog.h"
#include "Errors.h"
#include "ReportRepository.h"
#include "SqlSession.h"

#include <algorithm>

namespace fai::appserver {

int ReportPurge::Sweep(SqlSession& session, std::chrono::seconds retention) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Transaction transaction(session, Transaction::Kind::Write);
    const int discarded = ReportRepository(session).Discard(now.addSecs(-retention.count()), now);
    transaction.Commit();
    return discarded;
}

std::chrono::seconds ReportPurge::Interval(std::chrono::seconds retention) {
    return std::clamp<std::chrono::seconds>(retention / 4, std::chrono::minutes(1),
                                            std::chrono::hours(1));
}

QString DiscardedNote(int numbers) {
    return QStringLiteral("dados de %1 relatório(s) sem uso descartados").arg(numbers);
}

ReportPurge::ReportPurge(DatabaseLocation location, std::chrono::seconds retention, CallLog& log)
    : location_(std::move(location)),
      retention_(retention),
      log_(log),
      task_(Interval(retention), [this] { SweepNow(); }) {}

ReportPurge::~ReportPurge() = default;

void ReportPurge::SweepNow() {
    try {
        SqlSession session(location_);
        if (const int discarded = Sweep(session, retention_); discarded > 0)
            log_.Note(DiscardedNote(discarded));
    } catch (const EError& e) {
        log_.Note(QStringLiteral("descarte de relatórios sem uso falhou: %1").arg(e.Message()));
    }
}

}  // namespace fai::appserver
