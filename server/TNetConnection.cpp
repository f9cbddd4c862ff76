#include "TNetConnection.h"

#include "RpcSession.h"

#include <stdexcept>

namespace fai {
namespace {

// No screen waits that long for an answer, and a longer one would overflow the clock
// arithmetic of the calls' deadlines when someone passes "forever".
constexpr std::chrono::milliseconds kLongestDeadline = std::chrono::hours(1);

}  // namespace

TNetConnection::TNetConnection() : serverName_(TrdmEfetFaturDisp::ServiceName()) {}

TNetConnection::~TNetConnection() = default;

void TNetConnection::SetDeadline(std::chrono::milliseconds deadline) {
    if (deadline <= std::chrono::milliseconds::zero() || deadline > kLongestDeadline)
        throw std::invalid_argument("TNetConnection: the deadline must be from 1 ms to 1 hour");
    deadline_ = deadline;
    if (appServer_) appServer_->SetDeadline(deadline);
}

void TNetConnection::Connect() {
    Disconnect();
    if (BeforeConnect) BeforeConnect(*this);
    try {
        Open();
    } catch (const EConnectionError& failure) {
        if (throwException_) throw;
        failure_ = failure;
    }
}

void TNetConnection::Open() {
    if (serverName_ != TrdmEfetFaturDisp::ServiceName())
        throw EConnectionError::UnknownServer(serverName_, TrdmEfetFaturDisp::ServiceName());
    appServer_ = std::make_unique<TrdmEfetFaturDisp>(
        RpcSession::Open(ServerList::Parse(endpoint_.host, endpoint_.port), deadline_, access_));
}

void TNetConnection::Disconnect() {
    appServer_.reset();
    failure_.reset();
}

// A connection that failed to open is tried again at each call, as a failing channel is: a
// screen opened while the server was down reaches it at the first action once it is up.
TrdmEfetFaturDisp& TNetConnection::AppServer() {
    if (appServer_) return *appServer_;
    if (!failure_) throw EConnectionError::NotConnected();
    try {
        Open();
    } catch (const EConnectionError& failure) {
        failure_ = failure;
        throw;
    }
    failure_.reset();
    return *appServer_;
}

}  // namespace fai
