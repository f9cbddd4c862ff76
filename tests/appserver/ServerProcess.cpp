#include "ServerProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

namespace fai::appserver::test {
namespace {

constexpr int kWaitMs = 20'000;
constexpr int kPollMs = 20;

}  // namespace

ServerProcess::ServerProcess(const QStringList& arguments, const QString& logFile) {
    static const QRegularExpression listening(QStringLiteral("escutando na porta (\\d+)"));
    process_.setReadChannel(QProcess::StandardError);
    process_.start(
        QStringLiteral(FAI_APPSERVER_PROGRAM),
        arguments + QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    const auto said = [&] {
        if (logFile.isEmpty()) return ErrorOutput();
        QFile log(logFile);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    };
    const QDeadlineTimer deadline(kWaitMs);
    while (port_ == 0 && !deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
        const QRegularExpressionMatch match = listening.match(said());
        if (match.hasMatch())
            port_ = match.captured(1).toInt();
        else
            process_.waitForReadyRead(kPollMs);
    }
    if (port_ == 0)
        throw std::runtime_error("fai-appserver did not start: " + said().toStdString() +
                                 ErrorOutput().toStdString());
}

QStringList ServerProcess::DatabaseArguments(const DatabaseLocation& location) {
    return {QStringLiteral("--database"), location.kind == DatabaseKind::Sqlite
                                              ? QStringLiteral("sqlite:") + location.path
                                              : location.Describe()};
}

ServerProcess::~ServerProcess() {
    if (process_.state() != QProcess::NotRunning) Kill();
}

std::unique_ptr<TNetConnection> ServerProcess::Connect() const {
    auto connection = std::make_unique<TNetConnection>();
    connection->SetHost(QStringLiteral("127.0.0.1"));
    connection->SetPort(port_);
    connection->SetDeadline(std::chrono::seconds(30));
    connection->Connect();
    return connection;
}

void ServerProcess::Kill() {
    process_.kill();
    process_.waitForFinished(kWaitMs);
}

int ServerProcess::Stop() {
    process_.terminate();
    if (!process_.waitForFinished(kWaitMs) || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

QString ServerProcess::ErrorOutput() {
    err_ += QString::fromUtf8(process_.readAllStandardError());
    return err_;
}

}  // namespace fai::appserver::test
