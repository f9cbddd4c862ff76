#pragma once

#include "fai00400.grpc.pb.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

namespace fai::test {

// The network peer of the client under test: an rdmEfetFatur service that keeps the last
// request it received and answers as the test scripted it, optionally after a delay, so
// that the tests see exactly what went over the wire and what came back.
class ScriptedService final : public Fai00400::rdmEfetFatur::Service {
  public:
    void AnswerWith(const Fai00400::ServerResult& answer);
    void AnswerWithText(const std::string& text);
    void RefuseWith(const grpc::Status& status);
    void DelayAnswers(std::chrono::milliseconds delay);

    int Calls() const;
    std::string LastMethod() const;
    // A copy of the last request, of the request type of LastMethod().
    std::unique_ptr<google::protobuf::Message> LastRequest() const;

    grpc::Status GetParams(grpc::ServerContext* c, const Fai00400::GetParamsRequest* r,
                           Fai00400::ServerResult* a) override;
    grpc::Status GetCliente(grpc::ServerContext* c, const Fai00400::GetClienteRequest* r,
                            Fai00400::ServerResult* a) override;
    grpc::Status GetServico(grpc::ServerContext* c, const Fai00400::GetServicoRequest* r,
                            Fai00400::ServerResult* a) override;
    grpc::Status GetEfetFatu(grpc::ServerContext* c, const Fai00400::GetEfetFatuRequest* r,
                             Fai00400::ServerResult* a) override;
    grpc::Status ImportaEfetTrans(grpc::ServerContext* c, const Fai00400::GetEfetFatuRequest* r,
                                  Fai00400::ServerResult* a) override;
    grpc::Status GetValidaData(grpc::ServerContext* c, const Fai00400::GetValidaDataRequest* r,
                               Fai00400::ServerResult* a) override;
    grpc::Status GetVerifData(grpc::ServerContext* c, const Fai00400::GetVerifDataRequest* r,
                              Fai00400::ServerResult* a) override;
    grpc::Status GetVlrFatPla(grpc::ServerContext* c, const Fai00400::GetVlrFatPlaRequest* r,
                              Fai00400::ServerResult* a) override;
    grpc::Status GetVerifSoma(grpc::ServerContext* c, const Fai00400::GetVerifSomaRequest* r,
                              Fai00400::TextResult* a) override;
    grpc::Status UpdEfetFatu(grpc::ServerContext* c, const Fai00400::UpdEfetFatuRequest* r,
                             Fai00400::ServerResult* a) override;
    grpc::Status GetTurno(grpc::ServerContext* c, const Fai00400::GetTurnoRequest* r,
                          Fai00400::ServerResult* a) override;
    grpc::Status SetTurno(grpc::ServerContext* c, const Fai00400::SetTurnoRequest* r,
                          Fai00400::ServerResult* a) override;
    grpc::Status GetSomaTurno(grpc::ServerContext* c, const Fai00400::GetTurnoRequest* r,
                              Fai00400::ServerResult* a) override;
    grpc::Status GetVdServClie(grpc::ServerContext* c, const Fai00400::GetVdServClieRequest* r,
                               Fai00400::ServerResult* a) override;
    grpc::Status GetItRatEfet(grpc::ServerContext* c, const Fai00400::GetItRatEfetRequest* r,
                              Fai00400::ServerResult* a) override;
    grpc::Status UpDateServData(grpc::ServerContext* c, const Fai00400::UpDateServDataRequest* r,
                                Fai00400::ServerResult* a) override;
    grpc::Status PrxRelFatur(grpc::ServerContext* c, const Fai00400::PrxRelFaturRequest* r,
                             Fai00400::TextResult* a) override;
    grpc::Status GeraRel(grpc::ServerContext* c, const Fai00400::GeraRelRequest* r,
                         Fai00400::ServerResult* a) override;
    grpc::Status DeletaRel(grpc::ServerContext* c, const Fai00400::DeletaRelRequest* r,
                           Fai00400::ServerResult* a) override;

  private:
    template <class Answer>
    grpc::Status Serve(grpc::ServerContext* context, const char* method,
                       const google::protobuf::Message& request, Answer* answer);
    void Fill(Fai00400::ServerResult* answer) const { *answer = answer_; }
    void Fill(Fai00400::TextResult* answer) const { *answer = textAnswer_; }

    mutable std::mutex mutex_;
    Fai00400::ServerResult answer_;
    Fai00400::TextResult textAnswer_;
    grpc::Status status_;
    std::chrono::milliseconds delay_{0};
    int calls_ = 0;
    std::string lastMethod_;
    std::unique_ptr<google::protobuf::Message> lastRequest_;
};

// A gRPC server on 127.0.0.1 running one service and the standard health service, on the port
// given or, with 0, on one the system picks. Stopped at the latest when destroyed.
class LocalAppServer {
  public:
    explicit LocalAppServer(grpc::Service& service, int port = 0);
    ~LocalAppServer();
    LocalAppServer(const LocalAppServer&) = delete;
    LocalAppServer& operator=(const LocalAppServer&) = delete;

    int Port() const { return port_; }
    void Stop();
    // What its standard health service says; serving from the start.
    void SetServing(bool serving);

  private:
    std::unique_ptr<grpc::Server> server_;
    int port_ = 0;
};

// A port of 127.0.0.1 held by a socket so that nothing else takes it. Not listening, a
// connection to it is refused; listening, it is accepted by the system and then nothing
// is ever said on it, like a hung server.
class HeldPort {
  public:
    enum class Mode { Refusing, Silent };
    explicit HeldPort(Mode mode);
    ~HeldPort();
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;

    int Port() const { return port_; }
    // Frees the port for a server the test starts on it.
    void Release();

  private:
    int socket_ = -1;
    int port_ = 0;
};

}  // namespace fai::test
