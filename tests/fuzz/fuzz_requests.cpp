// Fuzzes every method of the server as a hostile client would call it: the first byte of an
// input picks the method, the rest is the request as it travels. The real server answers on
// 127.0.0.1, over a demo database in memory. Whatever it is sent, it must answer, and answer
// what a client can read: a refusal in a short message of one line, or packets that convert.
// Its log lines must stay single, bounded lines too.
#include "FuzzServer.h"
#include "PacketConversion.h"
#include "fai00400.grpc.pb.h"

#include <QCoreApplication>

#include <grpcpp/generic/generic_stub.h>
#include <grpcpp/grpcpp.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>

namespace fai::appserver {
namespace {

// Far beyond any call on this database: an answer this late is a hung server.
constexpr std::chrono::seconds kHung{120};

template <class Message>
bool Parses(const std::string& bytes) {
    return Message().ParseFromString(bytes);
}

struct Method {
    const char* name;
    bool answersText;  // TextResult rather than the result array
    bool (*parses)(const std::string& bytes);
};

const Method kMethods[] = {
    {"GetParams", false, Parses<Fai00400::GetParamsRequest>},
    {"GetCliente", false, Parses<Fai00400::GetClienteRequest>},
    {"GetServico", false, Parses<Fai00400::GetServicoRequest>},
    {"GetEfetFatu", false, Parses<Fai00400::GetEfetFatuRequest>},
    {"ImportaEfetTrans", false, Parses<Fai00400::GetEfetFatuRequest>},
    {"GetValidaData", false, Parses<Fai00400::GetValidaDataRequest>},
    {"GetVerifData", false, Parses<Fai00400::GetVerifDataRequest>},
    {"GetVlrFatPla", false, Parses<Fai00400::GetVlrFatPlaRequest>},
    {"GetVerifSoma", true, Parses<Fai00400::GetVerifSomaRequest>},
    {"UpdEfetFatu", false, Parses<Fai00400::UpdEfetFatuRequest>},
    {"GetTurno", false, Parses<Fai00400::GetTurnoRequest>},
    {"SetTurno", false, Parses<Fai00400::SetTurnoRequest>},
    {"GetSomaTurno", false, Parses<Fai00400::GetTurnoRequest>},
    {"GetVdServClie", false, Parses<Fai00400::GetVdServClieRequest>},
    {"GetItRatEfet", false, Parses<Fai00400::GetItRatEfetRequest>},
    {"UpDateServData", false, Parses<Fai00400::UpDateServDataRequest>},
    {"PrxRelFatur", true, Parses<Fai00400::PrxRelFaturRequest>},
    {"GeraRel", false, Parses<Fai00400::GeraRelRequest>},
    {"DeletaRel", false, Parses<Fai00400::DeletaRelRequest>},
    {"GetHistEfetFatu", false, Parses<Fai00400::GetHistEfetFatuRequest>},
};

class Harness {
  public:
    Harness()
        : stub_(std::make_unique<grpc::GenericStub>(grpc::CreateChannel(
              "127.0.0.1:" + std::to_string(server_.Port()), grpc::InsecureChannelCredentials()))) {
    }

    void Call(const std::uint8_t* data, std::size_t size) {
        if (size == 0) return;
        const Method& method = kMethods[data[0] % std::size(kMethods)];
        const std::string request(reinterpret_cast<const char*>(data) + 1, size - 1);
        grpc::ByteBuffer answer;
        const grpc::Status status = Send(method, request, &answer);
        // Bytes that are no request at all never reach the method: gRPC refuses them itself.
        if (!method.parses(request)) return;
        if (!status.ok()) {
            Require(method.answersText, "a transport failure instead of a result array",
                    QString::fromStdString(status.error_message()));
            RequireMessage(status.error_message());
            return;
        }
        if (method.answersText) {
            Fai00400::TextResult text;
            Require(
                grpc::SerializationTraits<Fai00400::TextResult>::Deserialize(&answer, &text).ok(),
                "an unreadable answer", QString());
            RequireMessage(text.text());
            return;
        }
        Fai00400::ServerResult result;
        Require(
            grpc::SerializationTraits<Fai00400::ServerResult>::Deserialize(&answer, &result).ok(),
            "an unreadable answer", QString());
        if (!result.success()) {
            Require(!result.error().empty(), "a refusal without a message", QString());
            RequireMessage(result.error());
            return;
        }
        for (const Fai00400::DataPacket& packet : result.payload()) {
            try {
                FromProto(packet);
            } catch (const MalformedPacket& e) {
                Require(false, "a packet the client cannot read", QString::fromUtf8(e.what()));
            }
        }
    }

  private:
    grpc::Status Send(const Method& method, const std::string& request, grpc::ByteBuffer* answer) {
        grpc::Slice slice(request);
        const grpc::ByteBuffer sent(&slice, 1);
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + kHung);
        std::promise<grpc::Status> done;
        stub_->UnaryCall(&context, std::string("/Fai00400.rdmEfetFatur/") + method.name, {}, &sent,
                         answer, [&done](grpc::Status s) { done.set_value(std::move(s)); });
        grpc::Status status = done.get_future().get();
        Require(status.error_code() != grpc::StatusCode::DEADLINE_EXCEEDED, "no answer",
                QString::fromLatin1(method.name));
        return status;
    }

    FuzzServer server_;
    std::unique_ptr<grpc::GenericStub> stub_;
};

}  // namespace
}  // namespace fai::appserver

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_requests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static fai::appserver::Harness harness;
    harness.Call(data, size);
    return 0;
}
