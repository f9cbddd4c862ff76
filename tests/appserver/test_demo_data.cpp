// The demonstration data: believable, consistent with the billing rules, and the same
// every time for the same day.
#include "BackendTest.h"
#include "CheckResultServ.h"
#include "DemoSeeder.h"
#include "RegistrationNumbers.h"
#include "RunningServer.h"
#include "Schema.h"
#include "TestSeed.h"

namespace fai::appserver::test {
namespace {

// Written apart from the server's generator, in the other usual form of the rule (weights
// 2 to 9 from the right), so that the two check each other.
bool HasValidCheckDigits(const QString& number, int cycle) {
    for (int checked = static_cast<int>(number.size()) - 2; checked < number.size(); ++checked) {
        int sum = 0;
        for (int i = checked - 1, weight = 2; i >= 0; --i) {
            sum += number[i].digitValue() * weight;
            weight = weight == cycle ? 2 : weight + 1;
        }
        const int digit = sum % 11 < 2 ? 0 : 11 - sum % 11;
        if (number[checked].digitValue() != digit) return false;
    }
    return number.count(number[0]) != number.size();
}
// PostgreSQL hands a date back as one, SQLite as its ISO text.
QDate DateOf(const QVariant& value) {
    return value.typeId() == QMetaType::QDate ? value.toDate()
                                              : QDate::fromString(value.toString(), Qt::ISODate);
}

bool IsCpf(const QString& number) { return number.size() == 11 && HasValidCheckDigits(number, 11); }
bool IsCnpj(const QString& number) { return number.size() == 14 && HasValidCheckDigits(number, 9); }

TEST(RegistrationNumbers, CheckDigitsAreThoseOfTheRealDocuments) {
    EXPECT_EQ(CpfWithCheckDigits(QStringLiteral("529982247")), QStringLiteral("52998224725"));
    EXPECT_EQ(CpfWithCheckDigits(QStringLiteral("390533447")), QStringLiteral("39053344705"));
    EXPECT_EQ(CnpjWithCheckDigits(QStringLiteral("112223330001")),
              QStringLiteral("11222333000181"));
    EXPECT_TRUE(IsCpf(QStringLiteral("52998224725")));
    EXPECT_FALSE(IsCpf(QStringLiteral("52998224726")));
    EXPECT_FALSE(IsCpf(QStringLiteral("11111111111")));
    EXPECT_TRUE(IsCnpj(QStringLiteral("11222333000181")));
    EXPECT_FALSE(IsCnpj(QStringLiteral("11222333000182")));
    EXPECT_THROW(CpfWithCheckDigits(QStringLiteral("12345678")), std::invalid_argument);
    EXPECT_THROW(CnpjWithCheckDigits(QStringLiteral("11222333000a")), std::invalid_argument);
}

class DemoData : public BackendTest {};

TEST_P(DemoData, IsABelievableOperationUpToToday) {
    RunningServer server(Location(), true);
    TestSeed seed(Location());
    const QDate today = QDate::currentDate();
    EXPECT_EQ(seed.Count(QStringLiteral("FILIAL")), 3);
    const auto clients =
        seed.Rows(QStringLiteral("SELECT CDCLIENTE, IDTPIJURCLIE, NRINSJURCLIE FROM CLIENTE"));
    EXPECT_GE(clients.size(), 18);
    int companies = 0, persons = 0;
    for (const QVariantList& client : clients) {
        const QString type = client[1].toString(), number = client[2].toString();
        EXPECT_EQ(client[0].toString(), type + number);
        if (type == QStringLiteral("J")) {
            ++companies;
            EXPECT_TRUE(IsCnpj(number)) << number.toStdString();
        } else {
            ++persons;
            EXPECT_TRUE(IsCpf(number)) << number.toStdString();
        }
    }
    EXPECT_GT(companies, 0);
    EXPECT_GT(persons, 0);

    // The closed-day rule is on at one branch and off at the others.
    QStringList rule;
    for (const QString& branch :
         {QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0003")}) {
        const DataPacket params =
            CheckResultServ(server.Methods().GetParams(branch), true, 0).at(0);
        ASSERT_EQ(params.rows.size(), 1u);
        const bool on = At(params, 0, "IDUTILDTPROC") == Value("S") &&
                        At(params, 0, "IDBLQEFEDIAFECH") == Value("S");
        rule << (on ? QStringLiteral("on") : QStringLiteral("off"));
    }
    EXPECT_EQ(rule.count(QStringLiteral("on")), 1);
    EXPECT_EQ(rule.count(QStringLiteral("off")), 2);

    const auto span =
        seed.Rows(QStringLiteral("SELECT MIN(DTFATURAM), MAX(DTFATURAM) FROM EFETFATUR"));
    EXPECT_EQ(DateOf(span[0][0]), today.addDays(-89));
    EXPECT_EQ(DateOf(span[0][1]), today);
    for (const char* table : {"APURACFATCLI", "TURNO", "EFETTURNO", "ITEMRATEIOEFET",
                              "ITRATEFECLIFAT", "PLANEFETCLI", "EFETTRANSP"})
        EXPECT_GT(seed.Count(QLatin1String(table)), 0) << table;
}

TEST_P(DemoData, AgreesWithItsShiftBreakdownsAndApportionments) {
    RunningServer server(Location(), true);
    TestSeed seed(Location());
    // Every breakdown and every apportionment adds up to the billed count of its row.
    const auto shiftsOff = seed.Rows(QStringLiteral(
        "SELECT COUNT(*) FROM EFETFATUR E WHERE E.QTCOMEFATU <> (SELECT SUM(Q.QTCOMFATUTUR) "
        "FROM EFETTURNO Q WHERE Q.CDFILIAL = E.CDFILIAL AND Q.CDCLIENTE = E.CDCLIENTE AND "
        "Q.CDSERVFILI = E.CDSERVFILI AND Q.DTFATURAMTUR = E.DTFATURAM)"));
    EXPECT_EQ(shiftsOff[0][0].toInt(), 0);
    const auto apportionmentOff = seed.Rows(QStringLiteral(
        "SELECT COUNT(*) FROM EFETFATUR E WHERE E.QTCOMEFATU <> (SELECT SUM(L.QTEFETIVOS) "
        "FROM ITRATEFECLIFAT L WHERE L.CDFILIAL = E.CDFILIAL AND L.CDCLIENTE = E.CDCLIENTE AND "
        "L.CDSERVFILI = E.CDSERVFILI AND L.DTFATURAM = E.DTFATURAM)"));
    EXPECT_EQ(apportionmentOff[0][0].toInt(), 0);
    // Rows inside an assessed period carry its number, the others none.
    const auto assessedOff = seed.Rows(QStringLiteral(
        "SELECT COUNT(*) FROM EFETFATUR E WHERE (E.NRAPURACFAT IS NULL) = EXISTS (SELECT 1 "
        "FROM APURACFATCLI A WHERE A.CDFILIAL = E.CDFILIAL AND A.CDCLIENTE = E.CDCLIENTE AND "
        "E.DTFATURAM BETWEEN A.DTINIAPURAC AND A.DTFIMAPURAC)"));
    EXPECT_EQ(assessedOff[0][0].toInt(), 0);

    // Through the methods: the shift sum the screen compares is the row's billed count.
    const auto row = seed.Rows(
        QStringLiteral(
            "SELECT E.CDFILIAL, E.CDCLIENTE, E.CDSERVFILI, E.QTCOMEFATU FROM EFETFATUR E "
            "JOIN EFETTURNO Q ON Q.CDFILIAL = E.CDFILIAL AND Q.CDCLIENTE = E.CDCLIENTE AND "
            "Q.CDSERVFILI = E.CDSERVFILI AND Q.DTFATURAMTUR = E.DTFATURAM WHERE E.DTFATURAM = ?"),
        {SqlDate(QDate::currentDate())});
    ASSERT_FALSE(row.isEmpty());
    QString service = row[0][2].toString();
    QDate today = QDate::currentDate();
    const DataPacket sum =
        CheckResultServ(server.Methods().GetSomaTurno(row[0][0].toString(), row[0][1].toString(),
                                                      service, today),
                        true, 0)
            .at(0);
    EXPECT_EQ(At(sum, 0, "SOMA"), Value(row[0][3].toDouble()));
}

TEST_P(DemoData, IsTheSameForTheSameDayAndOnlyGoesIntoAnEmptyDatabase) {
    const QDate day(2026, 3, 10);
    TestDatabase other(GetParam());
    QList<QVariantList> dumps[2];
    int i = 0;
    for (const DatabaseLocation& location : {Location(), other.Location()}) {
        TestSeed seed(location);
        Schema::Upgrade(seed.Session());
        EXPECT_TRUE(DemoSeeder(seed.Session(), day).SeedIfEmpty());
        dumps[i++] = seed.Rows(QStringLiteral(
            "SELECT CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, QTCOMEFATU, QTCOMEPREV, "
            "VRSERVFATUDT, NRAPURACFAT FROM EFETFATUR "
            "ORDER BY CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM"));
    }
    EXPECT_GT(dumps[0].size(), 1000);
    EXPECT_EQ(dumps[0], dumps[1]);
    TestSeed seed(Location());
    EXPECT_FALSE(DemoSeeder(seed.Session(), day.addDays(1)).SeedIfEmpty());
    EXPECT_EQ(seed.Count(QStringLiteral("EFETFATUR")), dumps[0].size());
}

INSTANTIATE_TEST_SUITE_P(Backends, DemoData, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
