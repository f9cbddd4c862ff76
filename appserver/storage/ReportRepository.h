#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace fai::appserver {

class SqlSession;

// The listing report's working data (RELCOMENSAL), kept under report numbers that the
// database hands out (RELFATURNUM), each the number of one branch.
class ReportRepository {
  public:
    struct Number {
        QString branch;
        bool deleted = false;
    };

    explicit ReportRepository(SqlSession& session) : session_(session) {}

    qint64 NewNumber(const QString& branch);
    // The number's branch and whether it was deleted, locked until the commit; none for a
    // number never handed out.
    std::optional<Number> Locked(qint64 number);
    // Replaces the number's rows with the headcounts of the branch from `first` to `last`;
    // how many there are.
    int Fill(qint64 number, const QString& branch, const QDate& first, const QDate& last);
    // Drops the number's rows; the number stays, marked, and is never handed out again.
    void Delete(qint64 number);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
