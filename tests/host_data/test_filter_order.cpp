#include "ClientDataSet.h"
#include "DataSetTesting.h"
#include "Errors.h"
#include "HeadcountShape.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fai {
namespace {

using testing::Codes;
using testing::EventLog;
using testing::SmallPacket;
using Events = std::vector<std::string>;
using CodeList = std::vector<QString>;

class FilterOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::AddSmallFields(data);
        data.SetData(SmallPacket({"b", "D", "a", "C", "e"}));
    }
    QString Code() { return data.FieldByName("CODE").AsString(); }
    static bool EvenQuantity(const RowView& row) { return int(row.AsFloat("QTY")) % 2 == 0; }

    ClientDataSet data{"cdsFiltro"};
};

TEST_F(FilterOrderTest, HiddenRowsTakeNoPartInNavigationCountsOrLocate) {
    data.SetFilter(EvenQuantity);
    EXPECT_EQ(data.RecordCount(), 5);  // not filtered until switched on
    data.SetFiltered(true);
    EXPECT_EQ(data.RecordCount(), 2);
    EXPECT_EQ(Codes(data), (CodeList{"D", "C"}));
    EXPECT_EQ(Code(), "D");  // the current row was hidden: the first one is current
    data.Next();
    EXPECT_EQ(Code(), "C");
    data.Next();
    EXPECT_TRUE(data.Eof());
    EXPECT_FALSE(data.Locate("CODE", Value("a")));
    EXPECT_TRUE(data.Locate("CODE", Value("D")));
    EXPECT_EQ(data.Data().rows.size(), 5u);  // the whole content, not the filtered view
    data.SetFiltered(false);
    EXPECT_EQ(Code(), "D");  // still visible: stays current
    EXPECT_EQ(data.RecordCount(), 5);
}

TEST_F(FilterOrderTest, AFilterChangeScrollsOnlyWhenTheCurrentRowChanges) {
    data.SetFilter([](const RowView& row) { return row.AsString("CODE") != "D"; });
    EventLog log(data);
    data.SetFiltered(true);  // "b" stays current
    EXPECT_EQ(log.Take(), Events{});
    data.SetFilter([](const RowView& row) { return row.AsString("CODE") == "C"; });
    EXPECT_EQ(log.Take(), Events({"BeforeScroll", "AfterScroll"}));
    data.BeforeScroll = [](ClientDataSet&) { throw EAbort(); };
    EXPECT_THROW(data.SetFilter([](const RowView& row) { return row.AsString("CODE") == "a"; }),
                 EAbort);  // refused: nothing changes
    EXPECT_TRUE(data.Filtered());
    EXPECT_EQ(Codes(data), (CodeList{"C"}));
    data.SetFiltered(false);  // "C" stays current: no scroll to refuse
    EXPECT_EQ(data.RecordCount(), 5);
}

TEST_F(FilterOrderTest, ARowThatNoLongerPassesDisappearsWhenPosted) {
    data.SetFilter(EvenQuantity);
    data.SetFiltered(true);
    data.Edit();
    data.FieldByName("QTY").SetAsFloat(3);
    data.Post();
    EXPECT_EQ(Codes(data), (CodeList{"C"}));
    EXPECT_EQ(Code(), "C");
    EXPECT_FALSE(data.Eof());
    data.Append();
    data.FieldByName("CODE").SetAsString("F");
    data.FieldByName("QTY").SetAsFloat(7);
    data.Post();
    EXPECT_EQ(Codes(data), (CodeList{"C"}));
    EXPECT_EQ(data.ChangeCount(), 2);
    data.Edit();
    data.FieldByName("QTY").SetAsFloat(1);
    data.Post();
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_TRUE(data.Bof() && data.Eof());
    EXPECT_EQ(data.RecNo(), 0);
    data.SetFiltered(false);
    EXPECT_EQ(Codes(data), (CodeList{"b", "D", "a", "C", "e", "F"}));
}

TEST_F(FilterOrderTest, AFilterThatThrowsIsRefusedOrSwitchedOff) {
    int calls = 0;
    data.SetFilter([&calls](const RowView&) -> bool {
        if (++calls > 2) throw std::runtime_error("filtro quebrado");
        return true;
    });
    EXPECT_THROW(data.SetFiltered(true), std::runtime_error);
    EXPECT_FALSE(data.Filtered());
    EXPECT_EQ(data.RecordCount(), 5);
    calls = 0;
    data.SetFilter([&calls](const RowView&) -> bool {
        if (++calls > 5) throw EError("filtro quebrado");
        return true;
    });
    data.SetFiltered(true);
    ASSERT_TRUE(data.Filtered());
    // On a reload the dataset stays usable: the filter goes off and the error surfaces.
    EXPECT_THROW(data.SetData(SmallPacket({"x", "y"})), EError);
    EXPECT_FALSE(data.Filtered());
    EXPECT_EQ(Codes(data), (CodeList{"x", "y"}));
    EXPECT_EQ(Code(), "x");
}

TEST_F(FilterOrderTest, IndexFieldNamesOrdersRowsAndKeepsThemOrderedAsTheyChange) {
    data.Next();
    data.SetIndexFieldNames("CODE");
    EXPECT_EQ(Codes(data), (CodeList{"C", "D", "a", "b", "e"}));  // case-sensitive
    EXPECT_EQ(Code(), "D");
    EXPECT_EQ(data.RecNo(), 2);
    data.Edit();
    data.FieldByName("CODE").SetAsString("z");
    data.Post();
    EXPECT_EQ(Codes(data), (CodeList{"C", "a", "b", "e", "z"}));
    EXPECT_EQ(data.RecNo(), 5);
    data.Prior();
    data.Edit();  // the order does not depend on QTY: the row stays where it is
    data.FieldByName("QTY").SetAsFloat(-1);
    data.Post();
    EXPECT_EQ(Code(), "e");
    EXPECT_EQ(data.RecNo(), 4);
    data.Next();
    data.Append();
    data.FieldByName("CODE").SetAsString("c");
    data.Post();
    EXPECT_EQ(Codes(data), (CodeList{"C", "a", "b", "c", "e", "z"}));
    EXPECT_EQ(Code(), "c");
    data.Append();  // a null code sorts first
    data.Post();
    EXPECT_EQ(data.RecNo(), 1);
    data.SetIndexFieldNames("");
    EXPECT_EQ(Codes(data), (CodeList{"b", "z", "a", "C", "e", "c", ""}));
}

TEST_F(FilterOrderTest, OrderOverSeveralFieldsKeepsNaturalOrderAmongEquals) {
    DataPacket packet = SmallPacket({"A", "B", "C", "D"});
    packet.rows[0].values[1] = Value(2.0);
    packet.rows[3].values[1] = Value(2.0);
    packet.rows[2].values[1] = Value();
    data.SetIndexFieldNames("qty; code");
    data.SetData(packet);
    EXPECT_EQ(Codes(data), (CodeList{"C", "A", "B", "D"}));
    data.SetIndexFieldNames("QTY");
    EXPECT_EQ(Codes(data), (CodeList{"C", "A", "B", "D"}));
    EXPECT_THROW(data.SetIndexFieldNames("NOPE"), EError);
    EXPECT_EQ(data.IndexFieldNames(), "QTY");
    data.Close();
    data.SetIndexFieldNames("NOPE");  // checked when the dataset opens
    EXPECT_THROW(data.Open(), EError);
    EXPECT_FALSE(data.Active());
    EXPECT_THROW(data.SetData(packet), EError);
    EXPECT_FALSE(data.Active());
}

TEST_F(FilterOrderTest, LocateComparesByTypeAndOptionallyWithoutCase) {
    struct Case {
        const char* field;
        Value key;
        bool caseInsensitive;
        const char* found;  // nullptr: not found
    } cases[] = {
        {"CODE", Value("c"), false, nullptr},
        {"CODE", Value("c"), true, "C"},
        {"CODE", Value("A"), true, "a"},
        {"QTY", Value(4.0), false, "C"},
        {"QTY", Value("5"), false, "e"},
        {"DAY", Value(QDate(2026, 3, 2)), false, "D"},
        {"DAY", Value("03/03/2026"), false, "a"},
        {"DAY", Value(46082.0), false, "b"},
        {"DAY", Value(QDate(2030, 1, 1)), false, nullptr},
    };
    for (const auto& c : cases) {
        data.Last();
        const bool located = data.Locate(c.field, c.key, {.caseInsensitive = c.caseInsensitive});
        EXPECT_EQ(located, c.found != nullptr) << c.field << " " << c.key.IsText();
        EXPECT_EQ(Code(), c.found ? QString(c.found) : QString("e")) << c.field;
    }
    EXPECT_THROW(data.Locate("DAY", Value("amanhã")), EError);
    EXPECT_THROW(data.Locate("NOPE", Value("x")), EError);
}

TEST_F(FilterOrderTest, ForEachRowReadsEveryRowWithoutMovingOrFiringEvents) {
    data.Next();
    EventLog log(data);
    double total = 0;
    QStringList days;
    const Field& quantity = data.FieldByName("QTY");
    data.ForEachRow([&](const RowView& row) {
        total += row.AsFloat(quantity);
        days << row.AsString("day");
        EXPECT_EQ(row.AsDateTime("DAY").month(), 3);
        EXPECT_FALSE(row.IsNull("CODE"));
    });
    EXPECT_EQ(total, 15.0);
    EXPECT_EQ(days.first(), "01/03/2026");
    EXPECT_EQ(log.Take(), Events{});
    EXPECT_EQ(data.RecNo(), 2);
}

class CalculatedFields : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::DefineHeadcountFields(data);
        data.OnCalcFields = [this](ClientDataSet& d) {
            ++calculations;
            const QDate day = d.FieldByName("DTFATURAM").AsDateTime();
            d.FieldByName("DIASEMANA")
                .SetAsString(
                    day == ZeroDate()
                        ? QString()
                        : QLocale(QLocale::Portuguese, QLocale::Brazil).dayName(day.dayOfWeek()));
        };
        data.SetData(testing::HeadcountPacket(100));
    }
    QString Weekday() { return data.FieldByName("DIASEMANA").AsString(); }

    ClientDataSet data{"cdsEfetFatu"};
    int calculations = 0;
};

TEST_F(CalculatedFields, AreWorkedOutWhenReadNotForEveryRowAtLoad) {
    EXPECT_EQ(calculations, 0);
    EXPECT_EQ(Weekday(), QString::fromUtf8("quinta-feira"));  // 1 January 2026
    EXPECT_EQ(Weekday(), QString::fromUtf8("quinta-feira"));
    EXPECT_EQ(calculations, 1);
    data.Next();
    EXPECT_EQ(Weekday(), "sexta-feira");
    EXPECT_EQ(calculations, 2);
    EXPECT_TRUE(data.Locate("DIASEMANA", Value("Domingo"), {.caseInsensitive = true}));
    EXPECT_EQ(data.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 1, 4));
}

TEST_F(CalculatedFields, FollowTheRowBeingEdited) {
    data.Edit();
    data.FieldByName("DTFATURAM").SetAsString("10/03/2026");
    EXPECT_EQ(Weekday(), QString::fromUtf8("terça-feira"));
    data.Cancel();
    EXPECT_EQ(Weekday(), QString::fromUtf8("quinta-feira"));
    data.Append();
    EXPECT_EQ(Weekday(), "");
}

TEST_F(CalculatedFields, TakeAssignmentsOnlyWhileBeingCalculated) {
    data.Edit();
    EXPECT_THROW(data.FieldByName("DIASEMANA").SetAsString("x"), EError);
    data.Cancel();
    data.OnCalcFields = [](ClientDataSet& d) { d.FieldByName("QTCOMEFATU").SetAsFloat(1); };
    data.Next();
    EXPECT_THROW(Weekday(), EError);
}

TEST_F(CalculatedFields, RowViewsCalculateEachRowAndLeaveTheCurrentOneAlone) {
    EXPECT_EQ(Weekday(), QString::fromUtf8("quinta-feira"));
    QStringList weekdays;
    data.ForEachRow([&](const RowView& row) {
        if (weekdays.size() < 3) weekdays << row.AsString("DIASEMANA");
    });
    EXPECT_EQ(weekdays, QStringList({QString::fromUtf8("quinta-feira"), "sexta-feira",
                                     QString::fromUtf8("sábado")}));
    EXPECT_EQ(Weekday(), QString::fromUtf8("quinta-feira"));
    EXPECT_THROW(data.SetIndexFieldNames("DIASEMANA"), EError);
}

// A grid paints every row through the same fields: text events and calculated fields
// must see the row being painted, and the row being inserted sits among the others.
TEST_F(CalculatedFields, DisplayRowsShowEachRowAsAGridWould) {
    Field& service = data.FieldByName("CDSERVFILI");
    service.OnGetText = [this](const Field& field, QString& text, bool) {
        text = field.AsString() + " " + data.FieldByName("NMSERVICO").AsString();
    };
    Field& weekday = data.FieldByName("DIASEMANA");
    Field& billed = data.FieldByName("QTCOMEFATU");
    data.Next();
    data.Insert();
    billed.SetAsFloat(1234.5);
    ASSERT_EQ(data.DisplayRowCount(), 101);
    EXPECT_EQ(data.DisplayRow(0).DisplayText(service), QString::fromUtf8("10000 Almoço 0"));
    EXPECT_EQ(data.DisplayRow(0).DisplayText(weekday), QString::fromUtf8("quinta-feira"));
    EXPECT_EQ(data.DisplayRow(1).DisplayText(billed), "1.234,500");
    EXPECT_EQ(data.DisplayRow(1).DisplayText(weekday), "");
    EXPECT_EQ(data.DisplayRow(2).DisplayText(service), QString::fromUtf8("10001 Almoço 1"));
    EXPECT_EQ(data.DisplayRow(2).DisplayText(weekday), "sexta-feira");
    EXPECT_EQ(data.DisplayRow(100).DisplayText(billed), "99,250");
    EXPECT_EQ(billed.AsFloat(), 1234.5);  // the fields are back on the new row
    EXPECT_EQ(weekday.AsString(), "");
    data.Cancel();
    data.Edit();
    billed.SetAsFloat(7);
    EXPECT_EQ(data.DisplayRowCount(), 100);
    EXPECT_EQ(data.DisplayRow(1).DisplayText(billed), "7,000");
    EXPECT_EQ(data.DisplayRow(2).DisplayText(billed), "2,250");
}

// The null-field list of a saved row: fields in order, calculated ones included.
TEST_F(CalculatedFields, ANullFieldListReadsEveryFieldInOrder) {
    data.Edit();
    data.FieldByName("NRAPURACFAT").Clear();
    data.FieldByName("CDFILIFATU").SetAsString("");
    data.FieldByName("VRSERVFATUDT").SetAsFloat(0);
    QString nullFields;
    for (const Field* field : data.Fields()) {
        if (field->IsNull() || field->AsString().isEmpty()) nullFields += field->FieldName() + "|";
    }
    EXPECT_EQ(nullFields, "CDFILIFATU|NRAPURACFAT|");
}

}  // namespace
}  // namespace fai
