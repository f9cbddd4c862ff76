// bench_appserver: the application server over a database of millions of headcounts, on
// SQLite and on PostgreSQL. Each method's latency (median, 99th percentile) is printed beside
// its floor, the SQL the method sends run directly on the same database plus an empty gRPC
// call, with the ratio of the two; then the throughput of many clerks saving at once.
#include "BenchPlan.h"
#include "BenchRun.h"
#include "Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

using fai::appserver::bench::BenchPlan;
using fai::appserver::bench::BenchRun;

int Positive(const QCommandLineParser& parser, const QCommandLineOption& option) {
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 1)
        throw fai::EError(QStringLiteral("--%1 takes a whole number above 0, not \"%2\".")
                              .arg(option.names().constLast(), parser.value(option)));
    return value;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures fai-appserver on each database given, seeding an empty one first."));
    parser.addHelpOption();
    const BenchPlan defaults;
    const BenchRun::Settings settings;
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("sqlite:PATH or postgresql://user@host:port/dbname; repeatable."),
        QStringLiteral("location"));
    const QCommandLineOption branches(QStringLiteral("branches"), QStringLiteral("Branches."),
                                      QStringLiteral("n"), QString::number(defaults.branches));
    const QCommandLineOption clients(QStringLiteral("clients"), QStringLiteral("Clients."),
                                     QStringLiteral("n"), QString::number(defaults.clients));
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Days of headcounts."),
                                  QStringLiteral("n"), QString::number(defaults.days));
    const QCommandLineOption samples(QStringLiteral("samples"),
                                     QStringLiteral("Calls measured per method."),
                                     QStringLiteral("n"), QString::number(settings.samples));
    const QCommandLineOption concurrent(QStringLiteral("concurrent"),
                                        QStringLiteral("Clients saving at once."),
                                        QStringLiteral("n"), QString::number(settings.concurrent));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("How long they save."), QStringLiteral("n"),
                                     QString::number(settings.seconds));
    const QCommandLineOption workers(QStringLiteral("workers"),
                                     QStringLiteral("Database workers of the server."),
                                     QStringLiteral("n"), QString::number(settings.workers));
    const QCommandLineOption kills(QStringLiteral("kills"),
                                   QStringLiteral("Times a server is killed under reads."),
                                   QStringLiteral("n"), QString::number(settings.kills));
    const QCommandLineOption hosts(
        QStringLiteral("hosts"),
        QStringLiteral("Measure only this many hosts reading at once, each on a connection of "
                       "its own."),
        QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions(
        {database, branches, clients, days, samples, concurrent, seconds, workers, kills, hosts});
    parser.process(app);
    try {
        if (parser.values(database).isEmpty())
            throw fai::EError(QStringLiteral("Give at least one --database."));
        BenchPlan plan;
        plan.branches = Positive(parser, branches);
        plan.clients = Positive(parser, clients);
        plan.days = Positive(parser, days);
        BenchRun::Settings chosen;
        chosen.samples = Positive(parser, samples);
        chosen.concurrent = Positive(parser, concurrent);
        chosen.seconds = Positive(parser, seconds);
        chosen.workers = Positive(parser, workers);
        chosen.kills = Positive(parser, kills);
        chosen.hosts = parser.value(hosts) == u"0" ? 0 : Positive(parser, hosts);
        bool allAnswered = true;
        for (const QString& location : parser.values(database)) {
            BenchRun run(fai::DatabaseLocation::Parse(location), plan, chosen);
            allAnswered = (chosen.hosts > 0 ? run.RunManyHosts() : run.Run()) && allAnswered;
        }
        return allAnswered ? 0 : 1;
    } catch (const fai::EError& e) {
        std::fprintf(stderr, "bench_appserver: %s\n", e.Message().toUtf8().constData());
        return 1;
    }
}
