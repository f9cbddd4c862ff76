// The server judges every argument: bad input gets a clear answer in Portuguese, the server
// goes on serving and nothing is written.
#include "BackendTest.h"
#include "CheckResultServ.h"
#include "RunningServer.h"
#include "SampleData.h"

#include <functional>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QStringList kTables{QStringLiteral("FILIAL"),         QStringLiteral("CLIENTE"),
                          QStringLiteral("CLIENFILIAL"),    QStringLiteral("SERVICO"),
                          QStringLiteral("PARAMFATUR"),     QStringLiteral("SERVCLIEFILI"),
                          QStringLiteral("APURACFATCLI"),   QStringLiteral("EFETFATUR"),
                          QStringLiteral("TURNO"),          QStringLiteral("EFETTURNO"),
                          QStringLiteral("ITEMRATEIOEFET"), QStringLiteral("ITRATEFECLIFAT"),
                          QStringLiteral("PLANEFETCLI"),    QStringLiteral("EFETTRANSP"),
                          QStringLiteral("RELFATURNUM"),    QStringLiteral("RELCOMENSAL")};

const QString kBeforeTheCalendar =
    QStringLiteral("Data fora do intervalo aceito (01/01/1900 a 31/12/9999).");

// A headcount packet whose row does not hold together: one value for two fields.
DataPacket Malformed() {
    DataPacket packet;
    packet.fields = {{QStringLiteral("CDFILIAL"), FieldType::String, 4, false},
                     {QStringLiteral("QTCOMEFATU"), FieldType::Float, 0, false}};
    packet.rows.push_back({RowChange::Modified, {Value(kBranch)}, {Value(kBranch), Value(1.0)}});
    return packet;
}

const QString kMalformed =
    QStringLiteral("Pacote de dados inválido: a linha 1 tem 1 valores para 2 campos.");

class BadInput : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        server_ = std::make_unique<RunningServer>(Location());
        seed_ = std::make_unique<TestSeed>(Location());
        sample::Seed(*seed_);
        seed_->Headcount({kBranch, kAlfa, kLunch, kDay}, 120, 118);
    }

    std::map<QString, int> RowsPerTable() {
        std::map<QString, int> rows;
        for (const QString& table : kTables) rows[table] = seed_->Count(table);
        return rows;
    }

    std::unique_ptr<RunningServer> server_;
    std::unique_ptr<TestSeed> seed_;
};

TEST_P(BadInput, IsAnsweredWithAClearMessageAndNothingElseHappens) {
    struct Case {
        const char* what;
        std::function<ServerResult(TrdmEfetFaturDisp&)> call;
        QString message;
    };
    QString none, lunch = kLunch, tooLong = QStringLiteral("000001");
    QDate day = kDay, zero = ZeroDate(), ancient(1800, 1, 1), farFuture(10000, 1, 1);
    OptionalPacket malformed = Malformed(), noPacket;
    QString nullFields;
    const Case cases[] = {
        {"empty branch", [](auto& m) { return m.GetParams({}); },
         QStringLiteral("Filial deve ser informada.")},
        {"over-long branch", [](auto& m) { return m.GetParams(QStringLiteral("00001")); },
         QStringLiteral("Código da filial deve ter no máximo 4 caracteres.")},
        {"unknown branch", [](auto& m) { return m.GetCliente(QStringLiteral("9999"), {}, {}); },
         QStringLiteral("Filial 9999 não cadastrada.")},
        {"over-long registration number",
         [](auto& m) { return m.GetCliente(kBranch, QStringLiteral("123456789012345678901"), {}); },
         QStringLiteral("Inscrição do cliente deve ter no máximo 20 caracteres.")},
        {"over-long client code",
         [](auto& m) {
             return m.GetCliente(kBranch, {}, QStringLiteral("J123456789012345678901"));
         },
         QStringLiteral("Código do cliente deve ter no máximo 21 caracteres.")},
        {"empty client", [](auto& m) { return m.GetServico(kBranch, {}, {}); },
         QStringLiteral("Cliente deve ser informado.")},
        {"client of another branch", [](auto& m) { return m.GetServico(kOtherBranch, kAlfa, {}); },
         QStringLiteral("Cliente J11222333000181 não cadastrado na filial 0002.")},
        {"over-long service", [&](auto& m) { return m.GetServico(kBranch, kAlfa, tooLong); },
         QStringLiteral("Código do serviço deve ter no máximo 5 caracteres.")},
        {"mode 2", [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, day, 2); },
         QStringLiteral("Modo de consulta 2 inválido: use 0 (por data) ou 1 (por serviço).")},
        {"mode -1", [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, day, -1); },
         QStringLiteral("Modo de consulta -1 inválido: use 0 (por data) ou 1 (por serviço).")},
        {"by date without a date",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, zero, 0); },
         QStringLiteral("Data de faturamento deve ser informada.")},
        {"by date with a service",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, lunch, day, 0); },
         QStringLiteral("A consulta por data não recebe serviço: informe a data.")},
        {"by service without a service",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, zero, 1); },
         QStringLiteral("Serviço deve ser informado.")},
        {"by service with a date",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, lunch, day, 1); },
         QStringLiteral("A consulta por serviço não recebe data: informe o serviço.")},
        {"date before 1900",
         [&](auto& m) { return m.GetEfetFatu(kAlfa, kBranch, none, ancient, 0); },
         kBeforeTheCalendar},
        {"date after 9999",
         [&](auto& m) { return m.GetValidaData(kBranch, kAlfa, kLunch, farFuture); },
         kBeforeTheCalendar},
        {"service not of the client",
         [](auto& m) { return m.GetValidaData(kBranch, kAlfa, kBreakfast, kDay); },
         QStringLiteral(
             "Serviço 00003 não relacionado ao cliente J11222333000181 na filial 0001.")},
        {"unknown client",
         [](auto& m) { return m.GetVerifData(kBranch, kLunch, QStringLiteral("J1")); },
         QStringLiteral("Cliente J1 não cadastrado na filial 0001.")},
        {"planning without a date",
         [](auto& m) { return m.GetVlrFatPla(kBranch, kLunch, kAlfa, ZeroDate()); },
         QStringLiteral("Data de faturamento deve ser informada.")},
        {"shifts without a date", [&](auto& m) { return m.GetTurno(kBranch, kAlfa, lunch, zero); },
         QStringLiteral("Data de faturamento deve ser informada.")},
        {"shift sum of an unknown service",
         [&](auto& m) {
             QString unknown = QStringLiteral("99999");
             return m.GetSomaTurno(kBranch, kAlfa, unknown, day);
         },
         QStringLiteral(
             "Serviço 99999 não relacionado ao cliente J11222333000181 na filial 0001.")},
        {"relation without a service", [](auto& m) { return m.GetVdServClie(kBranch, kAlfa, {}); },
         QStringLiteral("Serviço deve ser informado.")},
        {"apportionment of an unknown client",
         [](auto& m) { return m.GetItRatEfet(kBranch, kBruno + u'9', kDay, kLunch); },
         QStringLiteral("Cliente F529982247259 não cadastrado na filial 0001.")},
        {"malformed headcount delta",
         [&](auto& m) { return m.UpdEfetFatu(malformed, nullFields, noPacket); }, kMalformed},
        {"malformed apportionment delta",
         [&](auto& m) { return m.UpdEfetFatu(noPacket, nullFields, malformed); }, kMalformed},
        {"malformed shift delta", [&](auto& m) { return m.SetTurno(*malformed, nullFields); },
         kMalformed},
        {"import date out of range",
         [&](auto& m) { return m.ImportaEfetTrans(kAlfa, kBranch, none, ancient, 0); },
         kBeforeTheCalendar},
        {"duplication period out of range",
         [](auto& m) {
             return m.UpDateServData(kBranch, kAlfa, kLunch, kDay, QDate(10000, 1, 1), 1, 1);
         },
         kBeforeTheCalendar},
    };
    const auto before = RowsPerTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ServerResult result = c.call(server_->Methods());
        EXPECT_FALSE(result.success);
        EXPECT_EQ(result.error, c.message);
        EXPECT_TRUE(result.payload.empty());
        try {
            CheckResultServ(result, true, 0);
            ADD_FAILURE() << "the result check let a refused call through";
        } catch (const EServerError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(RowsPerTable(), before);
    const ServerResult still = server_->Methods().GetValidaData(kBranch, kAlfa, kLunch, kDay);
    ASSERT_TRUE(still.success) << still.error.toStdString();
    EXPECT_EQ(Column(still.payload.at(0), "DTFATURAM"), (std::vector<Value>{kDay}));
}

TEST_P(BadInput, AMalformedPacketToATextMethodFailsTheCallWithTheMessage) {
    try {
        server_->Methods().GetVerifSoma(Malformed());
        ADD_FAILURE() << "a malformed packet was taken";
    } catch (const EServerError& e) {
        EXPECT_EQ(e.Message(), kMalformed);
    }
}

TEST_P(BadInput, MethodsStillToComeSayTheyAreNotAvailableAndWriteNothing) {
    QString service = kLunch, nullFields;
    QDate day = kDay;
    OptionalPacket none;
    DataPacket emptyShifts;
    const std::pair<const char*, std::function<ServerResult(TrdmEfetFaturDisp&)>> cases[] = {
        {"ImportaEfetTrans",
         [&](auto& m) {
             QString noService;
             return m.ImportaEfetTrans(kAlfa, kBranch, noService, day, 0);
         }},
        {"UpdEfetFatu", [&](auto& m) { return m.UpdEfetFatu(none, nullFields, none); }},
        {"SetTurno", [&](auto& m) { return m.SetTurno(emptyShifts, nullFields); }},
        {"UpDateServData",
         [](auto& m) {
             return m.UpDateServData(kBranch, kAlfa, kLunch, kDay, kDay.addDays(5), 10, 9);
         }},
        {"GeraRel",
         [](auto& m) { return m.GeraRel(kBranch, kDay, kDay.addDays(5), QStringLiteral("1")); }},
        {"DeletaRel", [](auto& m) { return m.DeletaRel(kBranch, QStringLiteral("1")); }},
    };
    const auto before = RowsPerTable();
    for (const auto& [method, call] : cases) {
        SCOPED_TRACE(method);
        const ServerResult result = call(server_->Methods());
        EXPECT_FALSE(result.success);
        EXPECT_EQ(result.error,
                  QStringLiteral("O método %1 ainda não está disponível neste servidor de "
                                 "aplicação.")
                      .arg(QLatin1String(method)));
    }
    const std::pair<const char*, std::function<QString(TrdmEfetFaturDisp&)>> textCases[] = {
        {"GetVerifSoma", [](auto& m) { return m.GetVerifSoma(DataPacket()); }},
        {"PrxRelFatur", [](auto& m) { return m.PrxRelFatur(kBranch); }},
    };
    for (const auto& [method, call] : textCases) {
        SCOPED_TRACE(method);
        try {
            call(server_->Methods());
            ADD_FAILURE() << "answered as if it worked";
        } catch (const EServerError& e) {
            EXPECT_TRUE(e.Message().contains(
                QStringLiteral("O método %1 ainda não está disponível").arg(QLatin1String(method))))
                << e.Message().toStdString();
        }
    }
    EXPECT_EQ(RowsPerTable(), before);
}

INSTANTIATE_TEST_SUITE_P(Backends, BadInput, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
