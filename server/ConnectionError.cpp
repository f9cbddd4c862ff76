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
    return EConnectionError(
        QStringLiteral("O endereço do servidor de aplicação \"%1\" não é válido. Verifique o "
                       "servidor e a porta configurados.")
            .arg(endpoint.Address()));
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

}  // namespace fai
