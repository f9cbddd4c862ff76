// The shift breakdown on both databases: saves of shift quantities (SetTurno), the sum of one
// row (GetSomaTurno) and the check of a whole screen against its shifts (GetVerifSoma).
#include "CheckResultServ.h"
#include "Clerk.h"
#include "Deltas.h"
#include "PacketConversion.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"

#include <functional>
#include <limits>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kMorning = QStringLiteral("1");
const QString kAfternoon = QStringLiteral("2");
const QString kNight = QStringLiteral("3");

class ShiftSaves : public SampleTest {
  protected:
    void SeedMore(TestSeed& seed) override {
        seed.Shift(kBranch, kMorning, QStringLiteral("MANHA"))
            .Shift(kBranch, kAfternoon, QStringLiteral("TARDE"))
            .Shift(kBranch, kNight, QStringLiteral("NOITE"))
            .Shift(kOtherBranch, QStringLiteral("4"), QStringLiteral("MADRUGADA"))
            .Headcount(Key(kLunch, kDay), 100, 100);
    }

    // A clerk on the shift tab of the row of the service and day.
    std::unique_ptr<Clerk> OnShiftsOf(const QString& service, const QDate& day) {
        auto clerk = std::make_unique<Clerk>(server_->Methods(), kBranch, kAlfa);
        clerk->OpenDay(day);
        EXPECT_TRUE(clerk->GoTo(service));
        clerk->OpenShifts();
        return clerk;
    }
    // The delta the shift tab sends after the clerk typed the quantity.
    DataPacket Typed(const QString& service, const QDate& day, const QString& shift,
                     double quantity) {
        const std::unique_ptr<Clerk> clerk = OnShiftsOf(service, day);
        ClientDataSet& shifts = clerk->Shifts();
        EXPECT_TRUE(shifts.Locate(u"CDTURNO", Value(shift)));
        shifts.Edit();
        shifts.FieldByName(u"QTCOMFATUTUR").SetAsFloat(quantity);
        shifts.Post();
        return shifts.Delta();
    }
    DataPacket ScreenRows(const QString& service, const QDate& day) {
        QString filterService = service;
        QDate filterDay = day;
        return CheckResultServ(server_->Methods().GetEfetFatu(kAlfa, kBranch, filterService,
                                                              filterDay, service.isEmpty() ? 0 : 1),
                               true, 0)
            .at(0);
    }
};

TEST_P(ShiftSaves, StoresChangesAndRemovesTheQuantitiesTheClerkSaves) {
    struct Case {
        const char* what;
        QString service, shift;
        std::optional<double> typed, stored;
    };
    const Case cases[] = {
        {"a first quantity", kLunch, kMorning, 60, 60},
        {"another shift", kLunch, kAfternoon, 40, 40},
        {"a changed quantity", kLunch, kMorning, 55.5, 55.5},
        {"a stored quantity made zero", kLunch, kAfternoon, 0, 0},
        {"a quantity cleared", kLunch, kAfternoon, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ServerResult result = OnShiftsOf(c.service, kDay)->SetShift(c.shift, c.typed);
        ASSERT_TRUE(result.success) << result.error.toStdString();
        EXPECT_EQ(seed_->ShiftQuantity(Key(c.service, kDay), c.shift), c.stored);
    }
    EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, kDay), kMorning), 55.5);
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETTURNO")), 1);
}

TEST_P(ShiftSaves, RefusesWhatTheRulesForbidAndWritesNothing) {
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 0, QStringLiteral("S"))
        .Period(kBranch, kAlfa, QStringLiteral("0000000005"), QDate(2026, 3, 20),
                QDate(2026, 3, 25));
    struct Case {
        const char* what;
        std::function<DataPacket()> delta;
        QString error;
    };
    auto typed = [this](const QDate& day, double quantity) {
        return [=, this] { return Typed(kLunch, day, kMorning, quantity); };
    };
    auto spoiled = [this](const char* field, const Value& value) {
        return [=, this] {
            DataPacket delta = Typed(kLunch, kDay, kMorning, 10);
            SetEverywhere(delta, field, value);
            return delta;
        };
    };
    const Case cases[] = {
        {"a closed day", typed(kDay.addDays(-1), 10),
         QStringLiteral("Serviço 00001, data 09/03/2026: Data bloqueada para alteração de "
                        "efetivos para faturamento para dias fechados.")},
        {"an assessed day", typed(QDate(2026, 3, 20), 10),
         QStringLiteral("Serviço 00001, data 20/03/2026: Efetivos do cliente já apurados na data "
                        "selecionada.")},
        {"a negative quantity", typed(kDay, -1),
         QStringLiteral("Turno 1 (Serviço 00001, data 10/03/2026): Quantidade deve ser maior ou "
                        "igual a zero.")},
        {"a quantity of ten digits", typed(kDay, 1e9),
         QStringLiteral("Turno 1 (Serviço 00001, data 10/03/2026): Quantidade deve ter no máximo "
                        "9 dígitos antes da vírgula.")},
        {"an infinite quantity", typed(kDay, std::numeric_limits<double>::infinity()),
         QStringLiteral("Turno 1 (Serviço 00001, data 10/03/2026): Quantidade deve ter no máximo "
                        "9 dígitos antes da vírgula.")},
        {"a row whose headcount is not stored", [&] { return Typed(kDinner, kDay, kNight, 5); },
         QStringLiteral("Serviço 00002, data 10/03/2026: o efetivo do dia não está gravado; "
                        "grave-o antes de informar os turnos.")},
        {"a shift no branch has", spoiled("CDTURNO", "9"),
         QStringLiteral("Turno 9 não é um turno da filial 0001.")},
        {"a shift of another branch", spoiled("CDTURNO", "4"),
         QStringLiteral("Turno 4 não é um turno da filial 0001.")},
        {"a service the client does not have", spoiled("CDSERVFILI", kBreakfast),
         QStringLiteral("Serviço 00003, data 10/03/2026: Serviço não relacionado ao cliente e "
                        "filial informados.")},
        {"a client of another branch", spoiled("CDFILIAL", kOtherBranch),
         QStringLiteral("Cliente J11222333000181 não cadastrado na filial 0002.")},
        {"the shifts of two rows",
         [&] {
             return Joined({Typed(kLunch, kDay, kMorning, 1), Typed(kDinner, kDay, kMorning, 1)});
         },
         QStringLiteral("Um salvamento de turnos é de um só efetivo: uma filial, um cliente, um "
                        "serviço e uma data.")},
        {"one shift twice",
         [&] {
             return Joined({Typed(kLunch, kDay, kMorning, 1), Typed(kLunch, kDay, kMorning, 2)});
         },
         QStringLiteral("Turno 1 (Serviço 00001, data 10/03/2026): o turno aparece mais de uma "
                        "vez no salvamento.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString nullFields;
        EXPECT_EQ(server_->Methods().SetTurno(c.delta(), nullFields).error, c.error);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETTURNO")), 0);
}

TEST_P(ShiftSaves, AQuantityAnotherClerkSavedMeanwhileIsNotOverwritten) {
    struct Case {
        const char* what;
        std::optional<double> before, first, second;
    };
    const Case cases[] = {
        {"both type a first quantity", std::nullopt, 60, 70},
        {"both change it", 50, 60, 70},
        {"one clears it, the other changes it", 50, std::nullopt, 70},
        {"one changes it, the other clears it", 50, 60, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed_->Session().Run(QStringLiteral("DELETE FROM EFETTURNO"));
        if (c.before) seed_->ShiftQuantity(Key(kLunch, kDay), kMorning, *c.before);
        const auto first = OnShiftsOf(kLunch, kDay), second = OnShiftsOf(kLunch, kDay);
        const ServerResult won = first->SetShift(kMorning, c.first);
        ASSERT_TRUE(won.success) << won.error.toStdString();
        const ServerResult lost = second->SetShift(kMorning, c.second);
        EXPECT_EQ(lost.error,
                  QStringLiteral("Turno 1 (Serviço 00001, data 10/03/2026): a quantidade foi "
                                 "alterada por outro usuário depois de carregada. Recarregue os "
                                 "turnos e refaça a alteração."));
        EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, kDay), kMorning), c.first);
        EXPECT_EQ(second->Shifts().ChangeCount(), 0);
    }
}

TEST_P(ShiftSaves, GetVerifSomaNamesTheFirstRowThatDisagreesWithItsShifts) {
    seed_->Headcount(Key(kDinner, kDay), 40, 40).Headcount(Key(kLunch, kDay.addDays(-1)), 50, 50);
    struct Quantity {
        QString service;
        QDate day;
        QString shift;
        double quantity;
    };
    struct Case {
        const char* what;
        std::vector<Quantity> shifts;
        QString filterService;  // empty: by day, on kDay + dayOffset
        int dayOffset;
        QString answer;
    };
    const QDate before = kDay.addDays(-1), after = kDay.addDays(1);
    const Case cases[] = {
        {"thirds that add up to the count",
         {{kLunch, kDay, kMorning, 33.3},
          {kLunch, kDay, kAfternoon, 33.3},
          {kLunch, kDay, kNight, 33.4}},
         {},
         0,
         {}},
        {"shifts over the count",
         {{kLunch, kDay, kMorning, 60}, {kLunch, kDay, kAfternoon, 60}},
         {},
         0,
         kLunch},
        {"no shifts stored", {}, {}, 0, {}},
        {"shifts of zero", {{kLunch, kDay, kMorning, 0}, {kLunch, kDay, kAfternoon, 0}}, {}, 0, {}},
        {"the second row disagrees",
         {{kLunch, kDay, kMorning, 100},
          {kDinner, kDay, kMorning, 20},
          {kDinner, kDay, kNight, 25}},
         {},
         0,
         kDinner},
        {"a row not stored counts as zero", {{kDinner, after, kMorning, 5}}, {}, 1, kDinner},
        {"by service, one day disagrees",
         {{kLunch, before, kMorning, 25},
          {kLunch, before, kNight, 25},
          {kLunch, kDay, kMorning, 99}},
         kLunch,
         0,
         kLunch},
        {"by service, every day agrees",
         {{kLunch, before, kMorning, 50}, {kLunch, kDay, kMorning, 100}},
         kLunch,
         0,
         {}},
        {"shifts of another client's row", {}, {}, 0, {}},
    };
    seed_->Headcount({kBranch, kBruno, kLunch, kDay}, 1, 1)
        .ShiftQuantity({kBranch, kBruno, kLunch, kDay}, kMorning, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed_->Session().Run(QStringLiteral("DELETE FROM EFETTURNO WHERE CDCLIENTE = ?"), {kAlfa});
        for (const Quantity& q : c.shifts)
            seed_->ShiftQuantity(Key(q.service, q.day), q.shift, q.quantity);
        const DataPacket rows = ScreenRows(
            c.filterService, c.filterService.isEmpty() ? kDay.addDays(c.dayOffset) : ZeroDate());
        EXPECT_EQ(server_->Methods().GetVerifSoma(rows), c.answer);
    }
}

TEST_P(ShiftSaves, GetVerifSomaPassesOverARowNotKeyedYet) {
    seed_->ShiftQuantity(Key(kLunch, kDay), kMorning, 60);
    ClientDataSet rows;
    rows.SetData(ScreenRows(kLunch, ZeroDate()));
    rows.Append();  // a new day not typed yet, first in the packet
    rows.Post();
    rows.First();
    DataPacket content = rows.Data();
    std::rotate(content.rows.rbegin(), content.rows.rbegin() + 1, content.rows.rend());
    EXPECT_EQ(server_->Methods().GetVerifSoma(content), kLunch);
}

TEST_P(ShiftSaves, GetSomaTurnoAnswersTheSumAtTheQuantitiesPrecision) {
    struct Case {
        std::vector<double> quantities;
        double sum;
    };
    const Case cases[] = {
        {{33.3, 33.3, 33.4}, 100}, {{0.1, 0.2}, 0.3}, {{1e-6}, 0}, {{60, 40.5}, 100.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sum);
        seed_->Session().Run(QStringLiteral("DELETE FROM EFETTURNO"));
        const QString shifts[] = {kMorning, kAfternoon, kNight};
        for (std::size_t i = 0; i < c.quantities.size(); ++i)
            seed_->ShiftQuantity(Key(kLunch, kDay), shifts[i], c.quantities[i]);
        QString service = kLunch;
        QDate day = kDay;
        const DataPacket sum =
            CheckResultServ(server_->Methods().GetSomaTurno(kBranch, kAlfa, service, day), true, 0)
                .at(0);
        EXPECT_EQ(Column(sum, "SOMA"), (std::vector<Value>{c.sum}));
    }
}

TEST_P(ShiftSaves, AWholeScreenOfHeadcountsFitsInOneRequest) {
    seed_->ShiftQuantity(Key(kLunch, kDay.addDays(30'000)), kMorning, 1);
    DataPacket rows = ScreenRows({}, kDay);
    const PacketRow row = rows.rows.at(0);
    rows.rows.clear();
    for (int i = 0; i < 120'000; ++i) {
        rows.rows.push_back(row);
        rows.rows.back().values[rows.FieldIndex(u"DTFATURAM")] = Value(kDay.addDays(i));
    }
    ASSERT_GT(ToProto(rows).ByteSizeLong(), 4u * 1024 * 1024) << "more than gRPC takes by default";
    EXPECT_EQ(server_->Methods().GetVerifSoma(rows), kLunch);
}

INSTANTIATE_TEST_SUITE_P(Backends, ShiftSaves, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
