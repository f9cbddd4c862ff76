#include "PostgresCluster.h"

#include <QProcess>

#include <stdexcept>

namespace fai::appserver::test {
namespace {

constexpr int kWaitMs = 120'000;

QString Run(const QStringList& arguments) {
    QProcess script;
    script.start(QStringLiteral(FAI_PG_CLUSTER_SCRIPT), arguments);
    const bool finished = script.waitForFinished(kWaitMs);
    const QString output = QString::fromUtf8(script.readAllStandardOutput());
    if (!finished || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        throw std::runtime_error("pg-cluster " + arguments.join(u' ').toStdString() + ": " +
                                 output.toStdString() +
                                 script.readAllStandardError().toStdString());
    return output.trimmed();
}

}  // namespace

PostgresCluster::PostgresCluster() {
    const QStringList made = Run({QStringLiteral("init")}).split(u' ');
    if (made.size() != 2)
        throw std::runtime_error("pg-cluster init: " + made.join(u' ').toStdString());
    dataDirectory_ = made[0];
    location_ = DatabaseLocation::Parse(made[1]);
}

PostgresCluster::~PostgresCluster() {
    try {
        Run({QStringLiteral("remove"), dataDirectory_});
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
}

void PostgresCluster::Stop() { Run({QStringLiteral("stop"), dataDirectory_}); }

void PostgresCluster::Start() { Run({QStringLiteral("start"), dataDirectory_}); }

}  // namespace fai::appserver::test
