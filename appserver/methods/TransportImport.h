#pragma once

#include "fai00400.pb.h"

#include <QDate>
#include <QString>

#include <vector>

namespace fai::appserver {

class HistoryRepository;
class SqlSession;

// ImportaEfetTrans: takes the transported headcounts of the screen's filter into the stored
// headcount rows, inside the caller's write transaction: a row not stored yet is stored with
// the transported count as its billed count, a stored row takes it as its billed count.
// Days closed by the closed-day rule or lying in an assessed period are left as they are.
class TransportImport {
  public:
    struct Outcome {
        // The headcount rows as they now are and the client's assessed periods, as
        // GetEfetFatu answers them, then the summary of the counts below
        // (ImportSummaryFields).
        std::vector<Fai00400::DataPacket> packets;
        int taken = 0;      // rows stored or changed
        int closed = 0;     // transported counts of closed days, left out
        int assessed = 0;   // transported counts of assessed days, left out
        int unchanged = 0;  // rows that already had the transported count
    };

    // Every change is recorded in `history`, in the same transaction.
    TransportImport(SqlSession& session, HistoryRepository& history)
        : session_(session), history_(history) {}

    // The arguments of GetEfetFatu, judged the same way.
    Outcome Run(const QString& client, const QString& branch, const QString& service,
                const QDate& date, int mode);

  private:
    SqlSession& session_;
    HistoryRepository& history_;
};

}  // namespace fai::appserver
