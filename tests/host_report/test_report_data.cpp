#include "Errors.h"
#include "ReportDocument.h"
#include "ReportParams.h"
#include "ReportQuery.h"
#include "ReportTesting.h"
#include "ReportTotals.h"
#include "SelectionKeys.h"
#include "ValueFormatter.h"

#include <cmath>

using namespace fai;
using namespace fai::testing;
using appserver::test::Backend;

namespace {

// Keys a multi-selection may hand over, quotes and semicolons included.
const QStringList kKeys = {"plain", "A'B", "C;D", "E', 'F", "X');DROP TABLE RELCOMENSAL;--"};

// Items with a code, a name, a day and a quantity, read from the listing's working data: the
// client's name is the code, the service's name the name. `where` speaks of the item's
// columns.
ReportDefinition ItemsReport(const QString& where) {
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = "Itens";
    definition.parameters = {{"P_LISTA", ParamType::List},
                             {"P_DTINI", ParamType::Date},
                             {"P_MIN", ParamType::Number},
                             {"P_NOME", ParamType::Text}};
    definition.sql =
        "SELECT CODIGO, NOME, DIA, QTD FROM (SELECT NMRAZSOCCLIE AS CODIGO, NMSERVICO AS NOME, "
        "DTFATURAM AS DIA, QTCOMEFATU AS QTD FROM RELCOMENSAL) ITENS WHERE " +
        where + " ORDER BY CODIGO";
    definition.detail = BandOf(BandKind::Detail, 5, {FieldAt({0, 0, 40, 5}, "CODIGO")});
    return definition;
}

class ReportData : public ServedDataTest {
  protected:
    void SetUp() override {
        ServedDataTest::SetUp();
        if (IsSkipped()) return;
        for (qsizetype i = 0; i < kKeys.size(); ++i)
            Listed(QStringLiteral("C%1").arg(i), kKeys[i], QStringLiteral("Nome %1").arg(i),
                   QDate(2024, 3, 1).addDays(i), i * 1.5);
    }

    // The codes the report reads with the parameters the handler sets.
    static QStringList Codes(const ReportDefinition& definition, const QueryParamsEvent& set) {
        ReportParams params(definition);
        set(params);
        NoProgress progress;
        const ReportTable table = RunReportQuery(definition, params, progress);
        QStringList codes;
        for (int row = 0; row < table.RowCount(); ++row)
            codes << table.At(row, table.ColumnIndex("codigo")).Text();
        return codes;
    }
};

TEST_P(ReportData, ParametersAreBoundInTheirTypesAndListsKeyByKey) {
    struct Case {
        const char* name;
        QueryParamsEvent set;
        QStringList codes;
    };
    const Case cases[] = {
        {"hostile keys are only values",
         [](ReportParams& p) { p.ParamByName("P_LISTA").SetAsString(JoinKeys(kKeys.mid(1))); },
         {"A'B", "C;D", "E', 'F", "X');DROP TABLE RELCOMENSAL;--"}},
        {"one key",
         [](ReportParams& p) { p.ParamByName("p_lista").SetAsString("'C;D'"); },
         {"C;D"}},
        {"a key that looks like a list of two",
         [](ReportParams& p) { p.ParamByName("P_LISTA").SetAsString(JoinKeys({"E', 'F"})); },
         {"E', 'F"}},
        {"no key matches nothing",
         [](ReportParams& p) { p.ParamByName("P_LISTA").SetAsString(""); },
         {}},
        {"date from the day number the screens pass",
         [](ReportParams& p) {
             p.ParamByName("P_LISTA").SetAsString(JoinKeys(kKeys));
             p.ParamByName("P_DTINI").SetAsFloat(double(ToDaySerial(QDate(2024, 3, 3))));
         },
         {"C;D", "E', 'F", "X');DROP TABLE RELCOMENSAL;--"}},
        {"date as typed",
         [](ReportParams& p) {
             p.ParamByName("P_LISTA").SetAsString(JoinKeys(kKeys));
             p.ParamByName("P_DTINI").SetAsString("04/03/2024");
         },
         {"E', 'F", "X');DROP TABLE RELCOMENSAL;--"}},
        {"number as Brazilian text",
         [](ReportParams& p) {
             p.ParamByName("P_LISTA").SetAsString(JoinKeys(kKeys));
             p.ParamByName("P_MIN").SetAsString("4,5");
         },
         {"E', 'F", "X');DROP TABLE RELCOMENSAL;--"}},
        {"number",
         [](ReportParams& p) {
             p.ParamByName("P_LISTA").SetAsString(JoinKeys(kKeys));
             p.ParamByName("P_MIN").SetAsFloat(1.5);
         },
         {"A'B", "C;D", "E', 'F", "X');DROP TABLE RELCOMENSAL;--"}},
    };
    const ReportDefinition definition = ItemsReport(
        "CODIGO IN (:P_LISTA) AND DIA >= :P_DTINI AND QTD >= :P_MIN AND NOME <> :P_NOME");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList codes = Codes(definition, [&c](ReportParams& p) {
            p.ParamByName("P_DTINI").SetAsDateTime(QDate(2024, 1, 1));
            p.ParamByName("P_MIN").SetAsFloat(0);
            p.ParamByName("P_NOME").SetAsString("'; DELETE FROM RELCOMENSAL; --");
            c.set(p);
        });
        EXPECT_EQ(codes, c.codes);
    }
    // "T" for all, as the listing passes it, tested in the query itself.
    const ReportDefinition all = ItemsReport("('T' IN (:P_LISTA) OR CODIGO IN (:P_LISTA))");
    EXPECT_EQ(Codes(all, [](ReportParams& p) { p.ParamByName("P_LISTA").SetAsString("T"); }).size(),
              kKeys.size());
}

TEST_P(ReportData, WhatGoesWrongIsSaidNamingParameterAndReport) {
    const ReportDefinition definition = ItemsReport("CODIGO IN (:P_LISTA) AND DIA >= :P_DTINI");
    ReportParams params(definition);
    EXPECT_TRUE(params.ExistParam("p_dtini"));
    EXPECT_FALSE(params.ExistParam("P_CDSERVFILI"));
    struct Case {
        const char* name;
        std::function<void()> run;
        QString message;
    };
    const Case cases[] = {
        {"undeclared parameter", [&] { params.ParamByName("P_CDSERVFILI").SetAsString("T"); },
         "O parâmetro 'P_CDSERVFILI' não foi encontrado no relatório 'Itens' (Fai004)."},
        {"not a date", [&] { params.ParamByName("P_DTINI").SetAsString("31/02/2024"); },
         "O valor \"31/02/2024\" não serve para o parâmetro 'P_DTINI' (data) do relatório "
         "'Itens' (Fai004)."},
        {"not a number", [&] { params.ParamByName("P_MIN").SetAsString("muitos"); },
         "O valor \"muitos\" não serve para o parâmetro 'P_MIN' (número) do relatório 'Itens' "
         "(Fai004)."},
        {"left without a value",
         [&] {
             NoProgress progress;
             RunReportQuery(definition, params, progress);
         },
         "O parâmetro 'P_LISTA' do relatório 'Itens' (Fai004) não recebeu valor."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.run();
            ADD_FAILURE() << "no error";
        } catch (const EError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_THROW(params.ParamByName("NENHUM"), EParamNotFound);
}

TEST_P(ReportData, ARunThatCannotBeMadeSaysWhyNamingTheReport) {
    const QueryParamsEvent set = [](ReportParams& p) {
        p.ParamByName("P_NOME").SetAsString("Nome 1");
    };
    struct Case {
        const char* name;
        std::function<void(ReportDefinition&)> change;
        QString message;  // the start of it
    };
    const Case cases[] = {
        {"no rows", [](ReportDefinition& d) { d.sql.replace("ORDER BY", "AND 1 = 0 ORDER BY"); },
         "Nenhum registro encontrado para os parâmetros informados."},
        {"database error",
         [](ReportDefinition& d) { d.sql.replace("FROM RELCOMENSAL", "FROM NAOEXISTE"); },
         "A consulta 'Itens (Fai004)' foi recusada pelo banco de dados: "},
        {"a field the query does not return",
         [](ReportDefinition& d) { d.detail->elements[0].field = "NMCLIENTE"; },
         "O relatório 'Itens' (Fai004) usa o campo 'NMCLIENTE', que a consulta não traz."},
        {"a group by a field the query does not return",
         [](ReportDefinition& d) {
             d.groups.push_back({"CDGRUPO", true, {}, {}});
         },
         "O relatório 'Itens' (Fai004) agrupa pelo campo 'CDGRUPO', que a consulta não traz."},
        {"a sum of texts",
         [](ReportDefinition& d) {
             d.summary = BandOf(BandKind::Summary, 5,
                                {AggregateAt({0, 0, 20, 5}, AggregateFunction::Sum, "NOME", {})});
         },
         "A coluna 'NOME' tem o valor \"Nome 1\", que não é um número: não pode ser somada."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportDefinition definition = ItemsReport("NOME = :P_NOME");
        c.change(definition);
        NoProgress progress;
        try {
            RunReport(definition, set, progress);
            ADD_FAILURE() << "ran";
        } catch (const EError& e) {
            // PostgreSQL names its columns in lower case.
            EXPECT_TRUE(e.Message().startsWith(c.message, Qt::CaseInsensitive))
                << e.Message().toStdString();
            if (QString(c.name) == "database error") {
                EXPECT_TRUE(e.Message().contains("naoexiste", Qt::CaseInsensitive))
                    << e.Message().toStdString();
            }
        }
    }
    // The table is still there and whole after every run above.
    EXPECT_EQ(Seed().Count("RELCOMENSAL"), kKeys.size());
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportData, appserver::test::kBackends,
                         appserver::test::BackendNamer());

TEST(ReportTotals, GroupsBreakWhereAnOuterFieldChangesAndSumsAreExact) {
    ReportTable table({"A", "B", "Q"});
    const auto add = [&table](const char* a, const char* b, const Value& q) {
        std::vector<Value> row{Value(a), Value(b), q};
        table.AppendRow(row);
    };
    // B repeats across a change of A: the inner group still breaks there.
    add("1", "x", 0.1);
    add("1", "x", 0.2);
    add("1", "y", Value());
    add("2", "y", 0.7);
    add("2", "y", 12345.67891);
    ReportTotals totals(table, {0, 1});
    EXPECT_EQ((std::vector<int>{totals.BreakLevel(0), totals.BreakLevel(1), totals.BreakLevel(2),
                                totals.BreakLevel(3), totals.BreakLevel(4)}),
              (std::vector<int>{0, 2, 1, 0, 2}));
    const int sumA = totals.Add(AggregateFunction::Sum, 2, 0);
    const int countB = totals.Add(AggregateFunction::Count, 2, 1);
    const int rows = totals.Add(AggregateFunction::Count, -1, -1);
    const int average = totals.Add(AggregateFunction::Average, 2, -1);
    const int minimum = totals.Add(AggregateFunction::Minimum, 2, 0);
    const int maximum = totals.Add(AggregateFunction::Maximum, 2, -1);
    const int emptyAverage = totals.Add(AggregateFunction::Average, 2, 1);
    totals.Compute();
    EXPECT_EQ(totals.Result(sumA, 0), Value(0.3));
    EXPECT_EQ(totals.Result(sumA, 4), Value(12346.37891));
    EXPECT_EQ(totals.Result(countB, 1), Value(2.0));
    EXPECT_EQ(totals.Result(countB, 2), Value(0.0));
    EXPECT_EQ(totals.Result(rows, 2), Value(5.0));
    EXPECT_EQ(totals.Result(average, 0), Value(12346.67891 / 4));
    EXPECT_EQ(totals.Result(minimum, 4), Value(0.7));
    EXPECT_EQ(totals.Result(maximum, 0), Value(12345.67891));
    EXPECT_TRUE(totals.Result(emptyAverage, 2).IsNull());

    // Ten thousand tenths add up to a thousand exactly, as no running double sum does.
    ReportTable many({"Q"});
    double naive = 0;
    for (int i = 0; i < 10000; ++i) {
        std::vector<Value> row{Value(0.1)};
        many.AppendRow(row);
        naive += 0.1;
    }
    ReportTotals manyTotals(many, {});
    const int sum = manyTotals.Add(AggregateFunction::Sum, 0, -1);
    manyTotals.Compute();
    EXPECT_NE(naive, 1000.0);
    EXPECT_EQ(manyTotals.Result(sum, 0), Value(1000.0));
}

TEST(ValueFormatter, ShowsValuesTheBrazilianWay) {
    struct Case {
        DisplayFormat format;
        Value value;
        QString personType;
        QString text;
    };
    const DisplayFormat none;
    const DisplayFormat date{FormatKind::Date, 2, true, {}};
    const DisplayFormat registration{FormatKind::Registration, 2, true, "T"};
    const Case cases[] = {
        {NumberFormat(3), Value(1234567.8916), {}, "1.234.567,892"},
        {NumberFormat(0), Value(-0.4), {}, "0"},
        {NumberFormat(5), Value("12.5"), {}, "12,50000"},
        {DisplayFormat{FormatKind::Number, 2, false, {}}, Value(1234.5), {}, "1234,50"},
        {NumberFormat(2), Value("n/d"), {}, "n/d"},
        {NumberFormat(2), Value(), {}, ""},
        {date, Value(QDate(2024, 3, 5)), {}, "05/03/2024"},
        {date, Value("2024-03-05"), {}, "05/03/2024"},
        {date, Value("2024-03-05 00:00:00"), {}, "05/03/2024"},
        {none, Value(QDate(2024, 12, 31)), {}, "31/12/2024"},
        {none, Value(2.5), {}, "2,5"},
        {registration, Value("12345678000195"), "J", "12.345.678/0001-95"},
        {registration, Value("12345678909"), "F", "123.456.789-09"},
        {registration, Value("XPTO"), "E", "XPTO"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueFormatter(c.format).Text(c.value, c.personType), c.text)
            << c.text.toStdString();
    }
}

}  // namespace
