#include "DemoSeeder.h"

#include "RegistrationNumbers.h"
#include "SqlSession.h"

#include <QStringList>

#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace fai::appserver {
namespace {

constexpr int kDaysOfHeadcounts = 90;
constexpr int kDaysOfShiftBreakdown = 30;
constexpr int kDaysOfApportionment = 14;
constexpr int kDaysOfTransport = 30;
constexpr int kDaysNotImportedYet = 10;
constexpr int kDaysPlannedAhead = 14;
constexpr unsigned kSeed = 4004;

const QString kLunch = QStringLiteral("00001");
const QString kTransported = QStringLiteral("00006");

struct BranchSeed {
    const char* code;
    const char* name;
    const char* blockClosedDays;
    double openDaysBefore;
    const char* useProcessingDate;
};

const BranchSeed kBranches[] = {
    {"0001", "São Paulo - Centro", "S", 5, "S"},  // closed-day rule on
    {"0002", "Campinas - Distrito Industrial", "N", 0, "S"},
    {"0003", "Belo Horizonte - Contagem", "S", 3, "N"},
};

struct ServiceSeed {
    const char* code;
    const char* name;
    const char* invoiceText;
    double shareOfLunch;
};

const ServiceSeed kServices[] = {
    {"00001", "ALMOCO", "Refeição almoço", 1.0},
    {"00002", "JANTAR", "Refeição jantar", 0.45},
    {"00003", "CAFE DA MANHA", "Café da manhã", 0.35},
    {"00004", "CEIA", "Ceia noturna", 0.15},
    {"00005", "LANCHE DA TARDE", "Lanche da tarde", 0.3},
    {"00006", "REFEICAO TRANSPORTADA", "Refeição transportada", 1.0},
};

struct ShiftSeed {
    const char* code;
    const char* name;
};

const ShiftSeed kShifts[] = {{"1", "MANHA"}, {"2", "TARDE"}, {"3", "NOITE"}, {"4", "MADRUGADA"}};
constexpr int kShiftsOfSmallBranches = 3;

enum Trait : unsigned {
    kWeekdays = 0,
    kEveryDay = 1,        // serves on Sundays too
    kPlannedLunch = 2,    // lunch compared with the catering planning
    kShiftBreakdown = 4,  // lunch broken down by shift
};

struct ClientSeed {
    char personType;  // 'J' company (CNPJ), 'F' person (CPF)
    const char* name;
    const char* tradeName;
    int lunchDiners;
    const char* services;
    unsigned traits;
};

// clang-format off
const ClientSeed kClients[] = {
    {'J', "Metalúrgica Vale do Paraíba Ltda.",      "Metalvale",            420, "00001 00002 00003",       kPlannedLunch},
    {'J', "Hospital Santa Lúcia S.A.",              "Hospital Santa Lúcia", 310, "00001 00002 00003 00004", kEveryDay | kShiftBreakdown},
    {'J', "Construtora Horizonte Azul Ltda.",       "Horizonte Azul",       160, "00001 00006",             kWeekdays},
    {'J', "Colégio Nossa Senhora Aparecida",        "Colégio Aparecida",    540, "00001 00005",             kPlannedLunch},
    {'J', "Indústria de Alimentos Serra Verde S.A.", "Serra Verde",         610, "00001 00002 00004",       kEveryDay | kPlannedLunch | kShiftBreakdown},
    {'J', "Transportadora Rota Sul Ltda.",          "Rota Sul",              95, "00001",                   kWeekdays},
    {'J', "Fundação Educacional Ipê Amarelo",       "Fundação Ipê",         230, "00001 00005",             kWeekdays},
    {'J', "Autopeças Bandeirantes Ltda.",           "Bandeirantes",         180, "00001 00003",             kPlannedLunch},
    {'J', "Têxtil Algodão Nobre S.A.",              "Algodão Nobre",        350, "00001 00002",             kShiftBreakdown},
    {'J', "Laboratório Farmacêutico Vida Ltda.",    "Vida Farma",           140, "00001",                   kPlannedLunch},
    {'J', "Mineração Pico do Itabirito S.A.",       "Pico Mineração",       480, "00001 00002 00004",       kEveryDay | kShiftBreakdown},
    {'J', "Usina Sucroalcooleira Santa Clara S.A.", "Usina Santa Clara",    390, "00001 00002 00006",       kEveryDay},
    {'J', "Centro de Distribuição Logmax Ltda.",    "Logmax",               270, "00001 00002",             kEveryDay},
    {'J', "Conecta Brasil Teleatendimento Ltda.",   "Conecta",              210, "00001 00005",             kPlannedLunch},
    {'J', "Clínica Geriátrica Bem Viver Ltda.",     "Bem Viver",             60, "00001 00002 00003 00004", kEveryDay},
    {'F', "Maria Aparecida dos Santos",             "Sítio Boa Esperança",   18, "00001 00006",             kEveryDay},
    {'F', "José Carlos de Oliveira",                "Fazenda Três Irmãos",   35, "00001 00003 00006",       kEveryDay},
    {'F', "Ana Paula Ferreira Lima",                "Pousada Recanto",       12, "00001 00002",             kEveryDay},
    {'F', "Antônio Marcos Pereira",                 "Obra Residencial Jardins", 40, "00001 00006",          kWeekdays},
    {'F', "Luiza Helena Rodrigues",                 nullptr,                  8, "00001",                   kWeekdays},
};

// The clients that split their lunch over apportionment items, by trade name.
const std::map<QString, QStringList> kApportionmentItems{
    {"Hospital Santa Lúcia", {"00001 ALA NORTE", "00002 ALA SUL", "00003 UTI ADULTO", "00004 CORPO CLÍNICO"}},
    {"Colégio Aparecida",    {"00001 ENSINO FUNDAMENTAL", "00002 ENSINO MÉDIO", "00003 PROFESSORES"}},
    {"Logmax",               {"00001 EXPEDIÇÃO", "00002 RECEBIMENTO", "00003 ADMINISTRATIVO"}},
};
// clang-format on

QString Utf8(const char* text) { return QString::fromUtf8(text); }
QString Flag(bool on) { return on ? QStringLiteral("S") : QStringLiteral("N"); }

const ServiceSeed& ServiceNamed(const QString& code) {
    for (const ServiceSeed& service : kServices)
        if (code == Utf8(service.code)) return service;
    throw std::logic_error("demo data: unknown service");
}

struct AssessedPeriod {
    QString number;
    QDate first;
    QDate last;
};

// Shares `total` whole diners out by `weights`, the rest to the last part, so the parts
// always add up to the total exactly.
std::vector<double> Split(double total, const std::vector<int>& weights) {
    int weightSum = 0;
    for (int w : weights) weightSum += w;
    std::vector<double> parts;
    double given = 0;
    for (std::size_t i = 0; i + 1 < weights.size(); ++i) {
        const double part = std::floor(total * weights[i] / weightSum);
        parts.push_back(part);
        given += part;
    }
    parts.push_back(total - given);
    return parts;
}

// The rows written many times over, each statement prepared once.
const QString kHeadcountInsert = QStringLiteral(
    "INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, QTCOMEFATU, QTCOMEPREV, "
    "VRSERVFATUDT, CDFILIFATU, NRAPURACFAT) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
const QString kPlanningInsert = QStringLiteral(
    "INSERT INTO PLANEFETCLI (CDFILIAL, CDCLIENTE, CDSERVFILI, DTPLANEJAM, QTCOMEFETCLI) VALUES "
    "(?, ?, ?, ?, ?)");
const QString kTransportedInsert = QStringLiteral(
    "INSERT INTO EFETTRANSP (CDFILIAL, CDCLIENTE, CDSERVFILI, DTEFETTRANSP, QTEFETTRANSP) VALUES "
    "(?, ?, ?, ?, ?)");
const QString kShiftInsert = QStringLiteral(
    "INSERT INTO EFETTURNO (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAMTUR, CDTURNO, QTCOMFATUTUR) "
    "VALUES (?, ?, ?, ?, ?, ?)");
const QString kLinkInsert = QStringLiteral(
    "INSERT INTO ITRATEFECLIFAT (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, CDSERVPLAN, "
    "NRITEMRATEIOEFET, QTEFETIVOS) VALUES (?, ?, ?, ?, ?, ?, ?)");

class Generator {
  public:
    Generator(SqlSession& session, const QDate& today) : session_(session), today_(today) {}

    void Run() {
        Branches();
        Services();
        Shifts();
        int index = 0;
        for (const ClientSeed& client : kClients) Client(client, index++);
    }

  private:
    int Between(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }

    QString DigitsOf(int count) {
        QString digits;
        for (int i = 0; i < count; ++i) digits += QChar(u'0' + Between(i == 0 ? 1 : 0, 9));
        return digits;
    }

    void Branches() {
        for (const BranchSeed& branch : kBranches) {
            session_.Run(QStringLiteral("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?, ?)"),
                         {Utf8(branch.code), Utf8(branch.name)});
            session_.Run(QStringLiteral("INSERT INTO PARAMFATUR (CDFILIAL, DTPROCESSA, "
                                        "IDBLQEFEDIAFECH, NRDIAANTDTPROC, IDUTILDTPROC) "
                                        "VALUES (?, ?, ?, ?, ?)"),
                         {Utf8(branch.code), SqlDate(today_), Utf8(branch.blockClosedDays),
                          branch.openDaysBefore, Utf8(branch.useProcessingDate)});
        }
    }

    void Services() {
        for (const BranchSeed& branch : kBranches)
            for (const ServiceSeed& service : kServices)
                session_.Run(QStringLiteral("INSERT INTO SERVICO (CDFILIAL, CDSERVFILI, "
                                            "NMSERVICO) VALUES (?, ?, ?)"),
                             {Utf8(branch.code), Utf8(service.code), Utf8(service.name)});
    }

    void Shifts() {
        int branchIndex = 0;
        for (const BranchSeed& branch : kBranches) {
            // The last branch runs a night shift of its own.
            const int count = ++branchIndex == static_cast<int>(std::size(kBranches))
                                  ? static_cast<int>(std::size(kShifts))
                                  : kShiftsOfSmallBranches;
            for (int i = 0; i < count; ++i)
                session_.Run(QStringLiteral("INSERT INTO TURNO (CDFILIAL, CDTURNO, NMTURNO) "
                                            "VALUES (?, ?, ?)"),
                             {Utf8(branch.code), Utf8(kShifts[i].code), Utf8(kShifts[i].name)});
        }
    }

    void Client(const ClientSeed& seed, int index) {
        const QString number = seed.personType == 'J'
                                   ? CnpjWithCheckDigits(DigitsOf(8) + QStringLiteral("0001"))
                                   : CpfWithCheckDigits(DigitsOf(9));
        const QString type(QChar::fromLatin1(seed.personType));
        const QString code = type + number;
        session_.Run(QStringLiteral("INSERT INTO CLIENTE (CDCLIENTE, IDTPIJURCLIE, NRINSJURCLIE, "
                                    "NMRAZSOCCLIE, NMFANTCLIE) VALUES (?, ?, ?, ?, ?)"),
                     {code, type, number, Utf8(seed.name),
                      seed.tradeName ? QVariant(Utf8(seed.tradeName)) : QVariant()});
        const std::vector<QVariant> items = Items(code, seed);
        const int branches = static_cast<int>(std::size(kBranches));
        std::vector<int> servedBy{index % branches};
        if (index % 5 == 0) servedBy.push_back((index + 1) % branches);
        for (int branch : servedBy)
            ClientAtBranch(seed, index, code, Utf8(kBranches[branch].code), items);
    }

    std::vector<QVariant> Items(const QString& client, const ClientSeed& seed) {
        std::vector<QVariant> ids;
        const auto items = seed.tradeName ? kApportionmentItems.find(Utf8(seed.tradeName))
                                          : kApportionmentItems.end();
        if (items == kApportionmentItems.end()) return ids;
        for (const QString& item : items->second) {
            SqlRows inserted = session_.Run(
                QStringLiteral("INSERT INTO ITEMRATEIOEFET (CDCLIENTE, CDITEMRATEIOEFET, "
                               "NMITEMRATEIOEFET) VALUES (?, ?, ?) RETURNING NRITEMRATEIOEFET"),
                {client, item.section(u' ', 0, 0), item.section(u' ', 1)});
            inserted.Next();
            ids.push_back(inserted.Value(0));
        }
        return ids;
    }

    std::vector<AssessedPeriod> Periods(const QString& branch, const QString& client, int index) {
        // The month before last is assessed for everyone, last month for most clients.
        const QDate thisMonth(today_.year(), today_.month(), 1);
        std::vector<AssessedPeriod> periods;
        const int months = index % 3 == 2 ? 1 : 2;
        for (int back = 2; back > 2 - months; --back) {
            const QDate first = thisMonth.addMonths(-back);
            AssessedPeriod period{
                QStringLiteral("%1").arg(++assessments_[branch], 10, 10, QChar(u'0')), first,
                first.addMonths(1).addDays(-1)};
            session_.Run(
                QStringLiteral("INSERT INTO APURACFATCLI (CDFILIAL, CDCLIENTE, "
                               "NRAPURACFAT, DTINIAPURAC, DTFIMAPURAC) "
                               "VALUES (?, ?, ?, ?, ?)"),
                {branch, client, period.number, SqlDate(period.first), SqlDate(period.last)});
            periods.push_back(period);
        }
        return periods;
    }

    void ClientAtBranch(const ClientSeed& seed, int index, const QString& client,
                        const QString& branch, const std::vector<QVariant>& items) {
        session_.Run(QStringLiteral("INSERT INTO CLIENFILIAL (CDFILIAL, CDCLIENTE) VALUES (?, ?)"),
                     {branch, client});
        const std::vector<AssessedPeriod> periods = Periods(branch, client, index);
        const QString tradeName = seed.tradeName ? Utf8(seed.tradeName) : Utf8(seed.name);
        for (const QString& service : Utf8(seed.services).split(u' ')) {
            const ServiceSeed& kind = ServiceNamed(service);
            const bool planned = (seed.traits & kPlannedLunch) && service == kLunch;
            const bool pricedPerDay = service == kTransported || seed.personType == 'F';
            session_.Run(QStringLiteral("INSERT INTO SERVCLIEFILI (CDFILIAL, CDCLIENTE, "
                                        "CDSERVFILI, DSEMISSERCLI, IDCONSCOMFAT, IDVLRVARDATA) "
                                        "VALUES (?, ?, ?, ?, ?, ?)"),
                         {branch, client, service,
                          QStringLiteral("%1 - %2").arg(Utf8(kind.invoiceText), tradeName),
                          Flag(planned), Flag(pricedPerDay)});
            const int diners = std::max(1, static_cast<int>(seed.lunchDiners * kind.shareOfLunch));
            const double price = pricedPerDay ? Between(1490, 3250) / 100.0 : 0.0;
            Days(seed, {branch, client, service, QDate()}, diners, price, planned, periods,
                 service == kLunch ? items : std::vector<QVariant>());
        }
    }

    const AssessedPeriod* PeriodOf(const std::vector<AssessedPeriod>& periods, const QDate& day) {
        for (const AssessedPeriod& period : periods)
            if (period.first <= day && day <= period.last) return &period;
        return nullptr;
    }

    struct Key {
        QString branch, client, service;
        QDate day;
    };

    void Days(const ClientSeed& seed, Key key, int diners, double price, bool planned,
              const std::vector<AssessedPeriod>& periods, const std::vector<QVariant>& items) {
        const bool transported = key.service == kTransported;
        // Transported meals of the last days are still waiting to be imported.
        const QDate lastStored = transported ? today_.addDays(-kDaysNotImportedYet) : today_;
        for (QDate day = today_.addDays(1 - kDaysOfHeadcounts); day <= today_;
             day = day.addDays(1)) {
            if (!(seed.traits & kEveryDay) && day.dayOfWeek() == Qt::Sunday) continue;
            key.day = day;
            const double billed = std::max(0, diners + Between(-diners / 10, diners / 10));
            if (transported && day > today_.addDays(-kDaysOfTransport)) Transported(key, billed);
            if (day > lastStored) continue;
            const double value =
                price > 0 ? std::round((price + Between(-100, 100) / 100.0) * 100) / 100 : 0;
            const AssessedPeriod* period = PeriodOf(periods, day);
            session_.Run(kHeadcountInsert,
                         {key.branch, key.client, key.service, SqlDate(day), billed, double(diners),
                          value, period ? QVariant(key.branch) : QVariant(),
                          period ? QVariant(period->number) : QVariant()});
            if (planned) Planning(key, billed);
            const bool recent = day > today_.addDays(-kDaysOfShiftBreakdown);
            if ((seed.traits & kShiftBreakdown) && key.service == kLunch && recent)
                ShiftBreakdown(key, billed);
            if (!items.empty() && day > today_.addDays(-kDaysOfApportionment))
                Apportionment(key, billed, items);
        }
        if (planned)
            for (int ahead = 1; ahead <= kDaysPlannedAhead; ++ahead) {
                key.day = today_.addDays(ahead);
                Planning(key, diners);
            }
    }

    void Planning(const Key& key, double diners) {
        session_.Run(kPlanningInsert,
                     {key.branch, key.client, key.service, SqlDate(key.day), diners});
    }

    void Transported(const Key& key, double diners) {
        session_.Run(kTransportedInsert,
                     {key.branch, key.client, key.service, SqlDate(key.day), diners});
    }

    void ShiftBreakdown(const Key& key, double billed) {
        const std::vector<double> parts = Split(billed, {6, 4});
        for (std::size_t shift = 0; shift < parts.size(); ++shift)
            session_.Run(kShiftInsert, {key.branch, key.client, key.service, SqlDate(key.day),
                                        Utf8(kShifts[shift].code), parts[shift]});
    }

    void Apportionment(const Key& key, double billed, const std::vector<QVariant>& items) {
        std::vector<int> weights;
        for (std::size_t i = 0; i < items.size(); ++i) weights.push_back(Between(2, 9));
        const std::vector<double> parts = Split(billed, weights);
        for (std::size_t i = 0; i < items.size(); ++i)
            session_.Run(kLinkInsert,
                         {key.branch, key.client, key.service, SqlDate(key.day), key.service,
                          items[i], parts[i] > 0 ? QVariant(parts[i]) : QVariant()});
    }

    SqlSession& session_;
    QDate today_;
    std::mt19937 random_{kSeed};
    std::map<QString, int> assessments_;
};

}  // namespace

bool DemoSeeder::SeedIfEmpty() {
    Transaction transaction(session_, Transaction::Kind::Exclusive);
    if (session_.Any(QStringLiteral("SELECT 1 FROM FILIAL"), {})) return false;
    Generator(session_, today_).Run();
    transaction.Commit();
    return true;
}

}  // namespace fai::appserver
