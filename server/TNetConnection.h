#pragma once

#include "ConnectionError.h"
#include "ServerAccess.h"
#include "TrdmEfetFaturDisp.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace fai {

// A screen's connection to the application server. The screen sets host and port in
// BeforeConnect, which runs at the start of every Connect, so a changed working context
// takes effect at the next connection. The host may name several servers of one database,
// separated by commas, each with a port of its own or the connection's (ServerList::Parse):
// the calls are then spread over those that serve, and the connection fails only when none
// does.
//
// Connect opens a fresh channel and waits until the server answers, at most Deadline(),
// which also bounds every call made through AppServer(). A server that is not running is
// reported at once; one that does not answer, when the deadline passes. Either is an
// EConnectionError naming host and port; nothing waits longer than the deadline.
//
// ThrowException (true by default) decides where a failed Connect is reported. True: Connect
// raises it. False: Connect returns with Connected() false and keeps the failure; every
// AppServer() until the next Connect or Disconnect tries the same server again and, while it
// still cannot be reached, raises the failure, so the user learns which server could not be
// reached at the moment the screen needs it, and the first call once it is up connects.
// AppServer() on a connection that never tried, or after Disconnect, raises "Não há conexão
// com o servidor de aplicação.". An exception raised by BeforeConnect itself always
// propagates.
class TNetConnection {
  public:
    TNetConnection();
    ~TNetConnection();
    TNetConnection(const TNetConnection&) = delete;
    TNetConnection& operator=(const TNetConnection&) = delete;

    const QString& Host() const { return endpoint_.host; }
    void SetHost(const QString& host) { endpoint_.host = host; }
    int Port() const { return endpoint_.port; }
    void SetPort(int port) { endpoint_.port = port; }

    // The remote data module to reach; Connect refuses a name this client does not speak.
    const QString& ServerName() const { return serverName_; }
    void SetServerName(const QString& serverName) { serverName_ = serverName; }

    // TLS and the session the calls go with: the host's unless another is given; taken at
    // the next Connect.
    const std::shared_ptr<ServerAccess>& Access() const { return access_; }
    void SetAccess(std::shared_ptr<ServerAccess> access) { access_ = std::move(access); }

    bool ThrowException() const { return throwException_; }
    void SetThrowException(bool throwException) { throwException_ = throwException; }

    // From 1 ms to one hour (std::invalid_argument otherwise); applies to calls at once.
    std::chrono::milliseconds Deadline() const { return deadline_; }
    void SetDeadline(std::chrono::milliseconds deadline);

    std::function<void(TNetConnection&)> BeforeConnect;

    // Drops any current connection first: every Connect is a new one.
    void Connect();
    void Disconnect();
    // Connect succeeded and no Disconnect since. A server that stops later is found out by
    // the next call, which raises EConnectionError; every call after that tries the server
    // afresh, so the first one once the server is back works.
    bool Connected() const { return appServer_ != nullptr; }

    // The method table of the connected server. Valid until the next Connect or Disconnect.
    TrdmEfetFaturDisp& AppServer();

  private:
    void Open();

    ServerEndpoint endpoint_;
    QString serverName_;
    std::shared_ptr<ServerAccess> access_ = ServerAccess::Host();
    bool throwException_ = true;
    std::chrono::milliseconds deadline_{std::chrono::seconds(30)};
    std::unique_ptr<TrdmEfetFaturDisp> appServer_;
    std::optional<EConnectionError> failure_;
};

}  // namespace fai
