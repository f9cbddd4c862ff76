#pragma once

#include "DataPacket.h"
#include "fai00400.grpc.pb.h"

#include <functional>
#include <vector>

namespace fai::appserver {

class CallLog;
class EfetFaturReads;
class WorkerPool;

// The gRPC face of "Fai00400.rdmEfetFatur": turns each request into typed arguments, runs
// the method on a database worker inside one transaction, and answers with the result
// array. Bad input is answered with a failed result carrying the reason; it never ends the
// call with a transport error, except for the two methods that answer plain text, which
// have no result array to carry it.
class RdmEfetFaturService final : public Fai00400::rdmEfetFatur::Service {
  public:
    RdmEfetFaturService(WorkerPool& workers, CallLog& log) : workers_(workers), log_(log) {}

    grpc::Status GetParams(grpc::ServerContext*, const Fai00400::GetParamsRequest* request,
                           Fai00400::ServerResult* result) override;
    grpc::Status GetCliente(grpc::ServerContext*, const Fai00400::GetClienteRequest* request,
                            Fai00400::ServerResult* result) override;
    grpc::Status GetServico(grpc::ServerContext*, const Fai00400::GetServicoRequest* request,
                            Fai00400::ServerResult* result) override;
    grpc::Status GetEfetFatu(grpc::ServerContext*, const Fai00400::GetEfetFatuRequest* request,
                             Fai00400::ServerResult* result) override;
    grpc::Status ImportaEfetTrans(grpc::ServerContext*, const Fai00400::GetEfetFatuRequest* request,
                                  Fai00400::ServerResult* result) override;
    grpc::Status GetValidaData(grpc::ServerContext*, const Fai00400::GetValidaDataRequest* request,
                               Fai00400::ServerResult* result) override;
    grpc::Status GetVerifData(grpc::ServerContext*, const Fai00400::GetVerifDataRequest* request,
                              Fai00400::ServerResult* result) override;
    grpc::Status GetVlrFatPla(grpc::ServerContext*, const Fai00400::GetVlrFatPlaRequest* request,
                              Fai00400::ServerResult* result) override;
    grpc::Status GetVerifSoma(grpc::ServerContext*, const Fai00400::GetVerifSomaRequest* request,
                              Fai00400::TextResult* result) override;
    grpc::Status UpdEfetFatu(grpc::ServerContext*, const Fai00400::UpdEfetFatuRequest* request,
                             Fai00400::ServerResult* result) override;
    grpc::Status GetTurno(grpc::ServerContext*, const Fai00400::GetTurnoRequest* request,
                          Fai00400::ServerResult* result) override;
    grpc::Status SetTurno(grpc::ServerContext*, const Fai00400::SetTurnoRequest* request,
                          Fai00400::ServerResult* result) override;
    grpc::Status GetSomaTurno(grpc::ServerContext*, const Fai00400::GetTurnoRequest* request,
                              Fai00400::ServerResult* result) override;
    grpc::Status GetVdServClie(grpc::ServerContext*, const Fai00400::GetVdServClieRequest* request,
                               Fai00400::ServerResult* result) override;
    grpc::Status GetItRatEfet(grpc::ServerContext*, const Fai00400::GetItRatEfetRequest* request,
                              Fai00400::ServerResult* result) override;
    grpc::Status UpDateServData(grpc::ServerContext*,
                                const Fai00400::UpDateServDataRequest* request,
                                Fai00400::ServerResult* result) override;
    grpc::Status PrxRelFatur(grpc::ServerContext*, const Fai00400::PrxRelFaturRequest* request,
                             Fai00400::TextResult* result) override;
    grpc::Status GeraRel(grpc::ServerContext*, const Fai00400::GeraRelRequest* request,
                         Fai00400::ServerResult* result) override;
    grpc::Status DeletaRel(grpc::ServerContext*, const Fai00400::DeletaRelRequest* request,
                           Fai00400::ServerResult* result) override;

  private:
    using Reading = std::function<std::vector<DataPacket>(EfetFaturReads&)>;
    using ArgumentCheck = std::function<void()>;

    grpc::Status Read(const char* method, Fai00400::ServerResult* result, const Reading& read);
    // Methods whose behaviour comes later: their arguments are judged all the same, then
    // they answer that they are not available, and nothing is written.
    grpc::Status NotYet(const char* method, Fai00400::ServerResult* result,
                        const ArgumentCheck& check);
    grpc::Status NotYetText(const char* method, const ArgumentCheck& check);

    WorkerPool& workers_;
    CallLog& log_;
};

}  // namespace fai::appserver
