#include "BulkSeeder.h"

#include "SqlSession.h"

#include <cmath>
#include <map>
#include <vector>

namespace fai::appserver::bench {
namespace {

// Below SQLite's limit of bound parameters per statement whatever the table.
constexpr int kParametersPerStatement = 30'000;
constexpr int kMaxRowsPerStatement = 1'000;
constexpr qint64 kRowsPerTransaction = 200'000;

// Rows of one table gathered into multi-row INSERTs; the statement for a full batch is
// prepared once, by the session. A table whose rows refer to another's writes that one's pending
// rows first.
class BulkInsert {
  public:
    BulkInsert(SqlSession& session, const QString& table, const QStringList& columns,
               BulkInsert* parent = nullptr)
        : session_(session),
          table_(table),
          columns_(columns),
          parent_(parent),
          rowsPerStatement_(std::min(kMaxRowsPerStatement,
                                     kParametersPerStatement / static_cast<int>(columns.size()))) {}

    void Add(const QVariantList& row) {
        pending_ += row;
        if (pending_.size() == rowsPerStatement_ * columns_.size()) Flush();
    }

    // Writes what is pending; how many rows the table got so far.
    qint64 Flush() {
        if (parent_) parent_->Flush();
        const qsizetype rows = pending_.size() / columns_.size();
        if (rows > 0) session_.Run(Sql(rows), pending_);
        written_ += rows;
        pending_.clear();
        return written_;
    }

  private:
    QString Sql(qsizetype rows) const {
        const QString one =
            u'(' + QStringList(columns_.size(), QStringLiteral("?")).join(u',') + u')';
        return QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table_, columns_.join(u',')) +
               QStringList(rows, one).join(u',');
    }

    SqlSession& session_;
    QString table_;
    QStringList columns_;
    BulkInsert* parent_;
    int rowsPerStatement_;
    QVariantList pending_;
    qint64 written_ = 0;
};

QString Date(const QDate& day) { return SqlDate(day); }

}  // namespace

qint64 BulkSeeder::Seed() {
    Transaction transaction(session_, Transaction::Kind::Write);
    Branches();
    Clients();
    transaction.Commit();
    return Headcounts();
}

void BulkSeeder::Branches() {
    BulkInsert branches(session_, QStringLiteral("FILIAL"), {"CDFILIAL", "NMFILIAL"});
    BulkInsert params(
        session_, QStringLiteral("PARAMFATUR"),
        {"CDFILIAL", "DTPROCESSA", "IDBLQEFEDIAFECH", "NRDIAANTDTPROC", "IDUTILDTPROC"}, &branches);
    BulkInsert services(session_, QStringLiteral("SERVICO"),
                        {"CDFILIAL", "CDSERVFILI", "NMSERVICO"}, &branches);
    BulkInsert shifts(session_, QStringLiteral("TURNO"), {"CDFILIAL", "CDTURNO", "NMTURNO"},
                      &branches);
    const QStringList serviceNames{"ALMOCO", "JANTAR",          "CAFE DA MANHA",
                                   "CEIA",   "LANCHE DA TARDE", "REFEICAO TRANSPORTADA"};
    const QStringList shiftNames{"MANHA", "TARDE", "NOITE"};
    for (int b = 0; b < plan_.branches; ++b) {
        const QString branch = BenchPlan::Branch(b);
        branches.Add({branch, QStringLiteral("Filial %1").arg(branch)});
        const QString closes = BenchPlan::ClosesDays(b) ? QStringLiteral("S") : QStringLiteral("N");
        params.Add({branch, Date(plan_.Last()), closes, double(BenchPlan::kOpenDays),
                    QStringLiteral("S")});
        for (int s = 0; s < serviceNames.size(); ++s)
            services.Add(
                {branch, QStringLiteral("%1").arg(s + 1, 5, 10, QChar(u'0')), serviceNames[s]});
        for (int t = 0; t < BenchPlan::kShiftsPerBranch; ++t)
            shifts.Add({branch, QString::number(t + 1), shiftNames[t]});
    }
    for (BulkInsert* table : {&branches, &params, &services, &shifts}) table->Flush();
}

void BulkSeeder::Clients() {
    BulkInsert clients(session_, QStringLiteral("CLIENTE"),
                       {"CDCLIENTE", "IDTPIJURCLIE", "NRINSJURCLIE", "NMRAZSOCCLIE", "NMFANTCLIE"});
    BulkInsert atBranch(session_, QStringLiteral("CLIENFILIAL"), {"CDFILIAL", "CDCLIENTE"},
                        &clients);
    BulkInsert services(
        session_, QStringLiteral("SERVCLIEFILI"),
        {"CDFILIAL", "CDCLIENTE", "CDSERVFILI", "DSEMISSERCLI", "IDCONSCOMFAT", "IDVLRVARDATA"},
        &atBranch);
    BulkInsert periods(session_, QStringLiteral("APURACFATCLI"),
                       {"CDFILIAL", "CDCLIENTE", "NRAPURACFAT", "DTINIAPURAC", "DTFIMAPURAC"},
                       &atBranch);
    BulkInsert items(session_, QStringLiteral("ITEMRATEIOEFET"),
                     {"CDCLIENTE", "CDITEMRATEIOEFET", "NMITEMRATEIOEFET"}, &clients);
    const QStringList itemNames{"ADMINISTRATIVO", "PRODUCAO", "TERCEIROS"};
    for (int c = 0; c < plan_.clients; ++c) {
        const QString code = BenchPlan::ClientCode(c);
        const QString branch = BenchPlan::Branch(plan_.BranchOf(c));
        clients.Add({code, code.left(1), code.mid(1),
                     QStringLiteral("Empresa Cliente %1 Ltda.").arg(c + 1),
                     QStringLiteral("Cliente %1").arg(c + 1)});
        atBranch.Add({branch, code});
        for (const QString& service : BenchPlan::ServicesOf(c))
            services.Add({branch, code, service,
                          QStringLiteral("Refeições - Cliente %1").arg(c + 1), QStringLiteral("N"),
                          QStringLiteral("N")});
        int number = 0;
        for (QDate month(plan_.First().year(), plan_.First().month(), 1);
             month < plan_.FirstNotAssessed(); month = month.addMonths(1))
            periods.Add({branch, code, QStringLiteral("%1").arg(++number, 10, 10, QChar(u'0')),
                         Date(month), Date(month.addMonths(1).addDays(-1))});
        if (BenchPlan::Apportions(c))
            for (int i = 0; i < BenchPlan::kItemsPerClient; ++i)
                items.Add(
                    {code, QStringLiteral("%1").arg(i + 1, 5, 10, QChar(u'0')), itemNames[i]});
    }
    for (BulkInsert* table : {&clients, &atBranch, &services, &periods, &items}) table->Flush();
}

qint64 BulkSeeder::Headcounts() {
    // The numbers the database gave the items, by client.
    std::map<QString, std::vector<QVariant>> itemsOf;
    SqlRows items =
        session_.Run(QStringLiteral("SELECT CDCLIENTE, NRITEMRATEIOEFET FROM ITEMRATEIOEFET ORDER "
                                    "BY CDCLIENTE, CDITEMRATEIOEFET"));
    while (items.Next()) itemsOf[items.Value(0).toString()].push_back(items.Value(1));

    BulkInsert headcounts(session_, QStringLiteral("EFETFATUR"),
                          {"CDFILIAL", "CDCLIENTE", "CDSERVFILI", "DTFATURAM", "QTCOMEFATU",
                           "QTCOMEPREV", "VRSERVFATUDT", "CDFILIFATU", "NRAPURACFAT"});
    BulkInsert shifts(
        session_, QStringLiteral("EFETTURNO"),
        {"CDFILIAL", "CDCLIENTE", "CDSERVFILI", "DTFATURAMTUR", "CDTURNO", "QTCOMFATUTUR"},
        &headcounts);
    BulkInsert links(session_, QStringLiteral("ITRATEFECLIFAT"),
                     {"CDFILIAL", "CDCLIENTE", "CDSERVFILI", "DTFATURAM", "CDSERVPLAN",
                      "NRITEMRATEIOEFET", "QTEFETIVOS"},
                     &headcounts);
    auto transaction = std::make_unique<Transaction>(session_, Transaction::Kind::Write);
    qint64 sinceCommit = 0, rows = 0;
    const QString lunch = QStringLiteral("00001");
    for (int b = 0; b < plan_.branches; ++b) {
        const QString branch = BenchPlan::Branch(b);
        for (int c = b; c < plan_.clients; c += plan_.branches) {
            const QString code = BenchPlan::ClientCode(c);
            for (const QString& service : BenchPlan::ServicesOf(c)) {
                int month = 0, number = 0;
                for (QDate day = plan_.First(); day <= plan_.Last(); day = day.addDays(1)) {
                    if (day.month() != month) {
                        month = day.month();
                        ++number;
                    }
                    if (!BenchPlan::Serves(c, day)) continue;
                    const double billed = BenchPlan::Billed(c, service, day);
                    const bool assessed = day < plan_.FirstNotAssessed();
                    headcounts.Add(
                        {branch, code, service, Date(day), billed, billed + 2, 0.0,
                         assessed ? QVariant(branch) : QVariant(),
                         assessed ? QVariant(QStringLiteral("%1").arg(number, 10, 10, QChar(u'0')))
                                  : QVariant()});
                    ++rows;
                    ++sinceCommit;
                    if (service != lunch) continue;
                    if (BenchPlan::BreaksDownByShift(c)) {
                        const double morning = std::floor(billed * 0.6);
                        shifts.Add(
                            {branch, code, service, Date(day), QStringLiteral("1"), morning});
                        shifts.Add({branch, code, service, Date(day), QStringLiteral("2"),
                                    billed - morning});
                        sinceCommit += 2;
                    }
                    if (BenchPlan::Apportions(c)) {
                        const std::vector<QVariant>& ids = itemsOf[code];
                        const double share = std::floor(billed / ids.size());
                        for (std::size_t i = 0; i < ids.size(); ++i)
                            links.Add(
                                {branch, code, service, Date(day), service, ids[i],
                                 i + 1 < ids.size() ? share : billed - share * (ids.size() - 1)});
                        sinceCommit += static_cast<qint64>(ids.size());
                    }
                }
            }
            if (sinceCommit < kRowsPerTransaction) continue;
            shifts.Flush();
            links.Flush();
            progress_(rows);
            transaction->Commit();
            transaction = std::make_unique<Transaction>(session_, Transaction::Kind::Write);
            sinceCommit = 0;
        }
    }
    shifts.Flush();
    links.Flush();
    transaction->Commit();
    progress_(rows);
    session_.Execute(QStringLiteral("ANALYZE"));
    return rows;
}

}  // namespace fai::appserver::bench
