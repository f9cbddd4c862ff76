#pragma once

#include "CallServing.h"
#include "fai00400.grpc.pb.h"

namespace fai::appserver {

class Authorization;
class HistoryRepository;
class NamedBranches;

// The gRPC face of "Fai00400.rdmEfetFatur". Each request is admitted by the gate (or refused
// at once when the server is full) and turned into typed arguments on the calling thread (a
// malformed one never takes a database worker); then its method runs on a database worker
// inside one transaction, a writing one for the methods that write, and the answer is the
// result array, sent from the worker: no thread waits for a call, nor for a client to read
// its answer. Bad input, a rule's refusal and a save built on stale rows are answered with a
// failed result carrying the reason; they never end the call with a transport error, except
// for the two methods that answer plain text, which have no result array to carry it. Before
// its work, every call is admitted by the authorization in the same transaction.
class RdmEfetFaturService final : public Fai00400::rdmEfetFatur::CallbackService {
  public:
    RdmEfetFaturService(const Serving& serving, Authorization& authorization);

    grpc::ServerUnaryReactor* GetParams(grpc::CallbackServerContext* call,
                                        const Fai00400::GetParamsRequest* request,
                                        Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetCliente(grpc::CallbackServerContext* call,
                                         const Fai00400::GetClienteRequest* request,
                                         Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetServico(grpc::CallbackServerContext* call,
                                         const Fai00400::GetServicoRequest* request,
                                         Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetEfetFatu(grpc::CallbackServerContext* call,
                                          const Fai00400::GetEfetFatuRequest* request,
                                          Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* ImportaEfetTrans(grpc::CallbackServerContext* call,
                                               const Fai00400::GetEfetFatuRequest* request,
                                               Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetValidaData(grpc::CallbackServerContext* call,
                                            const Fai00400::GetValidaDataRequest* request,
                                            Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetVerifData(grpc::CallbackServerContext* call,
                                           const Fai00400::GetVerifDataRequest* request,
                                           Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetVlrFatPla(grpc::CallbackServerContext* call,
                                           const Fai00400::GetVlrFatPlaRequest* request,
                                           Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetVerifSoma(grpc::CallbackServerContext* call,
                                           const Fai00400::GetVerifSomaRequest* request,
                                           Fai00400::TextResult* result) override;
    grpc::ServerUnaryReactor* UpdEfetFatu(grpc::CallbackServerContext* call,
                                          const Fai00400::UpdEfetFatuRequest* request,
                                          Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetTurno(grpc::CallbackServerContext* call,
                                       const Fai00400::GetTurnoRequest* request,
                                       Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* SetTurno(grpc::CallbackServerContext* call,
                                       const Fai00400::SetTurnoRequest* request,
                                       Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetSomaTurno(grpc::CallbackServerContext* call,
                                           const Fai00400::GetTurnoRequest* request,
                                           Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetVdServClie(grpc::CallbackServerContext* call,
                                            const Fai00400::GetVdServClieRequest* request,
                                            Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetItRatEfet(grpc::CallbackServerContext* call,
                                           const Fai00400::GetItRatEfetRequest* request,
                                           Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* UpDateServData(grpc::CallbackServerContext* call,
                                             const Fai00400::UpDateServDataRequest* request,
                                             Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* PrxRelFatur(grpc::CallbackServerContext* call,
                                          const Fai00400::PrxRelFaturRequest* request,
                                          Fai00400::TextResult* result) override;
    grpc::ServerUnaryReactor* GeraRel(grpc::CallbackServerContext* call,
                                      const Fai00400::GeraRelRequest* request,
                                      Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* DeletaRel(grpc::CallbackServerContext* call,
                                        const Fai00400::DeletaRelRequest* request,
                                        Fai00400::ServerResult* result) override;
    grpc::ServerUnaryReactor* GetHistEfetFatu(grpc::CallbackServerContext* call,
                                              const Fai00400::GetHistEfetFatuRequest* request,
                                              Fai00400::ServerResult* result) override;
    // Admitted as the others; its query runs on the worker's host-read connection, bounded
    // by the caller's branches, and its parts are sent from there as they are read.
    grpc::ServerWriteReactor<Fai00400::ConsultaHostParte>* ConsultaHost(
        grpc::CallbackServerContext* call, const Fai00400::ConsultaHostRequest* request) override;

  private:
    // A method's work once its caller is admitted, given the caller's login (empty: open).
    using AdmittedWork = std::function<Answer(SqlSession&, const QString& login)>;
    // The work of a method that writes: its changes go to the history, by their author.
    using WritingWork = std::function<Answer(SqlSession&, HistoryRepository&)>;

    template <class Reply>
    grpc::ServerUnaryReactor* Guarded(const NamedBranches& named, grpc::CallbackServerContext* call,
                                      const char* method, Reply* reply, Access access,
                                      const std::function<Work()>& decode);
    grpc::ServerUnaryReactor* Writing(const NamedBranches& named, grpc::CallbackServerContext* call,
                                      const char* method, Fai00400::ServerResult* reply,
                                      const std::function<WritingWork()>& decode);
    template <class Reply>
    grpc::ServerUnaryReactor* Admitting(const NamedBranches& named,
                                        grpc::CallbackServerContext* call, const char* method,
                                        Reply* reply, Access access,
                                        const std::function<AdmittedWork()>& decode);

    Serving serving_;
    Authorization& authorization_;
};

}  // namespace fai::appserver
