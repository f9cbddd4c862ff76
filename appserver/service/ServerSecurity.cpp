#include "ServerSecurity.h"

#include "Errors.h"

#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>

#include <grpcpp/security/server_credentials.h>

namespace fai::appserver {
namespace {

// The PEM text of a file, which must hold a block of the kind: what gRPC would otherwise
// reject with no word on which file was wrong.
std::string Pem(const QString& path, const QString& what, const char* block) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(
            QStringLiteral("Não foi possível ler %1 %2: %3.").arg(what, path, file.errorString()));
    const QByteArray text = file.readAll();
    if (!text.contains(block))
        throw EError(QStringLiteral("O arquivo %1 não contém %2 em formato PEM.").arg(path, what));
    return text.toStdString();
}

}  // namespace

ServerSecurity::Reach ServerSecurity::ReachOf(const QString& listenAddress) {
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*)$"));
    if (listenAddress.startsWith(QLatin1String("unix:"))) return Reach::ThisMachine;
    const qsizetype colon = listenAddress.lastIndexOf(u':');
    bool portOk = false;
    const int port = colon < 0 ? 0 : listenAddress.mid(colon + 1).toInt(&portOk);
    if (!portOk || port < 0 || port > 65535) return Reach::Invalid;
    QString host = listenAddress.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']')) host = host.mid(1, host.size() - 2);
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return Reach::ThisMachine;
    const QHostAddress address(host);
    if (!address.isNull()) return address.isLoopback() ? Reach::ThisMachine : Reach::Network;
    return hostName.match(host).hasMatch() ? Reach::Network : Reach::Invalid;
}

std::shared_ptr<grpc::ServerCredentials> ServerSecurity::Credentials(const TlsFiles& files) {
    if (!files.Enabled()) {
        if (!files.key.isEmpty() || !files.clientCa.isEmpty())
            throw EError(
                QStringLiteral("A chave TLS e a AC de clientes só valem com o "
                               "certificado do servidor (--tls-cert)."));
        return grpc::InsecureServerCredentials();
    }
    if (files.key.isEmpty())
        throw EError(QStringLiteral("Informe a chave privada do certificado TLS (--tls-key)."));
    grpc::SslServerCredentialsOptions options(
        files.clientCa.isEmpty() ? GRPC_SSL_DONT_REQUEST_CLIENT_CERTIFICATE
                                 : GRPC_SSL_REQUEST_AND_REQUIRE_CLIENT_CERTIFICATE_AND_VERIFY);
    options.pem_key_cert_pairs.push_back(
        {Pem(files.key, QStringLiteral("a chave TLS"), "PRIVATE KEY-----"),
         Pem(files.certificate, QStringLiteral("o certificado TLS"),
             "-----BEGIN CERTIFICATE-----")});
    if (!files.clientCa.isEmpty())
        options.pem_root_certs =
            Pem(files.clientCa, QStringLiteral("a AC dos clientes"), "-----BEGIN CERTIFICATE-----");
    return grpc::SslServerCredentials(options);
}

}  // namespace fai::appserver
