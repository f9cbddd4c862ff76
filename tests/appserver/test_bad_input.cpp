// The server judges every argument: bad input gets a clear answer in Portuguese, the server
// goes on serving and nothing is written.
#include "AppErrors.h"
#include "CheckResultServ.h"
#include "Deltas.h"
#include "IncomingPacket.h"
#include "LogText.h"
#include "PacketConversion.h"
#include "PacketShapes.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"
#include "WireText.h"
#include "fai00400.grpc.pb.h"

#include <grpcpp/grpcpp.h>

#include <functional>
#include <utility>

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

// A headcount packet that does not hold together: a branch longer than its field.
DataPacket Malformed() {
    DataPacket packet;
    packet.fields = {{QStringLiteral("CDFILIAL"), FieldType::String, 4, false},
                     {QStringLiteral("QTCOMEFATU"), FieldType::Float, 0, false}};
    packet.rows.push_back({RowChange::Modified,
                           {Value(QStringLiteral("00001")), Value(1.0)},
                           {Value(kBranch), Value(1.0)}});
    return packet;
}

// A headcount delta that changes the row of the sample's lunch on its day.
DataPacket ModifiedLunch() {
    DataPacket delta = InsertedHeadcount({kBranch, kAlfa, kLunch, kDay}, 121, 118);
    PacketRow& row = delta.rows.at(0);
    row.change = RowChange::Modified;
    row.original = row.values;
    row.original[delta.FieldIndex(u"QTCOMEFATU")] = 120.0;
    return delta;
}

// The apportionment delta of the sample's first item on the lunch row.
DataPacket LinkOfLunch(RowChange change, const Value& originalLink, const Value& link) {
    DataPacket delta;
    delta.fields = shapes::HeadcountApportion();
    std::vector<Value> values{link,   kBranch, kLunch,  kAlfa,   kDay,
                              kLunch, 1.0,     "00001", "NORTE", 5.0};
    std::vector<Value> original = values;
    original[0] = originalLink;
    original[9] = Value();
    delta.rows.push_back(
        {change, values, change == RowChange::Inserted ? std::vector<Value>{} : original});
    return delta;
}

// A shift delta of the sample's lunch on its day: shift 1 with 10 diners.
DataPacket ShiftsOfLunch(RowChange change) {
    DataPacket delta;
    delta.fields = shapes::Shifts();
    const std::vector<Value> values{"1", "MANHA", kBranch, kLunch, kAlfa, kDay, 10.0};
    std::vector<Value> original = values;
    original[6] = Value();
    delta.rows.push_back(
        {change, values, change == RowChange::Modified ? original : std::vector<Value>{}});
    return delta;
}

const QString kMalformed =
    QStringLiteral("Pacote de dados inválido: texto maior que 4 caracteres no campo CDFILIAL.");

class BadInput : public SampleTest {
  protected:
    void SeedMore(TestSeed& seed) override {
        seed.Headcount({kBranch, kAlfa, kLunch, kDay}, 120, 118);
    }

    DataPacket ScreenPacket() {
        QString none;
        QDate day = kDay;
        return CheckResultServ(server_->Methods().GetEfetFatu(kAlfa, kBranch, none, day, 0), true,
                               0)
            .at(0);
    }

    std::map<QString, int> RowsPerTable() {
        std::map<QString, int> rows;
        for (const QString& table : kTables) rows[table] = seed_->Count(table);
        return rows;
    }
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
        {"unknown branch, over-long client and service, no date",
         [&](auto& m) {
             return m.GetTurno(QStringLiteral("9999"), QStringLiteral("J123456789012345678901"),
                               tooLong, zero);
         },
         QStringLiteral("Filial 9999 não cadastrada.")},
        {"over-long client and mode 2",
         [&](auto& m) {
             return m.GetEfetFatu(QStringLiteral("J123456789012345678901"), kBranch, none, day, 2);
         },
         QStringLiteral("Código do cliente deve ter no máximo 21 caracteres.")},
        {"client of another branch and an over-long service",
         [&](auto& m) { return m.GetValidaData(kOtherBranch, kAlfa, tooLong, zero); },
         QStringLiteral("Cliente J11222333000181 não cadastrado na filial 0002.")},
        {"by service for an unknown client without a service",
         [&](auto& m) { return m.GetEfetFatu(QStringLiteral("J1"), kBranch, none, zero, 1); },
         QStringLiteral("Cliente J1 não cadastrado na filial 0001.")},
        {"malformed headcount delta",
         [&](auto& m) { return m.UpdEfetFatu(malformed, nullFields, noPacket); }, kMalformed},
        {"malformed apportionment delta",
         [&](auto& m) { return m.UpdEfetFatu(noPacket, nullFields, malformed); }, kMalformed},
        {"malformed shift delta", [&](auto& m) { return m.SetTurno(*malformed, nullFields); },
         kMalformed},
        {"import date out of range",
         [&](auto& m) { return m.ImportaEfetTrans(kAlfa, kBranch, none, ancient, 0); },
         kBeforeTheCalendar},
        {"a headcount delta without the billing date",
         [&](auto& m) {
             OptionalPacket delta = InsertedHeadcount({kBranch, kAlfa, kLunch, kDay}, 1, 1);
             delta->fields.erase(delta->fields.begin() + delta->FieldIndex(u"DTFATURAM"));
             for (PacketRow& row : delta->rows) row.values.erase(row.values.begin() + 3);
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral("O pacote de efetivos não tem o campo DTFATURAM.")},
        {"a headcount delta whose count is text",
         [&](auto& m) {
             OptionalPacket delta = InsertedHeadcount({kBranch, kAlfa, kLunch, kDay}, 1, 1);
             const int count = delta->FieldIndex(u"QTCOMEFATU");
             delta->fields[count].type = FieldType::String;
             delta->fields[count].size = 10;
             delta->rows[0].values[count] = Value("1");
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral("O campo QTCOMEFATU do pacote de efetivos deve ser do tipo número.")},
        {"a whole packet sent as a delta",
         [&](auto& m) {
             OptionalPacket packet = ScreenPacket();
             return m.UpdEfetFatu(packet, nullFields, noPacket);
         },
         QStringLiteral("O pacote de alterações de efetivos tem uma linha sem alteração.")},
        {"a stored row moved to another day",
         [&](auto& m) {
             OptionalPacket delta = ModifiedLunch();
             delta->rows[0].values[delta->FieldIndex(u"DTFATURAM")] = Value(kDay.addDays(1));
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral("Serviço 00001, data 11/03/2026: a filial, o cliente, o serviço e a data "
                        "de um efetivo não mudam; exclua-o e inclua-o com os novos.")},
        {"one row twice in a save",
         [&](auto& m) {
             OptionalPacket delta = Joined({ModifiedLunch(), ModifiedLunch()});
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral(
             "Serviço 00001, data 10/03/2026: a linha aparece mais de uma vez no salvamento.")},
        {"a row dated before 1900",
         [&](auto& m) {
             OptionalPacket delta = InsertedHeadcount({kBranch, kAlfa, kLunch, ancient}, 1, 1);
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         kBeforeTheCalendar},
        {"a row whose original counts are half empty",
         [&](auto& m) {
             OptionalPacket delta = ModifiedLunch();
             delta->rows[0].original[delta->FieldIndex(u"QTCOMEPREV")] = Value();
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral(
             "Serviço 00001, data 10/03/2026: os valores originais da linha estão incompletos.")},
        {"an assessment the client does not have",
         [&](auto& m) {
             OptionalPacket delta =
                 InsertedHeadcount({kBranch, kAlfa, kLunch, kDay.addDays(1)}, 1, 1);
             SetEverywhere(*delta, "CDFILIFATU", kBranch);
             SetEverywhere(*delta, "NRAPURACFAT", "0000000077");
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral("Serviço 00001, data 11/03/2026: apuração 0000000077 da filial 0001 não "
                        "cadastrada para o cliente.")},
        {"a link without its headcount row's key",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Modified, Value(), -1.0);
             SetEverywhere(*links, "DTFATURAM", Value());
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral("Rateio de efetivos: item 00001 sem a filial, o cliente, o serviço ou a "
                        "data do efetivo.")},
        {"a link moved to another row",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Modified, 5.0, 5.0);
             links->rows[0].values[links->FieldIndex(u"DTFATURAM")] = Value(kDay.addDays(1));
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral("Rateio de efetivos: item 00001: o vínculo de um efetivo não passa a "
                        "outro.")},
        {"a shift row without a change",
         [&](auto& m) { return m.SetTurno(ShiftsOfLunch(RowChange::Unchanged), nullFields); },
         QStringLiteral("O pacote de alterações de turnos tem uma linha sem alteração.")},
        {"a shift row without its shift",
         [&](auto& m) {
             DataPacket shifts = ShiftsOfLunch(RowChange::Inserted);
             SetEverywhere(shifts, "CDTURNO", Value());
             return m.SetTurno(shifts, nullFields);
         },
         QStringLiteral("O pacote de turnos tem uma linha sem turno.")},
        {"a shift row without its date",
         [&](auto& m) {
             DataPacket shifts = ShiftsOfLunch(RowChange::Inserted);
             SetEverywhere(shifts, "DTFATURAMTUR", Value());
             return m.SetTurno(shifts, nullFields);
         },
         QStringLiteral("O pacote de turnos tem uma linha sem filial, cliente, serviço ou data.")},
        {"a shift quantity moved to another shift",
         [&](auto& m) {
             DataPacket shifts = ShiftsOfLunch(RowChange::Modified);
             shifts.rows[0].values[0] = Value("2");
             return m.SetTurno(shifts, nullFields);
         },
         QStringLiteral("Turno 2 (Serviço 00001, data 10/03/2026): o turno e o efetivo de uma "
                        "quantidade não mudam.")},
        {"an apportionment item inserted",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Inserted, Value(), -1.0);
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral("Rateio de efetivos: os itens vêm do servidor; nenhum é incluído ou "
                        "excluído.")},
        {"a link number the server never gave",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Modified, Value(), 77.0);
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral(
             "Rateio de efetivos: item 00001 com número de vínculo que o servidor não deu.")},
        {"a link number changed",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Modified, 5.0, 6.0);
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral("Rateio de efetivos: item 00001 com número de vínculo alterado.")},
        {"a shift delta without the shift",
         [&](auto& m) {
             DataPacket shifts;
             shifts.fields = shapes::Shifts();
             shifts.fields.erase(shifts.fields.begin());
             return m.SetTurno(shifts, nullFields);
         },
         QStringLiteral("O pacote de turnos não tem o campo CDTURNO.")},
        {"a null-field list without its separator",
         [&](auto& m) {
             DataPacket shifts;
             shifts.fields = shapes::Shifts();
             QString list = QStringLiteral("QTCOMFATUTUR");
             return m.SetTurno(shifts, list);
         },
         QStringLiteral("Lista de campos nulos \"QTCOMFATUTUR\" inválida: cada nome termina "
                        "com \"|\".")},
        {"import in mode 2",
         [&](auto& m) { return m.ImportaEfetTrans(kAlfa, kBranch, none, day, 2); },
         QStringLiteral("Modo de consulta 2 inválido: use 0 (por data) ou 1 (por serviço).")},
        {"import by day with a service",
         [&](auto& m) { return m.ImportaEfetTrans(kAlfa, kBranch, lunch, day, 0); },
         QStringLiteral("A consulta por data não recebe serviço: informe a data.")},
        {"duplication at an unknown branch",
         [](auto& m) {
             return m.UpDateServData(QStringLiteral("9999"), kAlfa, kLunch, kDay, kDay, 1, 1);
         },
         QStringLiteral("Filial 9999 não cadastrada.")},
        {"a report of an unknown branch",
         [](auto& m) { return m.GeraRel(QStringLiteral("9999"), kDay, kDay, QStringLiteral("1")); },
         QStringLiteral("Filial 9999 não cadastrada.")},
        {"a report deleted by a number that is not one",
         [](auto& m) { return m.DeletaRel(kBranch, QStringLiteral("-1")); },
         QStringLiteral("Número de relatório \"-1\" inválido.")},
        {"duplication period out of range",
         [](auto& m) {
             return m.UpDateServData(kBranch, kAlfa, kLunch, kDay, QDate(10000, 1, 1), 1, 1);
         },
         kBeforeTheCalendar},
        {"a NUL in a branch",
         [](auto& m) { return m.GetParams(QStringLiteral("00") + QChar(0) + u'1'); },
         QStringLiteral("Filial não pode conter caracteres de controle.")},
        {"a line break in a registration number",
         [](auto& m) { return m.GetCliente(kBranch, QStringLiteral("112\n223"), {}); },
         QStringLiteral("Inscrição do cliente não pode conter caracteres de controle.")},
        {"a tab in a client code",
         [](auto& m) { return m.GetServico(kBranch, QStringLiteral("J\t1"), {}); },
         QStringLiteral("Cliente não pode conter caracteres de controle.")},
        {"an escape in a service code",
         [](auto& m) { return m.GetVdServClie(kBranch, kAlfa, QStringLiteral("0\x1b[2J")); },
         QStringLiteral("Serviço não pode conter caracteres de controle.")},
        {"a line break in a report number",
         [](auto& m) { return m.DeletaRel(kBranch, QStringLiteral("1\nGeraRel ok")); },
         QStringLiteral("Número de relatório não pode conter caracteres de controle.")},
        {"a line separator in a null-field list",
         [&](auto& m) {
             QString list = QStringLiteral("QTCOMFATUTUR|\u2028");
             return m.SetTurno(ShiftsOfLunch(RowChange::Inserted), list);
         },
         QStringLiteral("Lista de campos nulos não pode conter caracteres de controle.")},
        {"a report number longer than any",
         [](auto& m) { return m.DeletaRel(kBranch, QString(100'000, u'x')); },
         QStringLiteral("Número de relatório \"%1…\" inválido.").arg(QString(40, u'x'))},
        {"a null-field list longer than any",
         [&](auto& m) {
             QString list = QString(100'000, u'Q') + u'|';
             return m.SetTurno(ShiftsOfLunch(RowChange::Inserted), list);
         },
         QStringLiteral("Lista de campos nulos \"%1…\" inválida: \"%1…\" não é um campo.")
             .arg(QString(40, u'Q'))},
        {"a service code with a line break in a save",
         [&](auto& m) {
             OptionalPacket delta =
                 InsertedHeadcount({kBranch, kAlfa, QStringLiteral("00\n01"), kDay}, 1, 1);
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral(
             "O campo CDSERVFILI do pacote de efetivos tem na linha 1 caracteres de controle.")},
        {"an assessment number longer than its field",
         [&](auto& m) {
             OptionalPacket delta =
                 InsertedHeadcount({kBranch, kAlfa, kLunch, kDay.addDays(1)}, 1, 1);
             delta->fields[delta->FieldIndex(u"NRAPURACFAT")].size = 100'000;
             SetEverywhere(*delta, "CDFILIFATU", kBranch);
             SetEverywhere(*delta, "NRAPURACFAT", QString(100'000, u'7'));
             return m.UpdEfetFatu(delta, nullFields, noPacket);
         },
         QStringLiteral(
             "O campo NRAPURACFAT do pacote de efetivos tem na linha 1 mais de 10 caracteres.")},
        {"an item's diners of ten digits",
         [&](auto& m) {
             OptionalPacket links = LinkOfLunch(RowChange::Modified, Value(), -1.0);
             SetEverywhere(*links, "QTEFETIVOS", 1e9);
             return m.UpdEfetFatu(noPacket, nullFields, links);
         },
         QStringLiteral("Rateio de efetivos: item 00001: Quantidade de efetivos deve ter no "
                        "máximo 9 dígitos antes da vírgula.")},
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

TEST_P(BadInput, TheTextMethodsFailTheCallWithTheMessage) {
    DataPacket withoutCount = ScreenPacket();
    const int count = withoutCount.FieldIndex(u"QTCOMEFATU");
    withoutCount.fields.erase(withoutCount.fields.begin() + count);
    for (PacketRow& row : withoutCount.rows) row.values.erase(row.values.begin() + count);
    DataPacket countAsText = ScreenPacket();
    countAsText.fields[count] = {QStringLiteral("QTCOMEFATU"), FieldType::String, 10, false};
    for (PacketRow& row : countAsText.rows) row.values[count] = Value();
    // How a deletion travels in a delta: no current values, only the originals.
    DataPacket withDeletion = ScreenPacket();
    withDeletion.rows.at(0).change = RowChange::Deleted;
    withDeletion.rows.at(0).original = std::exchange(withDeletion.rows.at(0).values, {});
    const std::pair<const char*, std::function<QString(TrdmEfetFaturDisp&)>> cases[] = {
        {"a packet without the billed count",
         [&](auto& m) { return m.GetVerifSoma(withoutCount); }},
        {"a billed count that is text", [&](auto& m) { return m.GetVerifSoma(countAsText); }},
        {"a deleted row among the screen's rows",
         [&](auto& m) { return m.GetVerifSoma(withDeletion); }},
        {"a report number for no branch", [](auto& m) { return m.PrxRelFatur({}); }},
        {"a report number for an unknown branch",
         [](auto& m) { return m.PrxRelFatur(QStringLiteral("9999")); }},
    };
    const QString messages[] = {
        QStringLiteral("O pacote de efetivos não tem o campo QTCOMEFATU."),
        QStringLiteral("O campo QTCOMEFATU do pacote de efetivos deve ser do tipo número."),
        QStringLiteral("O pacote de efetivos traz as linhas da tela, sem alterações: a linha 1 "
                       "é uma exclusão."),
        QStringLiteral("Filial deve ser informada."),
        QStringLiteral("Filial 9999 não cadastrada."),
    };
    const auto before = RowsPerTable();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        try {
            cases[i].second(server_->Methods());
            ADD_FAILURE() << "answered as if it worked";
        } catch (const EServerError& e) {
            EXPECT_EQ(e.Message(), messages[i]);
        }
    }
    EXPECT_EQ(RowsPerTable(), before);
}

TEST_P(BadInput, TextThatIsNotUtf8IsRefusedInWords) {
    const auto stub = Fai00400::rdmEfetFatur::NewStub(grpc::CreateChannel(
        "127.0.0.1:" + std::to_string(server_->Port()), grpc::InsecureChannelCredentials()));
    const std::string notUtf8 = "\xc3(";  // a lead byte without its continuation
    const auto shifts = [] { return ToProto(ShiftsOfLunch(RowChange::Inserted)); };
    struct Case {
        const char* what;
        std::function<void(Fai00400::SetTurnoRequest&)> spoil;
        QString message;
    };
    const Case cases[] = {
        {"an argument", [&](auto& r) { r.set_null_fields(notUtf8); },
         QStringLiteral("Lista de campos nulos: o texto recebido não é UTF-8 válido.")},
        {"a text in a packet",
         [&](auto& r) { r.mutable_shift_delta()->mutable_values(0)->set_texts(0, notUtf8); },
         QStringLiteral(
             "Pacote de dados inválido: texto que não é UTF-8 válido no campo CDTURNO.")},
        {"a field name",
         [&](auto& r) { r.mutable_shift_delta()->mutable_fields(0)->set_name(notUtf8); },
         QStringLiteral("Pacote de dados inválido: nome de campo que não é UTF-8 válido.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fai00400::SetTurnoRequest request;
        *request.mutable_shift_delta() = shifts();
        c.spoil(request);
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(30));
        Fai00400::ServerResult result;
        const grpc::Status status = stub->SetTurno(&context, request, &result);
        ASSERT_TRUE(status.ok()) << status.error_message();
        EXPECT_FALSE(result.success());
        EXPECT_EQ(QString::fromStdString(result.error()), c.message);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETTURNO")), 0);
}

TEST_P(BadInput, TheLogKeepsOneLinePerCallAndNoRegistrationNumberWhole) {
    struct Case {
        const char* what;
        std::function<ServerResult(TrdmEfetFaturDisp&)> call;
        QString answer, logged;
    };
    const QString twiceNamed = QStringLiteral("X\nGetParams 1.0 ms ok");
    const Case cases[] = {
        {"a company's number", [](auto& m) { return m.GetServico(kOtherBranch, kAlfa, {}); },
         QStringLiteral("Cliente J11222333000181 não cadastrado na filial 0002."),
         QStringLiteral("Cliente J***********181 não cadastrado na filial 0002.")},
        {"a person's number, formatted",
         [](auto& m) { return m.GetServico(kBranch, QStringLiteral("F111.444.777-35"), {}); },
         QStringLiteral("Cliente F11144477735 não cadastrado na filial 0001."),
         QStringLiteral("Cliente F********735 não cadastrado na filial 0001.")},
        {"a field name with a line break",
         [&](auto& m) {
             DataPacket shifts = ShiftsOfLunch(RowChange::Inserted);
             shifts.fields.push_back({twiceNamed, FieldType::Float, 0, false});
             shifts.fields.push_back({twiceNamed, FieldType::Float, 0, false});
             for (PacketRow& row : shifts.rows) row.values.resize(shifts.fields.size());
             QString nullFields;
             return m.SetTurno(shifts, nullFields);
         },
         QStringLiteral("Pacote de dados inválido: campo X\\nGetParams 1.0 ms ok repetido."),
         QStringLiteral("Pacote de dados inválido: campo X\\nGetParams 1.0 ms ok repetido.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(server_->Methods()).error, c.answer);
        const QString line = server_->LogLines().last();
        EXPECT_TRUE(line.endsWith(QStringLiteral(" recusado: ") + c.logged)) << line.toStdString();
    }
    for (const QString& line : server_->LogLines()) {
        EXPECT_FALSE(HasControlCharacter(line)) << line.toStdString();
        EXPECT_FALSE(line.contains(kAlfa) || line.contains(kBruno)) << line.toStdString();
    }
}

// What the wire conversion already refuses, refused again where rows are read by position,
// whoever built the packet.
TEST(IncomingPacket, RefusesRowsWithoutTheValuesTheirChangeCarries) {
    const std::vector<Value> values{"1", "MANHA", kBranch, kLunch, kAlfa, kDay, 10.0};
    const std::pair<const char*, PacketRow> cases[] = {
        {"a deletion without originals", {RowChange::Deleted, values, {}}},
        {"a change without originals", {RowChange::Modified, values, {}}},
        {"an insertion with one value short",
         {RowChange::Inserted, {values.begin(), values.end() - 1}, {}}},
    };
    for (const auto& [what, row] : cases) {
        DataPacket delta;
        delta.fields = shapes::Shifts();
        delta.rows = {row};
        try {
            IncomingPacket(delta, QStringLiteral("turnos"), shapes::Shifts(),
                           IncomingPacket::Kind::Delta);
            ADD_FAILURE() << "taken: " << what;
        } catch (const EBadRequest& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("O pacote de turnos tem na linha 1 valores que "
                                                  "não correspondem aos seus campos."))
                << what;
        }
    }
}

TEST(LogSafe, MasksRegistrationNumbersWritesOutControlsAndBoundsTheLine) {
    struct Case {
        const char* what;
        QString line, logged;
    } cases[] = {
        {"a company's number, formatted", QStringLiteral("cliente J11.222.333/0001-81"),
         QStringLiteral("cliente J**.***.***/***1-81")},
        {"a person's number", QStringLiteral("F52998224725 e F111.444.777-35"),
         QStringLiteral("F********725 e F***.***.**7-35")},
        {"dates, report numbers and counts stay",
         QStringLiteral("data 10/03/2026 a 31/12/9999, relatório 1234567890, 999999999.999"),
         QStringLiteral("data 10/03/2026 a 31/12/9999, relatório 1234567890, 999999999.999")},
        {"a database's message over lines", QStringLiteral("ERRO: x\nDETALHE: y"),
         QStringLiteral("ERRO: x\\nDETALHE: y")},
        {"a line too long", QString(5000, u'x'), QString(2000, u'x') + u'…'},
    };
    for (const Case& c : cases) EXPECT_EQ(LogSafe(c.line), c.logged) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Backends, BadInput, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
