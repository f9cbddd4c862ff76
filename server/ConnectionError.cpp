#include "ConnectionError.h"

namespace fai {
namespace {

// "30 segundos", "1 segundo", "500 milissegundos": a deadline as the user would say it.
QString Describe(std::chrono::milliseconds span) {
    const qint64 ms = span.count();
    if (ms % 1000 != 0) return QStringLiteral("%1 milissegundos").arg(ms);
    const qint64 seconds = ms / 1000;
    return seconds == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(seconds);
}

}  // namespace

EConnectionError EConnectionError::NotConnected() {
    return EConnectionError(QStringLiteral("Não há conexão com o servidor de aplicação."));
}

EConnectionError EConnectionError::InvalidAddress(const ServerEndpoint& endpoint) {
    return InvalidAddress(endpoint.Address());
}

EConnectionError EConnectionError::InvalidAddress(const QString& address) {
    return EConnectionError(
        QStringLiteral("O endereço do servidor de aplicação \"%1\" não é válido. Verifique o "
                       "servidor e a porta configurados.")
            .arg(address));
}

EConnectionError EConnectionError::UnknownServer(const QString& serverName, const QString& known) {
    return EConnectionError(
        QStringLiteral("O servidor de aplicação \"%1\" não é atendido por este módulo, que "
                       "conversa com \"%2\".")
            .arg(serverName, known));
}

EConnectionError EConnectionError::Unreachable(const ServerEndpoint& endpoint) {
    return EConnectionError(
        QStringLiteral("Não foi possível conectar ao servidor de aplicação em %1. Verifique se "
                       "o servidor está em execução.")
            .arg(endpoint.Address()));
}

EConnectionError EConnectionError::NoAnswer(const ServerEndpoint& endpoint,
                                            std::chrono::milliseconds deadline) {
    return EConnectionError(QStringLiteral("O servidor de aplicação em %1 não respondeu em %2.")
                                .arg(endpoint.Address(), Describe(deadline)));
}

EConnectionError EConnectionError::SecureConnectionFailed(const ServerEndpoint& endpoint) {
    return EConnectionError(
        QStringLiteral("A conexão segura (TLS) com o servidor de aplicação em %1 falhou: o "
                       "certificado do servidor não é reconhecido pela autoridade certificadora "
                       "configurada no host ou não é deste endereço, o servidor exige um "
                       "certificado deste computador, ou o servidor não usa TLS.")
            .arg(endpoint.Address()));
}

EConnectionError EConnectionError::PlainConnectionRefused(const ServerEndpoint& endpoint) {
    return EConnectionError(
        QStringLiteral("O servidor de aplicação em %1 recusou a conexão sem criptografia: ele "
                       "exige conexão segura (TLS), que deve ser configurada no host.")
            .arg(endpoint.Address()));
}

EConnectionError EConnectionError::Unreachable(const ServerList& servers) {
    if (!servers.Several()) return Unreachable(servers.Endpoints().front());
    return EConnectionError(
        QStringLiteral("Não foi possível conectar a nenhum dos servidores de aplicação em %1. "
                       "Verifique se os servidores estão em execução.")
            .arg(servers.Address()));
}

EConnectionError EConnectionError::NoAnswer(const ServerList& servers,
                                            std::chrono::milliseconds deadline) {
    if (!servers.Several()) return NoAnswer(servers.Endpoints().front(), deadline);
    return EConnectionError(
        QStringLiteral("Nenhum dos servidores de aplicação em %1 respondeu em %2.")
            .arg(servers.Address(), Describe(deadline)));
}

EConnectionError EConnectionError::SecureConnectionFailed(const ServerList& servers) {
    if (!servers.Several()) return SecureConnectionFailed(servers.Endpoints().front());
    return EConnectionError(
        QStringLiteral("A conexão segura (TLS) com os servidores de aplicação em %1 falhou: o "
                       "certificado de cada servidor deve ser reconhecido pela autoridade "
                       "certificadora configurada no host e ser do endereço configurado para "
                       "ele; o servidor pode também exigir um certificado deste computador, ou "
                       "não usar TLS.")
            .arg(servers.Address()));
}

EConnectionError EConnectionError::Interrupted(const ServerList& servers) {
    return EConnectionError(
        QStringLiteral("A conexão com o servidor de aplicação caiu antes da resposta (servidores "
                       "em %1). Tente novamente: uma gravação interrompida foi feita por inteiro "
                       "ou não foi feita.")
            .arg(servers.Address()));
}

EConnectionError EConnectionError::PlainConnectionRefused(const ServerList& servers) {
    if (!servers.Several()) return PlainConnectionRefused(servers.Endpoints().front());
    return EConnectionError(
        QStringLiteral("Nenhum dos servidores de aplicação em %1 está em serviço: os que "
                       "respondem exigem conexão segura (TLS), que deve ser configurada no host, "
                       "ou não alcançam o banco de dados.")
            .arg(servers.Address()));
}

}  // namespace fai
