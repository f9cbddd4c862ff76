#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace fai::appserver {

class SqlSession;

// PrxRelFatur, GeraRel and DeletaRel: the working data of the diners listing, kept on the
// server under a report number of one branch while a report screen is open. Numbers come
// from the database, so no two screens or servers ever share one. Every method works inside
// the caller's write transaction. Handing out and generating count as uses of the number:
// the data of a number unused for the server's retention time is discarded (ReportPurge).
class ListingReports {
  public:
    explicit ListingReports(SqlSession& session) : session_(session) {}

    // A new report number of the branch, as text.
    QString PrxRelFatur(const QString& branch);
    // Replaces the number's working data with the headcounts of the branch from `first` to
    // `last`; how many rows it holds. Refused for a deleted or discarded number, saying which.
    int GeraRel(const QString& branch, const QDate& first, const QDate& last,
                const QString& reportNumber);
    // Drops the number's working data. Deleting a deleted or discarded number does nothing:
    // the report screen starts its deletions over when one of them failed, and a screen left
    // open past the retention time must still be able to close.
    void DeletaRel(const QString& branch, const QString& reportNumber);

  private:
    struct Report {
        qint64 number = 0;
        bool deleted = false;
        QDateTime discarded;
    };
    // Refused (EBadRequest) when the text is not a number of the branch.
    Report OfBranch(const QString& branch, const QString& reportNumber);

    SqlSession& session_;
};

}  // namespace fai::appserver
