#include "HealthProbe.h"

#include "health.grpc.pb.h"

#include <grpcpp/grpcpp.h>

namespace fai::appserver {

HealthAnswer ProbeHealth(const QString& address, std::chrono::milliseconds deadline) {
    auto channel = grpc::CreateChannel(address.toStdString(), grpc::InsecureChannelCredentials());
    auto stub = grpc::health::v1::Health::NewStub(channel);
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + deadline);
    // Wait for the connection within the deadline, so that a server still starting answers.
    context.set_wait_for_ready(true);
    grpc::health::v1::HealthCheckRequest request;
    grpc::health::v1::HealthCheckResponse response;
    const grpc::Status status = stub->Check(&context, request, &response);
    if (!status.ok())
        return {false, QStringLiteral("%1 não respondeu: %2")
                           .arg(address, QString::fromStdString(status.error_message()))};
    using Status = grpc::health::v1::HealthCheckResponse;
    if (response.status() == Status::SERVING)
        return {true, QStringLiteral("%1 em serviço").arg(address)};
    return {false, QStringLiteral("%1 fora de serviço (o banco de dados não responde ou o "
                                  "servidor está encerrando)")
                       .arg(address)};
}

}  // namespace fai::appserver
