#pragma once

#include "HeadcountKey.h"

#include <QDate>
#include <QString>

namespace fai::appserver {

class SqlSession;

// The server's judgement of a request's arguments: every check throws EBadRequest with a
// message for the user, before anything is read or written.
class RequestChecks {
  public:
    enum class Mode { ByDate = 0, ByService = 1 };

    explicit RequestChecks(SqlSession& session) : session_(session) {}

    // A branch code of the FILIAL table.
    QString KnownBranch(const QString& branch);
    // A client served by the branch; the code comes back without the punctuation of a
    // formatted registration number, which a client box may still carry.
    QString ClientOfBranch(const QString& branch, const QString& client);
    // A service the client has at the branch.
    QString ServiceOfClient(const QString& branch, const QString& client, const QString& service);
    // Branch, client and service of a headcount row's key, without the date.
    HeadcountKey ServiceKey(const QString& branch, const QString& client, const QString& service);
    // All four parts of a headcount row's key, the date included.
    HeadcountKey Key(const QString& branch, const QString& client, const QString& service,
                     const QDate& date);

    // Format checks only.
    static QString ServiceCode(const QString& service);
    static QString OptionalServiceCode(const QString& service);
    static QString OptionalClientCode(const QString& client);
    static QString OptionalRegistration(const QString& registrationNumber);
    static QDate BillingDate(const QDate& date);
    static Mode QueryMode(int mode);
    static bool IsNoDate(const QDate& date);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
