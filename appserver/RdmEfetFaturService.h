#pragma once

#include "fai00400.grpc.pb.h"

namespace fai::appserver {

class CallLog;
class WorkerPool;

// The gRPC face of "Fai00400.rdmEfetFatur". Each request is turned into typed arguments on
// the calling thread (a malformed one never takes a database worker), then its method runs
// on a database worker inside one transaction, a writing one for the methods that write,
// and the answer is the result array. Bad input, a rule's refusal and a save built on stale
// rows are answered with a failed result carrying the reason; they never end the call with
// a transport error, except for the two methods that answer plain text, which have no result
// array to carry it.
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
    WorkerPool& workers_;
    CallLog& log_;
};

}  // namespace fai::appserver
