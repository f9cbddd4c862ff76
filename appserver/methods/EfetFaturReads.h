#pragma once

#include "DataPacket.h"
#include "RequestChecks.h"
#include "fai00400.pb.h"

#include <QDate>
#include <QString>

#include <vector>

namespace fai::appserver {

class SqlSession;

// The reading methods of "Fai00400.rdmEfetFatur", with the arguments of the contract in its
// order. Each judges its arguments first (EBadRequest) and answers with the packets of the
// datasets that receive them. An empty packet is an answer, not a failure: the screens
// decide from it (a service code that does not exist, a date still free, no planning). The
// packets are read straight into their messages.
class EfetFaturReads {
  public:
    explicit EfetFaturReads(SqlSession& session) : session_(session) {}

    Fai00400::DataPacket GetParams(const QString& branch);
    // Both empty: every client of the branch. A registration number: the client(s) with it
    // at the branch, narrowed to `client` when that is one of them. Only `client`: that one.
    Fai00400::DataPacket GetCliente(const QString& branch, const QString& registrationNumber,
                                    const QString& client);
    // Every service of the client at the branch, or the one asked for.
    Fai00400::DataPacket GetServico(const QString& branch, const QString& client,
                                    const QString& service);
    // Headcount rows, the client's assessed periods and the client's apportionment items.
    // Mode 0 takes a date and no service, mode 1 a service and the zero date.
    std::vector<Fai00400::DataPacket> GetEfetFatu(const QString& client, const QString& branch,
                                                  const QString& service, const QDate& date,
                                                  int mode);
    // The same three packets for a filter already judged.
    std::vector<Fai00400::DataPacket> Headcounts(const HeadcountFilter& filter);
    Fai00400::DataPacket GetValidaData(const QString& branch, const QString& client,
                                       const QString& service, const QDate& date);
    Fai00400::DataPacket GetVerifData(const QString& branch, const QString& service,
                                      const QString& client);
    Fai00400::DataPacket GetVlrFatPla(const QString& branch, const QString& service,
                                      const QString& client, const QDate& date);
    Fai00400::DataPacket GetTurno(const QString& branch, const QString& client,
                                  const QString& service, const QDate& date);
    // A row without a date yet (a new row in by-service mode) has nothing stored: SOMA 0.
    Fai00400::DataPacket GetSomaTurno(const QString& branch, const QString& client,
                                      const QString& service, const QDate& date);
    Fai00400::DataPacket GetVdServClie(const QString& branch, const QString& client,
                                       const QString& service);
    // The screen asks on every move to another row, also onto a row not keyed yet (a new
    // row, an empty grid): such a row has no apportionment, and the answer is empty.
    Fai00400::DataPacket GetItRatEfet(const QString& branch, const QString& client,
                                      const QDate& date, const QString& service);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
