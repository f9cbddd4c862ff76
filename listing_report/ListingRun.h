#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace fai {

class ReportParams;
class TNetConnection;

// What a listing is run for: a branch, a period, and the client and service selections, each
// all of them or the multi-selection text of those chosen.
struct ListingChoice {
    QString branch;
    QDate first;
    QDate last;
    bool allClients = true;
    QString clients;
    bool allServices = true;
    QString services;
};

// The report numbers a listing obtained, one per branch, held in two parallel lists (the
// screen's stlCdFilial and stlNrPrx). A branch's number is asked of the server the first time
// its data is generated and serves every later generation; all of them are deleted together
// at the end.
class ListingRegistry {
  public:
    ListingRegistry(QStringList& branches, QStringList& numbers)
        : branches_(branches), numbers_(numbers) {}

    // GeraTableApurFat: the branch's number (asked for when it has none), then the branch's
    // working data of the period generated under it. A number the server does not hand out
    // registers nothing; a generation the server refuses leaves the number registered.
    void Generate(TNetConnection& connection, const QString& branch, const QDate& first,
                  const QDate& last);
    // The branch's number; empty when it has none.
    QString NumberOf(const QString& branch) const;
    // DeletaRel for every entry, from the first to the last. The first failure propagates with
    // the lists as they were, so that the next attempt starts again from the first.
    void DeleteAll(TNetConnection& connection) const;
    // The same, remembering in `refused` each entry the server refused. One refused before is
    // refused again without stopping the others: the server keeps refusing it (its number
    // purged by a restore, the branch no longer the clerk's), and it is returned with the
    // server's words, for the caller to give it up to the server's retention time.
    struct Refusal {
        QString branch;
        QString number;
        QString reason;
    };
    std::vector<Refusal> DeleteAll(TNetConnection& connection, QStringList& refused) const;

  private:
    QStringList& branches_;
    QStringList& numbers_;
};

// The report's parameters, in this order, each set where the report declares it: P_CDFILIAL,
// P_NRAPURACGD (the branch's number; empty when it has none, which selects no data),
// P_DTINICIAL, P_DTFINAL, P_DTFINALCOMP (the day after the final date, as a day number),
// P_DTINICIAL_D, P_DTFINAL_D, P_CDCLIENTE ("T" for all clients, else the chosen ones) and
// P_CDSERVFILI ("T" for all services where declared; the chosen ones are set whether declared
// or not, so that a report used with a service list must declare it).
void SetListingParams(ReportParams& params, const ListingChoice& choice,
                      const QString& reportNumber);

}  // namespace fai
