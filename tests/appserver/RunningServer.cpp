#include "RunningServer.h"

namespace fai::appserver::test {

AppServerConfig RunningServer::TestConfig(const DatabaseLocation& location, bool seedDemo,
                                          int workers, const CallLimits& limits) {
    AppServerConfig config;
    config.listenAddress = QStringLiteral("127.0.0.1:0");
    config.database = location;
    config.seedDemo = seedDemo;
    config.workers = workers;
    config.limits = limits;
    return config;
}

RunningServer::RunningServer(const DatabaseLocation& location, bool seedDemo, int workers,
                             const CallLimits& limits)
    : RunningServer(TestConfig(location, seedDemo, workers, limits)) {}

RunningServer::RunningServer(const AppServerConfig& config)
    : log_([this](const QString& line) {
          std::lock_guard lock(mutex_);
          lines_ << line;
      }),
      server_(config, log_) {
    server_.Start();
}

TrdmEfetFaturDisp& RunningServer::Methods() {
    if (!client_) client_ = Connect();
    return client_->AppServer();
}

RunningServer::~RunningServer() {
    client_.reset();
    server_.Shutdown();
}

std::unique_ptr<TNetConnection> RunningServer::Connect() const {
    auto connection = std::make_unique<TNetConnection>();
    connection->SetHost(QStringLiteral("127.0.0.1"));
    connection->SetPort(server_.Port());
    connection->SetDeadline(std::chrono::seconds(10));
    connection->Connect();
    return connection;
}

QStringList RunningServer::LogLines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

}  // namespace fai::appserver::test
