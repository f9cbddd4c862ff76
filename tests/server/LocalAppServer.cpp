#include "LocalAppServer.h"

#include <grpcpp/health_check_service_interface.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace fai::test {

void ScriptedService::AnswerWith(const Fai00400::ServerResult& answer) {
    std::lock_guard lock(mutex_);
    answer_ = answer;
}

void ScriptedService::AnswerWithText(const std::string& text) {
    std::lock_guard lock(mutex_);
    textAnswer_.set_text(text);
}

void ScriptedService::RefuseWith(const grpc::Status& status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

void ScriptedService::DelayAnswers(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

int ScriptedService::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::string ScriptedService::LastMethod() const {
    std::lock_guard lock(mutex_);
    return lastMethod_;
}

std::unique_ptr<google::protobuf::Message> ScriptedService::LastRequest() const {
    std::lock_guard lock(mutex_);
    if (!lastRequest_) return nullptr;
    std::unique_ptr<google::protobuf::Message> copy(lastRequest_->New());
    copy->CopyFrom(*lastRequest_);
    return copy;
}

template <class Answer>
grpc::Status ScriptedService::Serve(grpc::ServerContext* context, const char* method,
                                    const google::protobuf::Message& request, Answer* answer) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(mutex_);
        ++calls_;
        lastMethod_ = method;
        lastRequest_.reset(request.New());
        lastRequest_->CopyFrom(request);
        delay = delay_;
    }
    // Waits in small steps so that a caller that gave up frees the server at once.
    const auto until = std::chrono::steady_clock::now() + delay;
    while (std::chrono::steady_clock::now() < until && !context->IsCancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::lock_guard lock(mutex_);
    Fill(answer);
    return status_;
}

grpc::Status ScriptedService::GetParams(grpc::ServerContext* c, const Fai00400::GetParamsRequest* r,
                                        Fai00400::ServerResult* a) {
    return Serve(c, "GetParams", *r, a);
}

grpc::Status ScriptedService::GetCliente(grpc::ServerContext* c,
                                         const Fai00400::GetClienteRequest* r,
                                         Fai00400::ServerResult* a) {
    return Serve(c, "GetCliente", *r, a);
}

grpc::Status ScriptedService::GetServico(grpc::ServerContext* c,
                                         const Fai00400::GetServicoRequest* r,
                                         Fai00400::ServerResult* a) {
    return Serve(c, "GetServico", *r, a);
}

grpc::Status ScriptedService::GetEfetFatu(grpc::ServerContext* c,
                                          const Fai00400::GetEfetFatuRequest* r,
                                          Fai00400::ServerResult* a) {
    return Serve(c, "GetEfetFatu", *r, a);
}

grpc::Status ScriptedService::ImportaEfetTrans(grpc::ServerContext* c,
                                               const Fai00400::GetEfetFatuRequest* r,
                                               Fai00400::ServerResult* a) {
    return Serve(c, "ImportaEfetTrans", *r, a);
}

grpc::Status ScriptedService::GetValidaData(grpc::ServerContext* c,
                                            const Fai00400::GetValidaDataRequest* r,
                                            Fai00400::ServerResult* a) {
    return Serve(c, "GetValidaData", *r, a);
}

grpc::Status ScriptedService::GetVerifData(grpc::ServerContext* c,
                                           const Fai00400::GetVerifDataRequest* r,
                                           Fai00400::ServerResult* a) {
    return Serve(c, "GetVerifData", *r, a);
}

grpc::Status ScriptedService::GetVlrFatPla(grpc::ServerContext* c,
                                           const Fai00400::GetVlrFatPlaRequest* r,
                                           Fai00400::ServerResult* a) {
    return Serve(c, "GetVlrFatPla", *r, a);
}

grpc::Status ScriptedService::GetVerifSoma(grpc::ServerContext* c,
                                           const Fai00400::GetVerifSomaRequest* r,
                                           Fai00400::TextResult* a) {
    return Serve(c, "GetVerifSoma", *r, a);
}

grpc::Status ScriptedService::UpdEfetFatu(grpc::ServerContext* c,
                                          const Fai00400::UpdEfetFatuRequest* r,
                                          Fai00400::ServerResult* a) {
    return Serve(c, "UpdEfetFatu", *r, a);
}

grpc::Status ScriptedService::GetTurno(grpc::ServerContext* c, const Fai00400::GetTurnoRequest* r,
                                       Fai00400::ServerResult* a) {
    return Serve(c, "GetTurno", *r, a);
}

grpc::Status ScriptedService::SetTurno(grpc::ServerContext* c, const Fai00400::SetTurnoRequest* r,
                                       Fai00400::ServerResult* a) {
    return Serve(c, "SetTurno", *r, a);
}

grpc::Status ScriptedService::GetSomaTurno(grpc::ServerContext* c,
                                           const Fai00400::GetTurnoRequest* r,
                                           Fai00400::ServerResult* a) {
    return Serve(c, "GetSomaTurno", *r, a);
}

grpc::Status ScriptedService::GetVdServClie(grpc::ServerContext* c,
                                            const Fai00400::GetVdServClieRequest* r,
                                            Fai00400::ServerResult* a) {
    return Serve(c, "GetVdServClie", *r, a);
}

grpc::Status ScriptedService::GetItRatEfet(grpc::ServerContext* c,
                                           const Fai00400::GetItRatEfetRequest* r,
                                           Fai00400::ServerResult* a) {
    return Serve(c, "GetItRatEfet", *r, a);
}

grpc::Status ScriptedService::UpDateServData(grpc::ServerContext* c,
                                             const Fai00400::UpDateServDataRequest* r,
                                             Fai00400::ServerResult* a) {
    return Serve(c, "UpDateServData", *r, a);
}

grpc::Status ScriptedService::PrxRelFatur(grpc::ServerContext* c,
                                          const Fai00400::PrxRelFaturRequest* r,
                                          Fai00400::TextResult* a) {
    return Serve(c, "PrxRelFatur", *r, a);
}

grpc::Status ScriptedService::GeraRel(grpc::ServerContext* c, const Fai00400::GeraRelRequest* r,
                                      Fai00400::ServerResult* a) {
    return Serve(c, "GeraRel", *r, a);
}

grpc::Status ScriptedService::DeletaRel(grpc::ServerContext* c, const Fai00400::DeletaRelRequest* r,
                                        Fai00400::ServerResult* a) {
    return Serve(c, "DeletaRel", *r, a);
}

LocalAppServer::LocalAppServer(grpc::Service& service, int port) {
    grpc::EnableDefaultHealthCheckService(true);
    grpc::ServerBuilder builder;
    builder.AddListeningPort("127.0.0.1:" + std::to_string(port), grpc::InsecureServerCredentials(),
                             &port_);
    builder.RegisterService(&service);
    server_ = builder.BuildAndStart();
    if (!server_ || port_ == 0)
        throw std::runtime_error("could not start the test server on port " + std::to_string(port));
}

void LocalAppServer::SetServing(bool serving) {
    server_->GetHealthCheckService()->SetServingStatus(serving);
}

LocalAppServer::~LocalAppServer() { Stop(); }

void LocalAppServer::Stop() {
    if (!server_) return;
    // Calls still running are cancelled rather than waited for.
    server_->Shutdown(std::chrono::system_clock::now() + std::chrono::milliseconds(200));
    server_->Wait();
    server_.reset();
}

HeldPort::HeldPort(Mode mode) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    if (socket_ < 0) throw std::runtime_error("socket() failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        (mode == Mode::Silent && ::listen(socket_, 16) != 0)) {
        ::close(socket_);
        throw std::runtime_error("could not hold a port of 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
}

HeldPort::~HeldPort() { Release(); }

void HeldPort::Release() {
    if (socket_ < 0) return;
    ::close(socket_);
    socket_ = -1;
}

}  // namespace fai::test
