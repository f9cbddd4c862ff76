#include "CheckResultServ.h"
#include "LocalAppServer.h"
#include "PacketConversion.h"
#include "PacketPrinter.h"
#include "QtPrinters.h"
#include "TNetConnection.h"

#include <google/protobuf/text_format.h>
#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace fai {
namespace {

using namespace std::chrono_literals;
using google::protobuf::Message;
using google::protobuf::TextFormat;
using google::protobuf::util::MessageDifferencer;

const QDate kDay(2026, 3, 10);      // day 46091 of the serial
const QDate kLastDay(2026, 3, 31);  // day 46112

// A two-field delta with one inserted row, and its wire form written out by hand.
DataPacket SmallDelta() {
    DataPacket p;
    p.fields = {{"CDFILIAL", FieldType::String, 4, false},
                {"QTCOMEFATU", FieldType::Float, 0, false}};
    p.rows.push_back({RowChange::Inserted, {"0001", 12.5}, {}});
    return p;
}
const char* const kSmallDeltaWire =
    R"(fields { name: "CDFILIAL" size: 4 } fields { name: "QTCOMEFATU" type: FIELD_FLOAT }
       changes: ROW_INSERTED
       values { cells: 1 texts: "0001" } values { cells: 1 numbers: 12.5 })";

template <class Request>
std::shared_ptr<const Message> Wire(const std::string& text) {
    auto request = std::make_shared<Request>();
    if (!TextFormat::ParseFromString(text, request.get()))
        throw std::invalid_argument("bad expected request: " + text);
    return request;
}

std::string WithDelta(const char* field) {
    return std::string(field) + " { " + kSmallDeltaWire + " }";
}

class MethodTable : public ::testing::Test {
  protected:
    void SetUp() override {
        connection.SetHost(QStringLiteral("127.0.0.1"));
        connection.SetPort(server.Port());
        connection.SetDeadline(5s);
        connection.Connect();
    }
    TrdmEfetFaturDisp& AppServer() { return connection.AppServer(); }

    test::ScriptedService service;
    test::LocalAppServer server{service};
    TNetConnection connection;
};

TEST_F(MethodTable, SendsEveryArgumentInItsPlace) {
    Fai00400::ServerResult threeEmptyPackets;
    for (int i = 0; i < 3; ++i) threeEmptyPackets.add_payload();
    threeEmptyPackets.set_success(true);
    service.AnswerWith(threeEmptyPackets);

    QString service1 = "00010", noService, nullFields = "QTCOMEPREV|VRSERVFATUDT|", noFields;
    QDate day = kDay, zero = ZeroDate();
    OptionalPacket delta = SmallDelta(), null, empty = DataPacket{};
    using namespace Fai00400;
    const struct {
        const char* method;
        std::function<void(TrdmEfetFaturDisp&)> call;
        std::shared_ptr<const Message> expected;
    } cases[] = {
        {"GetParams", [](auto& s) { s.GetParams("0001"); },
         Wire<GetParamsRequest>(R"(branch: "0001")")},
        {"GetCliente", [](auto& s) { s.GetCliente("0001", "12345678000190", "J12345678000190"); },
         Wire<GetClienteRequest>(
             R"(branch: "0001" registration_number: "12345678000190" client: "J12345678000190")")},
        {"GetCliente", [](auto& s) { s.GetCliente("0001", "", ""); },
         Wire<GetClienteRequest>(R"(branch: "0001")")},
        {"GetServico", [](auto& s) { s.GetServico("0001", "J1", "AÇÚ01"); },
         Wire<GetServicoRequest>(R"(branch: "0001" client: "J1" service: "AÇÚ01")")},
        {"GetEfetFatu", [&](auto& s) { s.GetEfetFatu("J1", "0001", noService, day, 0); },
         Wire<GetEfetFatuRequest>(R"(client: "J1" branch: "0001" date: 46091 mode: 0)")},
        {"GetEfetFatu", [&](auto& s) { s.GetEfetFatu("J1", "0001", service1, zero, 1); },
         Wire<GetEfetFatuRequest>(R"(client: "J1" branch: "0001" service: "00010" mode: 1)")},
        {"ImportaEfetTrans", [&](auto& s) { s.ImportaEfetTrans("J1", "0001", service1, zero, 1); },
         Wire<GetEfetFatuRequest>(R"(client: "J1" branch: "0001" service: "00010" mode: 1)")},
        {"GetValidaData", [](auto& s) { s.GetValidaData("0001", "J1", "00010", kDay); },
         Wire<GetValidaDataRequest>(R"(branch: "0001" client: "J1" service: "00010" date: 46091)")},
        {"GetVerifData", [](auto& s) { s.GetVerifData("0001", "00010", "J1"); },
         Wire<GetVerifDataRequest>(R"(branch: "0001" service: "00010" client: "J1")")},
        {"GetVlrFatPla", [](auto& s) { s.GetVlrFatPla("0001", "00010", "J1", kDay); },
         Wire<GetVlrFatPlaRequest>(R"(branch: "0001" service: "00010" client: "J1" date: 46091)")},
        {"GetVerifSoma", [](auto& s) { s.GetVerifSoma(SmallDelta()); },
         Wire<GetVerifSomaRequest>(WithDelta("headcounts"))},
        {"UpdEfetFatu", [&](auto& s) { s.UpdEfetFatu(delta, nullFields, delta); },
         Wire<UpdEfetFatuRequest>(WithDelta("headcount_delta") +
                                  R"( null_fields: "QTCOMEPREV|VRSERVFATUDT|" )" +
                                  WithDelta("apportionment_delta"))},
        {"UpdEfetFatu", [&](auto& s) { s.UpdEfetFatu(null, noFields, delta); },
         Wire<UpdEfetFatuRequest>(WithDelta("apportionment_delta"))},
        {"UpdEfetFatu", [&](auto& s) { s.UpdEfetFatu(delta, noFields, null); },
         Wire<UpdEfetFatuRequest>(WithDelta("headcount_delta"))},
        {"UpdEfetFatu", [&](auto& s) { s.UpdEfetFatu(empty, noFields, null); },
         Wire<UpdEfetFatuRequest>("headcount_delta {}")},
        {"GetTurno", [&](auto& s) { s.GetTurno("0001", "J1", service1, day); },
         Wire<GetTurnoRequest>(R"(branch: "0001" client: "J1" service: "00010" date: 46091)")},
        {"SetTurno", [&](auto& s) { s.SetTurno(SmallDelta(), nullFields); },
         Wire<SetTurnoRequest>(WithDelta("shift_delta") +
                               R"( null_fields: "QTCOMEPREV|VRSERVFATUDT|")")},
        {"GetSomaTurno", [&](auto& s) { s.GetSomaTurno("0001", "J1", service1, day); },
         Wire<GetTurnoRequest>(R"(branch: "0001" client: "J1" service: "00010" date: 46091)")},
        {"GetVdServClie", [](auto& s) { s.GetVdServClie("0001", "J1", "00010"); },
         Wire<GetVdServClieRequest>(R"(branch: "0001" client: "J1" service: "00010")")},
        {"GetItRatEfet", [](auto& s) { s.GetItRatEfet("0001", "J1", kDay, "00010"); },
         Wire<GetItRatEfetRequest>(R"(branch: "0001" client: "J1" date: 46091 service: "00010")")},
        {"UpDateServData",
         [](auto& s) { s.UpDateServData("0001", "J1", "00010", kDay, kLastDay, 120.5, 98.25); },
         Wire<UpDateServDataRequest>(R"(branch: "0001" client: "J1" service: "00010"
             first_date: 46091 last_date: 46112 forecast: 120.5 billed: 98.25)")},
        {"UpDateServData",
         [](auto& s) { s.UpDateServData("0001", "J1", "00010", {}, kDay, 0, -1); },
         Wire<UpDateServDataRequest>(R"(branch: "0001" client: "J1" service: "00010"
             last_date: 46091 billed: -1)")},
        {"PrxRelFatur", [](auto& s) { s.PrxRelFatur("0001"); },
         Wire<PrxRelFaturRequest>(R"(branch: "0001")")},
        {"GeraRel", [](auto& s) { s.GeraRel("0001", kDay, kLastDay, "0000000042"); },
         Wire<GeraRelRequest>(
             R"(branch: "0001" first_date: 46091 last_date: 46112 report_number: "0000000042")")},
        {"DeletaRel", [](auto& s) { s.DeletaRel("0001", "0000000042"); },
         Wire<DeletaRelRequest>(R"(branch: "0001" report_number: "0000000042")")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected->ShortDebugString());
        c.call(AppServer());
        EXPECT_EQ(service.LastMethod(), c.method);
        const auto received = service.LastRequest();
        ASSERT_NE(received, nullptr);
        std::string difference;
        MessageDifferencer differencer;
        differencer.ReportDifferencesToString(&difference);
        EXPECT_TRUE(differencer.Compare(*c.expected, *received)) << difference;
    }
    EXPECT_EQ(service.Calls(), std::size(cases));
}

TEST_F(MethodTable, ByReferenceArgumentsKeepWhatTheCallerPassed) {
    Fai00400::ServerResult answer;
    answer.set_success(true);
    for (int i = 0; i < 3; ++i) answer.add_payload();
    service.AnswerWith(answer);
    QString service1 = "00010", nullFields = "QTCOMEPREV|";
    QDate day = kDay;
    OptionalPacket delta = SmallDelta(), null;
    AppServer().GetEfetFatu("J1", "0001", service1, day, 1);
    AppServer().GetSomaTurno("0001", "J1", service1, day);
    AppServer().UpdEfetFatu(null, nullFields, delta);
    EXPECT_EQ(service1, "00010");
    EXPECT_EQ(day, kDay);
    EXPECT_EQ(nullFields, "QTCOMEPREV|");
    EXPECT_FALSE(null.has_value());
    EXPECT_EQ(delta, SmallDelta());
}

// A packet as the server sends it: one text column and the given rows.
Fai00400::DataPacket ServerPacket(std::initializer_list<const char*> codes) {
    DataPacket p;
    p.fields = {{"CDSERVFILI", FieldType::String, 5, false}};
    for (const char* code : codes) p.rows.push_back({RowChange::Unchanged, {code}, {}});
    return ToProto(p);
}

TEST_F(MethodTable, BringsBackWhatTheServerAnswered) {
    const auto packet = [](std::initializer_list<const char*> codes) {
        return FromProto(ServerPacket(codes));
    };
    Fai00400::DataPacket malformed = ServerPacket({"00010"});
    malformed.mutable_values(0)->set_texts(0, "TOO-LONG");
    const QString malformedMessage = [&] {
        try {
            FromProto(malformed);
        } catch (const MalformedPacket& e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    }();
    ASSERT_FALSE(malformedMessage.isEmpty());

    const struct {
        const char* what;
        bool success;
        std::string error;
        std::vector<Fai00400::DataPacket> payload;
        ServerResult expected;  // when the call returns
        QString expectedError;  // when it raises EServerError
    } cases[] = {
        {"three packets in order",
         true,
         "",
         {ServerPacket({"00010", "00020"}), ServerPacket({}), ServerPacket({"00030"})},
         {true, "", {packet({"00010", "00020"}), packet({}), packet({"00030"})}},
         {}},
        {"more packets than promised",
         true,
         "",
         {ServerPacket({"1"}), ServerPacket({"2"}), ServerPacket({"3"}), ServerPacket({"4"})},
         {true, "", {packet({"1"}), packet({"2"}), packet({"3"}), packet({"4"})}},
         {}},
        {"a reported failure",
         false,
         "Cliente não pertence à filial 0001.",
         {},
         {false, "Cliente não pertence à filial 0001.", {}},
         {}},
        {"a failure's payload is not read",
         false,
         "Falhou.",
         {malformed},
         {false, "Falhou.", {}},
         {}},
        {"a malformed packet",
         true,
         "",
         {ServerPacket({}), malformed, ServerPacket({})},
         {},
         malformedMessage},
        {"fewer packets than promised",
         true,
         "",
         {ServerPacket({}), ServerPacket({})},
         {},
         "O servidor de aplicação respondeu a GetEfetFatu com 2 pacote(s) de dados, mas "
         "deveria enviar 3."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fai00400::ServerResult answer;
        answer.set_success(c.success);
        answer.set_error(c.error);
        for (const auto& p : c.payload) *answer.add_payload() = p;
        service.AnswerWith(answer);
        QString noService;
        QDate day = kDay;
        try {
            const ServerResult result = AppServer().GetEfetFatu("J1", "0001", noService, day, 0);
            EXPECT_TRUE(c.expectedError.isEmpty()) << "no EServerError";
            EXPECT_EQ(result.success, c.expected.success);
            EXPECT_EQ(result.error, c.expected.error);
            EXPECT_EQ(result.payload, c.expected.payload);
        } catch (const EServerError& e) {
            EXPECT_EQ(e.Message(), c.expectedError);
        }
    }
}

TEST_F(MethodTable, ASingleMethodPromisesOnePacket) {
    Fai00400::ServerResult noPacket;
    noPacket.set_success(true);
    service.AnswerWith(noPacket);
    try {
        AppServer().GetParams("0001");
        ADD_FAILURE() << "accepted an answer without its packet";
    } catch (const EServerError& e) {
        EXPECT_EQ(e.Message(),
                  "O servidor de aplicação respondeu a GetParams com 0 pacote(s) de dados, mas "
                  "deveria enviar 1.");
    }
    EXPECT_TRUE(AppServer().DeletaRel("0001", "0000000042").success);
}

TEST_F(MethodTable, TextMethodsBringBackTheirText) {
    service.AnswerWithText("00020");
    EXPECT_EQ(AppServer().GetVerifSoma(SmallDelta()), "00020");
    service.AnswerWithText("");
    EXPECT_EQ(AppServer().GetVerifSoma(SmallDelta()), "");
    service.AnswerWithText("Relatório nº 0000000042");
    EXPECT_EQ(AppServer().PrxRelFatur("0001"), "Relatório nº 0000000042");
}

TEST_F(MethodTable, ACallTheServerRefusesRaisesItsMessage) {
    const std::function<void(TrdmEfetFaturDisp&)> calls[] = {
        [](auto& s) { s.PrxRelFatur("ZZZZ"); },
        [](auto& s) { s.GetVerifSoma(SmallDelta()); },
        [](auto& s) { s.GetParams("ZZZZ"); },
    };
    const struct {
        grpc::Status status;
        QString expected;
    } cases[] = {
        {{grpc::StatusCode::INVALID_ARGUMENT, "Filial ZZZZ não cadastrada."},
         "Filial ZZZZ não cadastrada."},
        {{grpc::StatusCode::UNIMPLEMENTED, "Método ainda não disponível."},
         "Método ainda não disponível."},
        {{grpc::StatusCode::INTERNAL, ""},
         "O servidor de aplicação em 127.0.0.1:%1 recusou a chamada %2 (código 13)."},
    };
    const char* methods[] = {"PrxRelFatur", "GetVerifSoma", "GetParams"};
    for (const auto& c : cases) {
        service.RefuseWith(c.status);
        for (std::size_t i = 0; i < std::size(calls); ++i) {
            SCOPED_TRACE(methods[i]);
            const QString expected = c.expected.contains("%1")
                                         ? c.expected.arg(server.Port()).arg(methods[i])
                                         : c.expected;
            try {
                calls[i](AppServer());
                ADD_FAILURE() << "no EServerError";
            } catch (const EServerError& e) {
                EXPECT_EQ(e.Message(), expected);
            }
        }
    }
}

}  // namespace
}  // namespace fai
