#pragma once

#include "AssessedPeriod.h"
#include "ClosedDayRule.h"
#include "PacketReader.h"

#include <QDate>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace fai::appserver {

// The rules that protect stored headcounts whatever a screen sends, for one branch and one
// client: no write to a day closed by the branch's closed-day rule, none to a day of a
// billing period already assessed for the client, none for a service the client does not
// have at the branch. The screens check the same before they save; the server checks again
// because a stale screen, another program or a forged request would not. Read once per save.
class WriteRules {
  public:
    WriteRules(SqlSession& session, const QString& branch, const QString& client);
    // What the rules are read from, for a caller that sends the reads along with others.
    static std::vector<PacketRead> Reads(const QString& branch, const QString& client);
    // From the rows of Reads, in their order.
    WriteRules(SqlRows& params, SqlRows& periods, SqlRows& services);

    // Throws EBadRequest naming the service and the day when a headcount of that service
    // and day may not be written.
    void CheckRow(const QString& service, const QDate& day) const;
    // Closed by the branch's closed-day rule; in a billing period assessed for the client.
    bool IsClosed(const QDate& day) const { return closedDays_.IsClosed(day); }
    bool IsAssessed(const QDate& day) const;

  private:
    void Take(SqlRows& params, SqlRows& periods, SqlRows& services);
    // Why the day is not open, or none.
    std::optional<QString> Blocked(const QDate& day) const;

    ClosedDayRule closedDays_;
    std::vector<AssessedPeriod> assessed_;
    QSet<QString> services_;
};

}  // namespace fai::appserver
