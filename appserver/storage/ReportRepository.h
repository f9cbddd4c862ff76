#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace fai::appserver {

class SqlSession;

// The listing report's working data (RELCOMENSAL), kept under report numbers that the
// database hands out (RELFATURNUM), each the number of one branch. A number records when it
// was last used, so that the data of a number nobody deletes is discarded in time.
class ReportRepository {
  public:
    struct Number {
        QString branch;
        bool deleted = false;
        // When its data was discarded for want of use; invalid when it was not.
        QDateTime discarded;
    };

    explicit ReportRepository(SqlSession& session) : session_(session) {}

    qint64 NewNumber(const QString& branch, const QDateTime& now);
    // The number's branch and state, locked until the commit; none for a number never
    // handed out.
    std::optional<Number> Locked(qint64 number);
    // Replaces the number's rows with the headcounts of the branch from `first` to `last`;
    // how many there are.
    int Fill(qint64 number, const QString& branch, const QDate& first, const QDate& last,
             const QDateTime& now);
    // Drops the number's rows; the number stays, marked, and is never handed out again.
    void Delete(qint64 number);
    // Drops the rows of every number not used since `usedBefore` and marks it discarded at
    // `now`; how many numbers it discarded.
    int Discard(const QDateTime& usedBefore, const QDateTime& now);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
