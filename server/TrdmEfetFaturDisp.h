#pragma once

#include "DataPacket.h"
#include "ServerResult.h"

#include <QDate>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace fai {

class RpcSession;

// The method table of the remote data module "Fai00400.rdmEfetFatur": one method per
// server method, arguments in the server's order. Each call blocks until the server
// answers or the connection's deadline passes.
//
// Dates: the zero date (ZeroDate(), 30/12/1899) stands for no date; an invalid QDate is
// sent as the zero date too. By-reference arguments are the server's to write in the
// contract, but its answer carries no values back, so they keep what the caller passed.
//
// The table checks nothing the caller passes: the server judges every argument. It checks
// what comes back: a packet that does not hold together, or a successful answer with fewer
// packets than the method promises, raises EServerError, so that a caller may take the
// packets it was promised. A failure the server reports comes back as a ServerResult for
// CheckResultServ; a refused call raises EServerError; a server that does not answer
// raises EConnectionError.
class TrdmEfetFaturDisp {
  public:
    // The gRPC service this table speaks to.
    static QString ServiceName();

    explicit TrdmEfetFaturDisp(std::unique_ptr<RpcSession> session);
    ~TrdmEfetFaturDisp();
    TrdmEfetFaturDisp(const TrdmEfetFaturDisp&) = delete;
    TrdmEfetFaturDisp& operator=(const TrdmEfetFaturDisp&) = delete;

    void SetDeadline(std::chrono::milliseconds deadline);

    ServerResult GetParams(const QString& branch);
    ServerResult GetCliente(const QString& branch, const QString& registrationNumber,
                            const QString& client);
    ServerResult GetServico(const QString& branch, const QString& client, const QString& service);
    ServerResult GetEfetFatu(const QString& client, const QString& branch, QString& service,
                             QDate& date, int mode);
    ServerResult ImportaEfetTrans(const QString& client, const QString& branch, QString& service,
                                  QDate& date, int mode);
    ServerResult GetValidaData(const QString& branch, const QString& client, const QString& service,
                               const QDate& date);
    ServerResult GetVerifData(const QString& branch, const QString& service, const QString& client);
    ServerResult GetVlrFatPla(const QString& branch, const QString& service, const QString& client,
                              const QDate& date);
    QString GetVerifSoma(const DataPacket& headcounts);
    ServerResult UpdEfetFatu(OptionalPacket& headcountDelta, QString& nullFields,
                             OptionalPacket& apportionmentDelta);
    ServerResult GetTurno(const QString& branch, const QString& client, QString& service,
                          QDate& date);
    ServerResult SetTurno(const DataPacket& shiftDelta, QString& nullFields);
    ServerResult GetSomaTurno(const QString& branch, const QString& client, QString& service,
                              QDate& date);
    ServerResult GetVdServClie(const QString& branch, const QString& client,
                               const QString& service);
    ServerResult GetItRatEfet(const QString& branch, const QString& client, const QDate& date,
                              const QString& service);
    ServerResult UpDateServData(const QString& branch, const QString& client,
                                const QString& service, const QDate& firstDate,
                                const QDate& lastDate, double forecast, double billed);
    QString PrxRelFatur(const QString& branch);
    ServerResult GeraRel(const QString& branch, const QDate& firstDate, const QDate& lastDate,
                         const QString& reportNumber);
    ServerResult DeletaRel(const QString& branch, const QString& reportNumber);
    // The history of the client's rows at the branch from `firstDate` to `lastDate`, of one
    // service when `service` is not empty; newest first, `pageSize` records of page `page`.
    ServerResult GetHistEfetFatu(const QString& branch, const QString& client,
                                 const QString& service, const QDate& firstDate,
                                 const QDate& lastDate, int page, int pageSize);
    // A read of the host (its lookups, context and reports): one SELECT with its values bound
    // in order at its "?" places, its rows handed to `part` in parts as they come (at least
    // one). Throws EServerError with the server's words when it refuses or fails the read.
    void ConsultaHost(const QString& name, const QString& sql, const std::vector<Value>& params,
                      const std::function<void(DataPacket& part)>& part);

  private:
    std::unique_ptr<RpcSession> session_;
};

}  // namespace fai
