// Every reading method of the server, called through the real client on both databases.
#include "CheckResultServ.h"
#include "Deltas.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"
#include "TestSeed.h"

#include <QRegularExpression>

#include <thread>

namespace fai::appserver::test {
namespace {

using namespace sample;

FieldDef Text(const char* name, int size) {
    return {QString::fromLatin1(name), FieldType::String, size, false};
}
FieldDef Fixed(const char* name, int size) {
    return {QString::fromLatin1(name), FieldType::String, size, true};
}
FieldDef Float(const char* name) { return {QString::fromLatin1(name), FieldType::Float, 0, false}; }
FieldDef Date(const char* name) {
    return {QString::fromLatin1(name), FieldType::DateTime, 0, false};
}

std::vector<Value> Texts(std::initializer_list<const char*> texts) {
    std::vector<Value> values;
    for (const char* text : texts) values.emplace_back(QString::fromUtf8(text));
    return values;
}

// A fresh server over the sample data for every test.
class ReadMethods : public SampleTest {
  protected:
    TrdmEfetFaturDisp& Methods() { return server_->Methods(); }
    // The one packet of a single-packet answer, through the screens' own result check.
    static DataPacket Single(const ServerResult& result) {
        std::vector<DataPacket> payload = CheckResultServ(result, true, 0);
        EXPECT_EQ(payload.size(), 1u);
        return payload.at(0);
    }
};

TEST_P(ReadMethods, EveryAnswerHasTheFieldsOfTheDatasetThatReceivesIt) {
    struct Case {
        const char* method;
        std::function<ServerResult(TrdmEfetFaturDisp&)> call;
        std::vector<std::vector<FieldDef>> packets;
    };
    QString lunch = kLunch, none;
    QDate day = kDay, zero = ZeroDate();
    const std::vector<FieldDef> headcounts{
        Text("CDFILIAL", 4),   Text("CDSERVFILI", 5),    Text("NMSERVICO", 40),
        Date("DTFATURAM"),     Text("CDCLIENTE", 21),    Float("QTCOMEFATU"),
        Text("CDFILIFATU", 4), Text("NRAPURACFAT", 10),  Float("QTCOMEPREV"),
        Float("VRSERVFATUDT"), Text("DSEMISSERCLI", 400)};
    const std::vector<FieldDef> periods{Text("CDFILIAL", 4), Text("CDCLIENTE", 21),
                                        Text("NRAPURACFAT", 10), Date("DTINIAPURAC"),
                                        Date("DTFIMAPURAC")};
    const std::vector<FieldDef> items{Text("CDCLIENTE", 21), Float("NRITEMRATEIOEFET"),
                                      Text("CDITEMRATEIOEFET", 5), Text("NMITEMRATEIOEFET", 50)};
    const Case cases[] = {
        {"GetParams",
         [](auto& m) { return m.GetParams(kBranch); },
         {{Text("CDFILIAL", 4), Date("DTPROCESSA"), Text("IDBLQEFEDIAFECH", 1),
           Float("NRDIAANTDTPROC"), Text("IDUTILDTPROC", 1)}}},
        {"GetCliente",
         [](auto& m) { return m.GetCliente(kBranch, {}, {}); },
         {{Text("CDCLIENTE", 21), Text("IDTPIJURCLIE", 1), Text("NRINSJURCLIE", 20),
           Text("NMRAZSOCCLIE", 50), Text("NMFANTCLIE", 50)}}},
        {"GetServico",
         [](auto& m) { return m.GetServico(kBranch, kAlfa, {}); },
         {{Text("CDSERVFILI", 5), Text("NMSERVICO", 40), Fixed("IDCONSCOMFAT", 1),
           Fixed("IDVLRVARDATA", 1)}}},
        {"GetEfetFatu by date",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, day, 0); },
         {headcounts, periods, items}},
        {"GetEfetFatu by service",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, lunch, zero, 1); },
         {headcounts, periods, items}},
        {"GetValidaData",
         [](auto& m) { return m.GetValidaData(kBranch, kAlfa, kLunch, kDay); },
         {{Date("DTFATURAM")}}},
        {"GetVerifData",
         [](auto& m) { return m.GetVerifData(kBranch, kLunch, kAlfa); },
         {{Date("DTFATURAM")}}},
        {"GetVlrFatPla",
         [](auto& m) { return m.GetVlrFatPla(kBranch, kLunch, kAlfa, kDay); },
         {{Float("QTCOMEFETCLI")}}},
        {"GetTurno",
         [&](auto& m) { return m.GetTurno(kBranch, kAlfa, lunch, day); },
         {{Text("CDTURNO", 1), Text("NMTURNO", 10), Text("CDFILIAL", 4), Text("CDSERVFILI", 5),
           Text("CDCLIENTE", 21), Date("DTFATURAMTUR"), Float("QTCOMFATUTUR")}}},
        {"GetSomaTurno",
         [&](auto& m) { return m.GetSomaTurno(kBranch, kAlfa, lunch, day); },
         {{Float("SOMA")}}},
        {"GetVdServClie",
         [](auto& m) { return m.GetVdServClie(kBranch, kAlfa, kLunch); },
         {{Text("CDSERVFILI", 20)}}},
        {"GetItRatEfet",
         [](auto& m) { return m.GetItRatEfet(kBranch, kAlfa, kDay, kLunch); },
         {{Float("NRITRATEFECLIFAT"), Text("CDFILIAL", 4), Text("CDSERVFILI", 5),
           Text("CDCLIENTE", 21), Date("DTFATURAM"), Text("CDSERVPLAN", 5),
           Float("NRITEMRATEIOEFET"), Text("CDITEMRATEIOEFET", 5), Text("NMITEMRATEIOEFET", 50),
           Float("QTEFETIVOS")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        const ServerResult result = c.call(Methods());
        ASSERT_TRUE(result.success) << result.error.toStdString();
        ASSERT_EQ(result.payload.size(), c.packets.size());
        for (std::size_t i = 0; i < c.packets.size(); ++i)
            EXPECT_EQ(result.payload[i].fields, c.packets[i]) << "packet " << i;
    }
}

TEST_P(ReadMethods, GetParamsAnswersTheBranchParametersOrNoRow) {
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 3, QStringLiteral("S"));
    const DataPacket params = Single(Methods().GetParams(kBranch));
    ASSERT_EQ(params.rows.size(), 1u);
    EXPECT_EQ(params.rows[0].values, (std::vector<Value>{kBranch, kDay, "S", 3.0, "S"}));
    EXPECT_TRUE(Single(Methods().GetParams(kOtherBranch)).rows.empty());
}

TEST_P(ReadMethods, GetClienteListsTheBranchOrFindsARegistrationNumber) {
    const QString dora = QStringLiteral("F11222333000181");  // same number, other person type
    const QString carla = QStringLiteral("F39053344705");
    seed_
        ->Client(QStringLiteral("F"), QStringLiteral("11222333000181"), QStringLiteral("Dora Lima"))
        .ClientAt(kBranch, dora)
        .Client(QStringLiteral("F"), QStringLiteral("39053344705"), QStringLiteral("Carla Dias"))
        .ClientAt(kOtherBranch, carla);
    struct Case {
        QString branch, number, client;
        std::vector<Value> expected;
    };
    const Case cases[] = {
        {kBranch, {}, {}, {kAlfa, kBruno, dora}},  // by corporate name
        {kOtherBranch, {}, {}, {kBruno, carla}},
        {kBranch, QStringLiteral("52998224725"), {}, {kBruno}},
        {kBranch, QStringLiteral("529.982.247-25"), {}, {kBruno}},  // typed with its mask
        {kBranch, QStringLiteral("11222333000181"), {}, {kAlfa, dora}},
        {kBranch, QStringLiteral("11222333000181"), dora, {dora}},
        {kBranch, QStringLiteral("11222333000181"), kBruno, {kAlfa, dora}},
        {kBranch, QStringLiteral("39053344705"), {}, {}},  // a client of the other branch
        {kBranch, QStringLiteral("99999999999"), {}, {}},
        {kBranch, {}, kBruno, {kBruno}},
        {kBranch, {}, carla, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 / %2 / %3").arg(c.branch, c.number, c.client).toStdString());
        EXPECT_EQ(Column(Single(Methods().GetCliente(c.branch, c.number, c.client)), "CDCLIENTE"),
                  c.expected);
    }
    const DataPacket alfa =
        Single(Methods().GetCliente(kBranch, QStringLiteral("11.222.333/0001-81"), kAlfa));
    ASSERT_EQ(alfa.rows.size(), 1u);
    EXPECT_EQ(alfa.rows[0].values,
              (std::vector<Value>{kAlfa, "J", "11222333000181", "Alfa Refeições Ltda.", "Alfa"}));
    EXPECT_TRUE(At(Single(Methods().GetCliente(kBranch, {}, kBruno)), 0, "NMFANTCLIE").IsNull());
}

TEST_P(ReadMethods, GetServicoListsTheClientsServicesOrFindsOne) {
    const DataPacket all = Single(Methods().GetServico(kBranch, kAlfa, {}));
    ASSERT_EQ(all.rows.size(), 2u);
    EXPECT_EQ(all.rows[0].values, Texts({"00001", "ALMOCO", "N", "S"}));
    EXPECT_EQ(all.rows[1].values, Texts({"00002", "JANTAR", "S", "N"}));
    struct Case {
        QString client, service;
        std::vector<Value> expected;
    };
    const Case cases[] = {
        {kAlfa, kDinner, {kDinner}},
        {kAlfa, kBreakfast, {}},  // a service of the branch, not of this client
        {kAlfa, QStringLiteral("99999"), {}},
        {kBruno, {}, {kLunch}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.client + u'/' + c.service).toStdString());
        EXPECT_EQ(Column(Single(Methods().GetServico(kBranch, c.client, c.service)), "CDSERVFILI"),
                  c.expected);
    }
}

TEST_P(ReadMethods, GetEfetFatuByDateGivesEveryServiceOfTheClientWithWhatIsStored) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118, 21.5)
        .Headcount(Key(kLunch, kDay.addDays(-1)), 90, 95)
        .Headcount({kBranch, kBruno, kLunch, kDay}, 7, 7)
        .Period(kBranch, kAlfa, QStringLiteral("0000000002"), QDate(2026, 2, 1), QDate(2026, 2, 28))
        .Period(kBranch, kAlfa, QStringLiteral("0000000001"), QDate(2026, 1, 1), QDate(2026, 1, 31))
        .Period(kBranch, kBruno, QStringLiteral("0000000003"), QDate(2026, 1, 1),
                QDate(2026, 1, 31));
    const int uti = seed_->Item(kAlfa, QStringLiteral("00003"), QStringLiteral("UTI"));
    const int north = seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    seed_->Item(kBruno, QStringLiteral("00001"), QStringLiteral("CASA"));

    QString service;
    QDate day = kDay;
    const std::vector<DataPacket> answer =
        CheckResultServ(Methods().GetEfetFatu(kAlfa, kBranch, service, day, 0), true, 0);
    ASSERT_EQ(answer.size(), 3u);
    const DataPacket& rows = answer[0];
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0].values,
              (std::vector<Value>{kBranch, kLunch, "ALMOCO", kDay, kAlfa, 120.0, Value(), Value(),
                                  118.0, 21.5, "Almoço - Alfa"}));
    EXPECT_EQ(rows.rows[1].values,
              (std::vector<Value>{kBranch, kDinner, "JANTAR", kDay, kAlfa, Value(), Value(),
                                  Value(), Value(), Value(), "Jantar - Alfa"}));
    ASSERT_EQ(answer[1].rows.size(), 2u);
    EXPECT_EQ(
        answer[1].rows[0].values,
        (std::vector<Value>{kBranch, kAlfa, "0000000001", QDate(2026, 1, 1), QDate(2026, 1, 31)}));
    EXPECT_EQ(Column(answer[1], "NRAPURACFAT"), Texts({"0000000001", "0000000002"}));
    EXPECT_EQ(Column(answer[2], "CDITEMRATEIOEFET"), Texts({"00001", "00003"}));
    EXPECT_EQ(Column(answer[2], "NRITEMRATEIOEFET"),
              (std::vector<Value>{double(north), double(uti)}));
}

TEST_P(ReadMethods, GetEfetFatuByServiceGivesEveryStoredDateOfTheService) {
    seed_
        ->Period(kBranch, kAlfa, QStringLiteral("0000000007"), QDate(2026, 3, 1), QDate(2026, 3, 9))
        .Headcount(Key(kLunch, kDay.addDays(2)), 130, 128)
        .Headcount(Key(kLunch, kDay.addDays(-1)), 90, 95, 0, kBranch, QStringLiteral("0000000007"))
        .Headcount(Key(kLunch, kDay), 120, 118)
        .Headcount(Key(kDinner, kDay), 40, 40)
        .Headcount({kBranch, kBruno, kLunch, kDay}, 7, 7);
    QString service = kLunch;
    QDate zero = ZeroDate();
    const std::vector<DataPacket> answer =
        CheckResultServ(Methods().GetEfetFatu(kAlfa, kBranch, service, zero, 1), true, 0);
    ASSERT_EQ(answer.size(), 3u);
    const DataPacket& rows = answer[0];
    EXPECT_EQ(Column(rows, "DTFATURAM"),
              (std::vector<Value>{kDay.addDays(-1), kDay, kDay.addDays(2)}));
    EXPECT_EQ(Column(rows, "QTCOMEFATU"), (std::vector<Value>{90.0, 120.0, 130.0}));
    EXPECT_EQ(rows.rows[0].values,
              (std::vector<Value>{kBranch, kLunch, "ALMOCO", kDay.addDays(-1), kAlfa, 90.0, kBranch,
                                  "0000000007", 95.0, 0.0, "Almoço - Alfa"}));
    EXPECT_EQ(Column(answer[1], "NRAPURACFAT"), Texts({"0000000007"}));
    EXPECT_TRUE(answer[2].rows.empty());
}

TEST_P(ReadMethods, DateLookupsAnswerAStoredDateOrNoRow) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118).Headcount(Key(kLunch, kDay.addDays(-5)), 1, 1);
    EXPECT_EQ(Column(Single(Methods().GetValidaData(kBranch, kAlfa, kLunch, kDay)), "DTFATURAM"),
              (std::vector<Value>{kDay}));
    EXPECT_TRUE(
        Single(Methods().GetValidaData(kBranch, kAlfa, kLunch, kDay.addDays(1))).rows.empty());
    EXPECT_TRUE(Single(Methods().GetValidaData(kBranch, kAlfa, kDinner, kDay)).rows.empty());
    // The screen builds this client key from the person type and the client box, which may
    // still show the registration number's mask.
    for (const QString& client : {kAlfa, QStringLiteral("J11.222.333/0001-81")}) {
        SCOPED_TRACE(client.toStdString());
        EXPECT_EQ(Column(Single(Methods().GetVerifData(kBranch, kLunch, client)), "DTFATURAM"),
                  (std::vector<Value>{kDay}));
    }
    EXPECT_TRUE(Single(Methods().GetVerifData(kBranch, kDinner, kAlfa)).rows.empty());
}

TEST_P(ReadMethods, GetVlrFatPlaAnswersThePlannedDinersOrNoRow) {
    seed_->Planning(Key(kDinner, kDay), 85.5).Planning(Key(kLunch, kDay), 120);
    EXPECT_EQ(Column(Single(Methods().GetVlrFatPla(kBranch, kDinner, kAlfa, kDay)), "QTCOMEFETCLI"),
              (std::vector<Value>{85.5}));
    EXPECT_TRUE(
        Single(Methods().GetVlrFatPla(kBranch, kDinner, kAlfa, kDay.addDays(1))).rows.empty());
}

TEST_P(ReadMethods, GetTurnoGivesEveryShiftOfTheBranchWithItsStoredQuantity) {
    seed_->Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"))
        .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
        .Shift(kBranch, QStringLiteral("3"), QStringLiteral("NOITE"))
        .Shift(kOtherBranch, QStringLiteral("1"), QStringLiteral("UNICO"))
        .ShiftQuantity(Key(kLunch, kDay), QStringLiteral("1"), 60)
        .ShiftQuantity(Key(kLunch, kDay), QStringLiteral("3"), 40.5)
        .ShiftQuantity(Key(kLunch, kDay.addDays(-1)), QStringLiteral("2"), 99)
        .ShiftQuantity(Key(kDinner, kDay), QStringLiteral("2"), 98);
    QString service = kLunch;
    QDate day = kDay;
    const DataPacket shifts = Single(Methods().GetTurno(kBranch, kAlfa, service, day));
    ASSERT_EQ(shifts.rows.size(), 3u);
    EXPECT_EQ(shifts.rows[0].values,
              (std::vector<Value>{"1", "MANHA", kBranch, kLunch, kAlfa, kDay, 60.0}));
    EXPECT_EQ(Column(shifts, "CDTURNO"), Texts({"1", "2", "3"}));
    EXPECT_EQ(Column(shifts, "QTCOMFATUTUR"), (std::vector<Value>{60.0, Value(), 40.5}));
    EXPECT_EQ(Column(shifts, "DTFATURAMTUR"), (std::vector<Value>{kDay, kDay, kDay}));

    struct Case {
        QDate date;
        double sum;
    };
    // No date yet is a new row: nothing can be stored for it.
    const Case sums[] = {{kDay, 100.5}, {kDay.addDays(1), 0.0}, {ZeroDate(), 0.0}};
    for (const Case& c : sums) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        QDate date = c.date;
        EXPECT_EQ(Column(Single(Methods().GetSomaTurno(kBranch, kAlfa, service, date)), "SOMA"),
                  (std::vector<Value>{c.sum}));
    }
}

TEST_P(ReadMethods, GetVdServClieAnswersTheServiceOnlyWhenRelatedToTheClient) {
    struct Case {
        QString client, service;
        std::vector<Value> expected;
    };
    const Case cases[] = {{kAlfa, kDinner, {kDinner}},
                          {kAlfa, kBreakfast, {}},
                          {kBruno, kDinner, {}},
                          {kAlfa, QStringLiteral("99999"), {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE((c.client + u'/' + c.service).toStdString());
        EXPECT_EQ(
            Column(Single(Methods().GetVdServClie(kBranch, c.client, c.service)), "CDSERVFILI"),
            c.expected);
    }
}

TEST_P(ReadMethods, GetItRatEfetGivesEveryItemOfTheClientWithTheRowsLinks) {
    seed_->Headcount(Key(kLunch, kDay), 30, 30).Headcount(Key(kLunch, kDay.addDays(-1)), 10, 10);
    const int uti = seed_->Item(kAlfa, QStringLiteral("00003"), QStringLiteral("UTI"));
    const int north = seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    const int south = seed_->Item(kAlfa, QStringLiteral("00002"), QStringLiteral("ALA SUL"));
    seed_->Item(kBruno, QStringLiteral("00001"), QStringLiteral("CASA"));
    const int northLink = seed_->Link(Key(kLunch, kDay), north, 30.0);
    const int utiLink = seed_->Link(Key(kLunch, kDay), uti, QVariant());
    seed_->Link(Key(kLunch, kDay.addDays(-1)), south, 10.0);

    const DataPacket items = Single(Methods().GetItRatEfet(kBranch, kAlfa, kDay, kLunch));
    ASSERT_EQ(items.rows.size(), 3u);
    EXPECT_EQ(items.rows[0].values,
              (std::vector<Value>{double(northLink), kBranch, kLunch, kAlfa, kDay, kLunch,
                                  double(north), "00001", "ALA NORTE", 30.0}));
    EXPECT_EQ(items.rows[1].values,
              (std::vector<Value>{Value(), Value(), Value(), kAlfa, Value(), Value(), double(south),
                                  "00002", "ALA SUL", Value()}));
    EXPECT_EQ(Column(items, "NRITRATEFECLIFAT"),
              (std::vector<Value>{double(northLink), Value(), double(utiLink)}));
    EXPECT_EQ(Column(items, "QTEFETIVOS"), (std::vector<Value>{30.0, Value(), Value()}));
}

TEST_P(ReadMethods, GetItRatEfetOfARowNotKeyedYetIsEmpty) {
    seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    struct Case {
        QString branch, client;
        QDate date;
        QString service;
    };
    const Case cases[] = {{{}, kAlfa, kDay, kLunch},
                          {kBranch, {}, kDay, kLunch},
                          {kBranch, kAlfa, ZeroDate(), kLunch},
                          {kBranch, kAlfa, kDay, {}},
                          {{}, {}, QDate(), {}}};
    for (const Case& c : cases) {
        const ServerResult result = Methods().GetItRatEfet(c.branch, c.client, c.date, c.service);
        ASSERT_TRUE(result.success) << result.error.toStdString();
        EXPECT_TRUE(Single(result).rows.empty());
        EXPECT_EQ(Single(result).fields.size(), 10u);
    }
}

TEST_P(ReadMethods, CallsFromManyClientsAtOnceAreAllAnswered) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118);
    constexpr int kClients = 4, kCallsEach = 15;
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back([&] {
            auto connection = server_->Connect();
            for (int call = 0; call < kCallsEach; ++call) {
                QString service;
                QDate day = kDay;
                const ServerResult result =
                    connection->AppServer().GetEfetFatu(kAlfa, kBranch, service, day, 0);
                if (result.success && result.payload.size() == 3 &&
                    At(result.payload[0], 0, "QTCOMEFATU") == Value(120.0))
                    ++answered;
            }
        });
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(answered, kClients * kCallsEach);
}

TEST_P(ReadMethods, TwoServersOnOneDatabaseAnswerAlike) {
    RunningServer second(Location());
    seed_->Headcount(Key(kLunch, kDay), 120, 118);
    for (RunningServer* server : {server_.get(), &second}) {
        EXPECT_EQ(
            Column(Single(server->Methods().GetVerifData(kBranch, kLunch, kAlfa)), "DTFATURAM"),
            (std::vector<Value>{kDay}));
    }
}

TEST_P(ReadMethods, EachCallIsLoggedOnOneLineWithItsOutcome) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118);
    Methods().GetParams(kBranch);
    Methods().GetParams(QStringLiteral("9999"));
    Methods().UpDateServData(kBranch, kAlfa, kDinner, kDay, kDay.addDays(1), 1, 1);
    OptionalPacket stale = InsertedHeadcount(Key(kLunch, kDay), 1, 1), none;
    QString nullFields;
    Methods().UpdEfetFatu(stale, nullFields, none);
    QStringList calls;
    for (const QString& line : server_->LogLines())
        if (line.contains(QStringLiteral(" ms "))) calls << line.section(u' ', 1);
    ASSERT_EQ(calls.size(), 4);
    const QRegularExpression expected[] = {
        QRegularExpression(QStringLiteral("^GetParams [0-9.]+ ms ok$")),
        QRegularExpression(QStringLiteral("^GetParams [0-9.]+ ms recusado: Filial 9999 não "
                                          "cadastrada\\.$")),
        QRegularExpression(QStringLiteral("^UpDateServData [0-9.]+ ms ok: 2 dias gravados$")),
        QRegularExpression(QStringLiteral("^UpdEfetFatu [0-9.]+ ms conflito: Serviço 00001, data "
                                          "10/03/2026: o efetivo foi alterado por outro usuário")),
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(expected[i].match(calls[i]).hasMatch()) << calls[i].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ReadMethods, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
