#include "SpreadTarget.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QStringList>

#include <grpcpp/security/tls_certificate_provider.h>
#include <grpcpp/security/tls_certificate_verifier.h>
#include <grpcpp/security/tls_credentials_options.h>

namespace fai {
namespace {

QString BareHost(const ServerEndpoint& endpoint) {
    QString host = endpoint.host;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

// A name with IPv4 addresses is reached over them alone, so that a machine without IPv6 needs
// no IPv6 address in the target.
QList<QHostAddress> AddressesOf(const QString& host) {
    const QHostAddress literal(host);
    if (!literal.isNull()) return {literal};
    const QList<QHostAddress> all = QHostInfo::fromName(host).addresses();
    QList<QHostAddress> ipv4;
    for (const QHostAddress& address : all) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) ipv4 << address;
    }
    return ipv4.isEmpty() ? all : ipv4;
}

// A server's certificate names it by DNS name or IP address.
class OneOfTheServers : public grpc::experimental::ExternalCertificateVerifier {
  public:
    explicit OneOfTheServers(QStringList hosts) : hosts_(std::move(hosts)) {}

    bool Verify(grpc::experimental::TlsCustomVerificationCheckRequest* request,
                std::function<void(grpc::Status)>, grpc::Status* status) override {
        std::vector<grpc::string_ref> names = request->dns_names();
        const std::vector<grpc::string_ref> ips = request->ip_names();
        names.insert(names.end(), ips.begin(), ips.end());
        for (const grpc::string_ref& name : names) {
            if (Names(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))) {
                *status = grpc::Status::OK;
                return true;
            }
        }
        *status = grpc::Status(grpc::StatusCode::UNAUTHENTICATED,
                               "the certificate names none of the configured servers");
        return true;
    }

    void Cancel(grpc::experimental::TlsCustomVerificationCheckRequest*) override {}

  private:
    bool Names(const QString& name) const {
        const QHostAddress address(name);
        for (const QString& host : hosts_) {
            if (address.isNull() ? host.compare(name, Qt::CaseInsensitive) == 0
                                 : address.isEqual(QHostAddress(host)))
                return true;
        }
        return false;
    }

    QStringList hosts_;
};

}  // namespace

std::string SpreadTarget::Of(const ServerList& servers) {
    std::vector<std::pair<QHostAddress, int>> addresses;
    bool anyIpv6 = false;
    for (const ServerEndpoint& endpoint : servers.Endpoints()) {
        for (const QHostAddress& address : AddressesOf(BareHost(endpoint))) {
            addresses.emplace_back(address, endpoint.port);
            anyIpv6 = anyIpv6 || address.protocol() == QAbstractSocket::IPv6Protocol;
        }
    }
    if (addresses.empty()) return {};
    // One target has one scheme: with any IPv6 address, IPv4 ones go as IPv6 mapped to them.
    QStringList written;
    for (const auto& [address, port] : addresses) {
        if (!anyIpv6) {
            written << QStringLiteral("%1:%2").arg(address.toString()).arg(port);
        } else {
            const QHostAddress v6(address.toIPv6Address());
            written << QStringLiteral("[%1]:%2").arg(v6.toString()).arg(port);
        }
    }
    return (anyIpv6 ? "ipv6:" : "ipv4:") + written.join(QLatin1Char(',')).toStdString();
}

const char* SpreadTarget::ServiceConfig() {
    return R"({"loadBalancingConfig": [{"round_robin": {}}],
               "healthCheckConfig": {"serviceName": ""}})";
}

std::shared_ptr<grpc::ChannelCredentials> SpreadTarget::Tls(const ServerList& servers,
                                                            const std::string& root,
                                                            const std::string& certificate,
                                                            const std::string& key) {
    grpc::experimental::TlsChannelCredentialsOptions options;
    std::vector<grpc::experimental::IdentityKeyCertPair> identity;
    if (!certificate.empty()) identity.push_back({key, certificate});
    if (!root.empty() || !identity.empty()) {
        options.set_certificate_provider(
            std::make_shared<grpc::experimental::StaticDataCertificateProvider>(root, identity));
    }
    if (!root.empty()) options.watch_root_certs();
    if (!identity.empty()) options.watch_identity_key_cert_pairs();
    options.set_verify_server_certs(true);
    options.set_check_call_host(false);
    QStringList hosts;
    for (const ServerEndpoint& endpoint : servers.Endpoints()) hosts << BareHost(endpoint);
    options.set_certificate_verifier(
        grpc::experimental::ExternalCertificateVerifier::Create<OneOfTheServers>(hosts));
    return grpc::experimental::TlsCredentials(options);
}

}  // namespace fai
