#pragma once

#include "HeadcountKey.h"

#include <QDate>
#include <QString>

#include <string>

namespace fai::appserver {

class SqlSession;

// The headcount screen's filter, judged: by date, the rows of every service of the client
// on one day; by service, every stored day of one service.
struct HeadcountFilter {
    QString branch;
    QString client;
    bool byDate = true;
    QString service;  // by service
    QDate date;       // by date
};

// The server's judgement of a request's arguments: every check throws EBadRequest with a
// message for the user, before anything is read or written.
class RequestChecks {
  public:
    enum class Mode { ByDate = 0, ByService = 1 };

    explicit RequestChecks(SqlSession& session) : session_(session) {}

    // Each asks the database once, whatever it checks, and refuses in the order the parts are
    // named: the branch, then the client, then the service. What passes is what was asked, as
    // Asked and AskedFilter write it: reads of it can go out before the checks have answered.
    static HeadcountKey Asked(const QString& branch, const QString& client, const QString& service,
                              const QDate& date);
    static HeadcountFilter AskedFilter(const QString& client, const QString& branch,
                                       const QString& service, const QDate& date, int mode);

    // A branch code of the FILIAL table.
    QString KnownBranch(const QString& branch);
    // A known branch and a client it serves; the client's code comes back without the
    // punctuation of a formatted registration number, which a client box may still carry.
    HeadcountKey ClientKey(const QString& branch, const QString& client);
    // Branch, client and service of a headcount row's key, without the date: a service the
    // client has at the branch.
    HeadcountKey ServiceKey(const QString& branch, const QString& client, const QString& service);
    // All four parts of a headcount row's key, the date included.
    HeadcountKey Key(const QString& branch, const QString& client, const QString& service,
                     const QDate& date);
    // The arguments of GetEfetFatu and ImportaEfetTrans: mode 0 takes a date and no
    // service, mode 1 a service and the zero date.
    HeadcountFilter Filter(const QString& client, const QString& branch, const QString& service,
                           const QDate& date, int mode);

    // Format checks only.
    // A text argument as it came off the wire, named `what` ("Filial") in the refusal: valid
    // UTF-8 without control characters, which no box of a screen can hold and which would
    // reach the database's statement text or forge a line of the log.
    static QString ArgumentText(const std::string& bytes, const QString& what);
    static QString ServiceCode(const QString& service);
    static QString OptionalServiceCode(const QString& service);
    static QString OptionalClientCode(const QString& client);
    static QString OptionalRegistration(const QString& registrationNumber);
    // The registration number without its punctuation, unchecked.
    static QString Registration(const QString& registrationNumber);
    static QDate BillingDate(const QDate& date);
    // A day of the wire: 0 is the zero date (no date); any other must be a CalendarDay.
    static QDate WireDay(qint64 serial);
    // A day the billing can hold, 01/01/1900 to 31/12/9999.
    static QDate CalendarDay(const QDate& date);
    static Mode QueryMode(int mode);
    static bool IsNoDate(const QDate& date);

  private:
    // What the database knows of the parts of a key.
    struct Known {
        bool branch = false;
        bool client = false;   // at the branch
        bool service = false;  // of the client at the branch
    };
    Known Look(const QString& branch, const QString& client, const QString& service);
    // The judgements, each after those of the parts named before it.
    static void JudgeBranch(const QString& branch, const Known& known);
    static void JudgeClient(const QString& branch, const QString& code, const Known& known);
    static void JudgeService(const QString& branch, const QString& client, const QString& service,
                             const Known& known);

    SqlSession& session_;
};

}  // namespace fai::appserver
