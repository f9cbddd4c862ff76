#include "ClientDataSet.h"
#include "DataSetTesting.h"
#include "Errors.h"
#include "HeadcountShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace fai {
namespace {

using testing::Codes;
using testing::SmallPacket;

class ChangeLogTest : public ::testing::Test {
  public:  // the cases below act on the fixture through a reference
    void SetUp() override {
        testing::AddSmallFields(data);
        data.SetData(SmallPacket());
    }
    void EditRow(const QString& code, double quantity) {
        ASSERT_TRUE(data.Locate("CODE", Value(code)));
        data.Edit();
        data.FieldByName("QTY").SetAsFloat(quantity);
        data.Post();
    }
    void AppendRow(const QString& code, double quantity) {
        data.Append();
        data.FieldByName("CODE").SetAsString(code);
        data.FieldByName("QTY").SetAsFloat(quantity);
        data.Post();
    }
    void DeleteRow(const QString& code) {
        ASSERT_TRUE(data.Locate("CODE", Value(code)));
        data.Delete();
    }
    static std::vector<Value> Row(const char* code, double quantity, int day) {
        return {Value(code), Value(quantity), day ? Value(QDate(2026, 3, day)) : Value()};
    }

    ClientDataSet data{"cdsLog"};
};

// Sequences of changes and the single pending change each one leaves.
TEST_F(ChangeLogTest, SequencesCollapseIntoOneChangePerRow) {
    struct Case {
        const char* name;
        std::function<void(ChangeLogTest&)> changes;
        std::vector<PacketRow> delta;
    };
    const std::vector<Case> cases = {
        {"insert then modify",
         [](ChangeLogTest& t) {
             t.AppendRow("N", 1);
             t.EditRow("N", 5);
         },
         {{RowChange::Inserted, {Value("N"), Value(5.0), Value()}, {}}}},
        {"modify twice keeps the first original",
         [](ChangeLogTest& t) {
             t.EditRow("B", 20);
             t.EditRow("B", 30);
         },
         {{RowChange::Modified, Row("B", 30, 2), Row("B", 2, 2)}}},
        {"insert then delete leaves nothing",
         [](ChangeLogTest& t) {
             t.AppendRow("N", 1);
             t.DeleteRow("N");
         },
         {}},
        {"modify then delete is one deletion with the first original",
         [](ChangeLogTest& t) {
             t.EditRow("C", 30);
             t.EditRow("C", 31);
             t.DeleteRow("C");
         },
         {{RowChange::Deleted, {}, Row("C", 3, 3)}}},
        {"modify back to the original is no change",
         [](ChangeLogTest& t) {
             t.EditRow("A", 10);
             t.EditRow("A", 1);
         },
         {}},
        {"posting without changing is no change",
         [](ChangeLogTest& t) {
             t.data.Edit();
             t.data.Post();
         },
         {}},
        {"one of each, in row order",
         [](ChangeLogTest& t) {
             t.AppendRow("N", 9);
             t.DeleteRow("A");
             t.EditRow("B", 0.1 + 0.2);
         },
         {{RowChange::Deleted, {}, Row("A", 1, 1)},
          {RowChange::Modified, Row("B", 0.1 + 0.2, 2), Row("B", 2, 2)},
          {RowChange::Inserted, {Value("N"), Value(9.0), Value()}, {}}}},
    };
    for (const auto& c : cases) {
        data.SetData(SmallPacket());
        c.changes(*this);
        const DataPacket delta = data.Delta();
        EXPECT_EQ(delta.fields, SmallPacket().fields) << c.name;
        EXPECT_EQ(delta.rows, c.delta) << c.name;
        EXPECT_EQ(data.ChangeCount(), int(c.delta.size())) << c.name;
    }
}

TEST_F(ChangeLogTest, CancelUpdatesReturnsExactlyToTheBaseline) {
    const DataPacket baseline = data.Data();
    AppendRow("N", 9);
    DeleteRow("A");
    EditRow("B", -0.0);
    data.Insert();
    data.FieldByName("CODE").SetAsString("P");
    data.Post();
    ASSERT_EQ(data.ChangeCount(), 4);
    data.Edit();  // a pending edit goes too
    data.FieldByName("CODE").SetAsString("Q");
    data.CancelUpdates();
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_EQ(data.ChangeCount(), 0);
    EXPECT_EQ(data.Data(), baseline);
    EXPECT_TRUE(data.Delta().rows.empty());
}

TEST_F(ChangeLogTest, CancelUpdatesKeepsTheCurrentRowWhereItStillExists) {
    EditRow("C", 30);
    AppendRow("N", 9);
    ASSERT_TRUE(data.Locate("CODE", Value("C")));
    data.CancelUpdates();
    EXPECT_EQ(data.FieldByName("CODE").AsString(), "C");
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 3.0);
    AppendRow("N", 9);  // current: the inserted row, at position 4
    data.CancelUpdates();
    EXPECT_EQ(data.RecNo(), 3);
    EXPECT_EQ(data.FieldByName("CODE").AsString(), "C");
}

TEST_F(ChangeLogTest, MergeMakesTheCurrentDataTheBaseline) {
    EditRow("B", 20);
    DeleteRow("A");
    AppendRow("N", 9);
    const DataPacket current = data.Data();
    data.MergeChangeLog();
    EXPECT_EQ(data.ChangeCount(), 0);
    EXPECT_EQ(data.Data(), current);
    ASSERT_TRUE(data.Locate("CODE", Value("B")));
    EXPECT_EQ(data.FieldByName("QTY").OldValue(), Value(20.0));
    EditRow("B", 21);
    data.CancelUpdates();
    EXPECT_EQ(data.Data(), current);
    data.Edit();
    EXPECT_THROW(data.MergeChangeLog(), EError);
}

TEST_F(ChangeLogTest, OldValueIsTheValueAsLoadedOrLastMerged) {
    Field& quantity = data.FieldByName("QTY");
    EXPECT_EQ(quantity.OldValue(), Value(1.0));
    data.Edit();
    quantity.SetAsFloat(10);
    EXPECT_EQ(quantity.OldValue(), Value(1.0));
    data.Post();
    EXPECT_EQ(quantity.OldValue(), Value(1.0));
    EXPECT_EQ(quantity.TextOf(quantity.OldValue()), "1");
    data.Append();
    EXPECT_TRUE(quantity.OldValue().IsNull());
    quantity.SetAsFloat(3);
    data.Post();
    EXPECT_TRUE(quantity.OldValue().IsNull());
}

TEST_F(ChangeLogTest, WithLoggingOffChangesGoStraightIntoTheBaseline) {
    EditRow("A", 10);
    data.SetLogChanges(false);
    EXPECT_FALSE(data.LogChanges());
    EditRow("B", 20);
    AppendRow("N", 9);
    DeleteRow("C");
    EditRow("A", 11);
    EXPECT_EQ(data.ChangeCount(), 1);
    EXPECT_EQ(data.Delta().rows,
              (std::vector<PacketRow>{{RowChange::Modified, Row("A", 11, 1), Row("A", 1, 1)}}));
    data.CancelUpdates();
    EXPECT_EQ(Codes(data), (std::vector<QString>{"A", "B", "N"}));
    ASSERT_TRUE(data.Locate("CODE", Value("B")));
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 20.0);
}

TEST_F(ChangeLogTest, LoadingReplacesRowsAndLogAndDropsAPendingEdit) {
    EditRow("B", 20);
    data.Edit();
    data.FieldByName("QTY").SetAsFloat(99);
    data.SetData(SmallPacket({"X", "Y"}));
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_EQ(data.ChangeCount(), 0);
    EXPECT_EQ(Codes(data), (std::vector<QString>{"X", "Y"}));
    EXPECT_EQ(data.RecNo(), 1);
    EXPECT_TRUE(data.Bof());
}

TEST(PacketRoundTrip, NullsDoublesAndDaysComeBackExactly) {
    DataPacket packet;
    packet.fields = {{"TEXT", FieldType::String, 3, true},
                     {"NUMBER", FieldType::Float},
                     {"DAY", FieldType::DateTime}};
    const double awkward[] = {0.1 + 0.2, -0.0, 1e-310, std::nan(""), 123456789.123456789};
    for (double number : awkward)
        packet.rows.push_back(
            {RowChange::Unchanged, {Value(""), Value(number), Value(QDate(1, 1, 1))}, {}});
    packet.rows.push_back({RowChange::Unchanged, {Value(), Value(), Value()}, {}});
    packet.rows.push_back(
        {RowChange::Unchanged, {Value("abc"), Value(0.0), Value(ZeroDate())}, {}});

    ClientDataSet dynamic("cdsDinamico");
    dynamic.SetData(packet);
    EXPECT_EQ(dynamic.Data(), packet);
    EXPECT_EQ(dynamic.FieldCount(), 3);
    EXPECT_TRUE(dynamic.FieldByName("TEXT").FixedLength());

    // Load, modify, take the delta: the modified row carries both versions exactly.
    dynamic.Last();
    dynamic.Edit();
    dynamic.FieldByName("NUMBER").SetAsFloat(0.1 + 0.2);
    dynamic.Post();
    const DataPacket delta = dynamic.Delta();
    ASSERT_EQ(delta.rows.size(), 1u);
    EXPECT_EQ(delta.rows[0].original, packet.rows.back().values);
    EXPECT_EQ(delta.rows[0].values[1], Value(0.1 + 0.2));
    ClientDataSet copy("cdsCopia");
    copy.SetData(dynamic.Data());
    EXPECT_EQ(copy.Data(), dynamic.Data());
}

TEST(PacketRoundTrip, DynamicFieldsAreMadeAnewByEachLoad) {
    ClientDataSet data("cdsItemRat");
    data.SetData(SmallPacket());
    ASSERT_NE(data.FindField("QTY"), nullptr);
    DataPacket other;
    other.fields = {{"CDITEMRATEIOEFET", FieldType::String, 5}};
    other.rows.push_back({RowChange::Unchanged, {Value("01")}, {}});
    data.SetData(other);
    EXPECT_EQ(data.FieldCount(), 1);
    EXPECT_EQ(data.FindField("QTY"), nullptr);
    EXPECT_FALSE(data.IsEmpty());
    data.Close();
    EXPECT_EQ(data.FieldCount(), 0);
}

class PersistentFields : public ::testing::Test {
  protected:
    void SetUp() override { testing::DefineHeadcountFields(data); }
    ClientDataSet data{"cdsEfetFatu"};
};

TEST_F(PersistentFields, PacketColumnsMeetFieldsByNameWhateverTheCaseAndOrder) {
    DataPacket packet = testing::HeadcountPacket(3);
    packet.fields[0].name = "qtcomefatu";
    packet.fields.push_back({"IDEXTRA", FieldType::String, 1});
    for (auto& row : packet.rows) row.values.push_back(Value("S"));
    data.SetData(packet);
    EXPECT_EQ(data.FieldByName("QTCOMEFATU").AsFloat(), 0.25);
    EXPECT_EQ(data.FieldByName("QTCOMEFATU").DisplayText(), "0,250");
    EXPECT_EQ(data.FieldByName("CDSERVFILI").AsString(), "10000");
    EXPECT_EQ(data.FindField("IDEXTRA"), nullptr);  // kept, not shown

    // Data and Delta give the fields in field order, then the extra column; no DIASEMANA.
    const DataPacket whole = data.Data();
    ASSERT_EQ(whole.fields.size(), 12u);
    EXPECT_EQ(whole.fields[0].name, "CDFILIAL");
    EXPECT_EQ(whole.fields[5].name, "QTCOMEFATU");
    EXPECT_EQ(whole.fields[11].name, "IDEXTRA");
    EXPECT_EQ(whole.FieldIndex(u"DIASEMANA"), -1);
    EXPECT_EQ(whole.rows[1].values[5], packet.rows[1].values[0]);
    EXPECT_EQ(whole.rows[1].values[11], Value("S"));
    data.Edit();
    data.FieldByName("QTCOMEFATU").SetAsFloat(2);
    data.Post();
    const DataPacket delta = data.Delta();
    ASSERT_EQ(delta.rows.size(), 1u);
    EXPECT_EQ(delta.rows[0].values[11], Value("S"));
    EXPECT_EQ(delta.rows[0].original[5], Value(0.25));
}

// Every packet that cannot be taken is refused whole, and the dataset keeps what it had.
TEST_F(PersistentFields, UnacceptablePacketsAreRefusedWithoutTouchingTheDataset) {
    struct Case {
        const char* name;
        std::function<void(DataPacket&)> spoil;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing field",
         [](DataPacket& p) {
             p.fields.erase(p.fields.begin() + 1);
             for (auto& r : p.rows) r.values.erase(r.values.begin() + 1);
         },
         "falta o campo 'CDFILIAL'"},
        {"other type",
         [](DataPacket& p) {
             p.fields[0].type = FieldType::String;
             p.fields[0].size = 5;
         },
         "o campo 'QTCOMEFATU' vem como texto e é número"},
        {"twice",
         [](DataPacket& p) {
             p.fields.push_back({"cdfilial", FieldType::String, 4});
             for (auto& r : p.rows) r.values.push_back(Value());
         },
         "a coluna 'cdfilial' aparece mais de uma vez"},
        {"short row", [](DataPacket& p) { p.rows[1].values.pop_back(); },
         "a linha 2 tem 10 valores para 11 colunas"},
        {"wrong kind", [](DataPacket& p) { p.rows[2].values[0] = Value("1"); },
         "valor inválido na coluna 'QTCOMEFATU' da linha 3"},
        {"long text", [](DataPacket& p) { p.rows[0].values[1] = Value("00001"); },
         "texto maior que 4 caracteres na coluna 'CDFILIAL' da linha 1"},
        {"invalid day", [](DataPacket& p) { p.rows[0].values[4] = Value(QDate()); },
         "valor inválido na coluna 'DTFATURAM' da linha 1"},
        {"pending change", [](DataPacket& p) { p.rows[0].change = RowChange::Inserted; },
         "a linha 1 traz alterações pendentes"},
        {"nameless", [](DataPacket& p) { p.fields[1].name.clear(); }, "coluna sem nome"},
    };
    const DataPacket good = testing::HeadcountPacket(3);
    data.SetData(good);
    data.Next();
    for (const auto& c : cases) {
        DataPacket bad = good;
        c.spoil(bad);
        try {
            data.SetData(bad);
            ADD_FAILURE() << c.name << " accepted";
        } catch (const EError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Pacote de dados inválido para 'cdsEfetFatu': %1.")
                          .arg(QString::fromUtf8(c.message)))
                << c.name;
        }
        EXPECT_EQ(data.RecNo(), 2) << c.name;
        EXPECT_EQ(data.RecordCount(), 3) << c.name;
    }
}

TEST(HeadcountPacket, ALargeLoadWalksAndDeltasCorrectly) {
    ClientDataSet data("cdsEfetFatu");
    testing::DefineHeadcountFields(data);
    data.SetData(testing::HeadcountPacket(20000));
    EXPECT_EQ(data.RecordCount(), 20000);
    Field& billed = data.FieldByName("QTCOMEFATU");
    double sum = 0;
    for (data.First(); !data.Eof(); data.Next()) sum += billed.AsFloat();
    double expected = 0;
    for (int i = 0; i < 20000; ++i) expected += double(i % 500) + 0.25;
    EXPECT_EQ(sum, expected);
    for (data.First(); data.RecNo() <= 100 && !data.Eof(); data.MoveBy(7)) {
        data.Edit();
        billed.SetAsFloat(billed.AsFloat() + 1);
        data.Post();
    }
    EXPECT_EQ(data.ChangeCount(), 15);
    EXPECT_EQ(data.Delta().rows.size(), 15u);
}

}  // namespace
}  // namespace fai
