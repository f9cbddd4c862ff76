#pragma once

#include <QDate>
#include <QString>

namespace fai::appserver {

class HistoryRepository;
class SqlSession;

// UpDateServData: one pair of counts written onto every day of a range for one service of a
// client, inside the caller's write transaction: a day not stored yet is stored with them, a
// stored day takes them (its sale value, shifts and apportionment stay). The whole range is
// refused when any day of it may not be written (WriteRules), not only its two ends.
class Duplication {
  public:
    // Every change is recorded in `history`, in the same transaction.
    Duplication(SqlSession& session, HistoryRepository& history)
        : session_(session), history_(history) {}

    // How many days were written. Throws EBadRequest, saying why, for a range that is empty,
    // reversed or longer than a year, for a negative count and for a day that is closed or
    // assessed.
    int Run(const QString& branch, const QString& client, const QString& service,
            const QDate& first, const QDate& last, double forecast, double billed);

  private:
    SqlSession& session_;
    HistoryRepository& history_;
};

}  // namespace fai::appserver
