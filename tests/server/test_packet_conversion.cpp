#include "ArenaBlocks.h"
#include "PacketConversion.h"

#include <gtest/gtest.h>

#include <google/protobuf/arena.h>

#include <cmath>
#include <limits>
#include <thread>

namespace fai {
namespace {

DataPacket HeadcountShape() {
    DataPacket p;
    p.fields = {{"CDFILIAL", FieldType::String, 4, false},
                {"DTFATURAM", FieldType::DateTime, 0, false},
                {"QTCOMEFATU", FieldType::Float, 0, false},
                {"IDCONSCOMFAT", FieldType::String, 1, true}};
    return p;
}

// A second row like the first, its branch the text given.
void AddRowWithBranch(Fai00400::DataPacket& p, const std::string& branch) {
    p.add_changes(p.changes(0));
    for (Fai00400::Column& column : *p.mutable_values()) {
        column.add_cells(column.cells(0));
        if (column.numbers_size() > 0) column.add_numbers(column.numbers(0));
        if (column.days_size() > 0) column.add_days(column.days(0));
    }
    Fai00400::Column& branches = *p.mutable_values(0);
    branches.add_texts(branch);
    branches.set_cells(1, static_cast<std::uint32_t>(branches.texts_size()));
}

}  // namespace

TEST(PacketConversion, RoundTripKeepsNullsDoublesBitForBitDatesAndChanges) {
    DataPacket p = HeadcountShape();
    const double awkward = 0.1 + 0.2;
    p.rows.push_back({RowChange::Unchanged, {"0001", QDate(2026, 3, 10), 120.5, "S"}, {}});
    p.rows.push_back({RowChange::Inserted, {Value(), Value(), Value(), Value()}, {}});
    p.rows.push_back({RowChange::Modified,
                      {"0001", ZeroDate(), awkward, ""},
                      {"0001", QDate(1, 1, 1), -0.0, Value()}});
    p.rows.push_back({RowChange::Deleted, {}, {"ÇÃO1", QDate(9999, 12, 31), 1e300, "N"}});
    p.rows.push_back({RowChange::Unchanged,
                      {"0002", QDate(2026, 1, 1), std::numeric_limits<double>::denorm_min(), "S"},
                      {}});

    const DataPacket back = FromProto(ToProto(p));
    EXPECT_EQ(back, p);
    EXPECT_TRUE(back.rows[2].original[2].IsNumber());
    EXPECT_TRUE(std::signbit(back.rows[2].original[2].Number()));
    EXPECT_TRUE(back.rows[1].values[0].IsNull());
    EXPECT_TRUE(back.rows[2].values[3].IsText());  // the empty text stays text, not null
}

// The unchanged rows of a packet built row by row, as a server reads them from its database: a
// text from its UTF-8 bytes when the column holds them already.
Fai00400::DataPacket RowByRow(const DataPacket& packet) {
    Fai00400::DataPacket out;
    RowsOut rows(packet.fields, &out);
    int rowNumber = 0;
    for (const PacketRow& row : packet.rows) {
        rows.AddRow();
        ++rowNumber;
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            const Value& value = row.values[i];
            const std::string utf8 = value.IsText() ? value.Text().toStdString() : std::string();
            if (!value.IsText() || !rows.Column(i).AddKnownText(utf8))
                rows.Column(i).Add(value, rowNumber);
        }
    }
    return out;
}

// A long packet of awkward values, each column going through its table at its own pace, so
// that a value sits under itself, changes and comes back, through the wire's bytes: every
// value arrives as it left, whether the packet was converted whole or built row by row.
TEST(PacketConversion, LongPacketsKeepEveryTypeNullAndTextExactly) {
    QString longText;
    while (longText.size() < 396) longText += QStringLiteral("Refeições à vontade; ");
    const std::vector<Value> texts{QStringLiteral(""),
                                   QStringLiteral("ÇÃO"),
                                   Value(),
                                   longText,
                                   QStringLiteral("0001"),
                                   QStringLiteral("ÇÃO "),
                                   QString::fromUtf8("\xf0\x9f\x8d\xb2 sopa"),
                                   QStringLiteral("\u00a0")};
    const std::vector<Value> numbers{-0.0,
                                     0.0,
                                     999'999'999.99999,
                                     9'999'999.99999,
                                     Value(),
                                     0.1 + 0.2,
                                     std::numeric_limits<double>::denorm_min(),
                                     std::numeric_limits<double>::quiet_NaN(),
                                     -1e300};
    const std::vector<Value> days{ZeroDate(), QDate(1, 1, 1), Value(), QDate(9999, 12, 31),
                                  QDate(2024, 2, 29)};
    DataPacket p;
    p.fields = {{"TEXTO", FieldType::String, 400, false},
                {"CODIGO", FieldType::String, 400, false},
                {"NUMERO", FieldType::Float, 0, false},
                {"DIA", FieldType::DateTime, 0, false}};
    for (std::size_t i = 0; i < 3000; ++i) {
        std::vector<Value> row{texts[i % texts.size()], texts[i / 7 % texts.size()],
                               numbers[i / 3 % numbers.size()], days[i / 5 % days.size()]};
        if (i % 10 == 9) {
            std::vector<Value> original = row;
            original[1] = texts[(i + 1) % texts.size()];
            p.rows.push_back({RowChange::Modified, row, original});
        } else {
            p.rows.push_back({RowChange::Unchanged, row, {}});
        }
    }

    std::string wire;
    ASSERT_TRUE(ToProto(p).SerializeToString(&wire));
    google::protobuf::Arena arena(KeptArenaBlocks());
    auto* parsed = google::protobuf::Arena::CreateMessage<Fai00400::DataPacket>(&arena);
    ASSERT_TRUE(parsed->ParseFromString(wire));
    EXPECT_EQ(parsed->values(1).texts_size(), 7) << "each distinct text of a column goes once";
    const DataPacket back = FromProto(*parsed);
    ASSERT_EQ(back.rows.size(), p.rows.size());
    for (std::size_t i = 0; i < p.rows.size(); ++i)
        ASSERT_EQ(back.rows[i], p.rows[i]) << "row " << i;
    EXPECT_EQ(back, p);
    EXPECT_TRUE(back.rows[0].values[0].IsText()) << "the empty text stays text";
    EXPECT_TRUE(std::signbit(back.rows[0].values[2].Number())) << "negative zero keeps its sign";

    DataPacket unchanged = p;
    for (PacketRow& row : unchanged.rows) row = {RowChange::Unchanged, row.values, {}};
    std::string whole, rowByRow;
    ASSERT_TRUE(ToProto(unchanged).SerializeToString(&whole));
    ASSERT_TRUE(RowByRow(unchanged).SerializeToString(&rowByRow));
    EXPECT_EQ(rowByRow, whole) << "the same bytes on the wire";
    EXPECT_EQ(FromProto(RowByRow(unchanged)), unchanged);
    EXPECT_EQ(FromProto(RowByRow(DataPacket{p.fields, {}})).fields, p.fields) << "no rows";
}

TEST(PacketConversion, MalformedPacketsAreRefusedWithAMessage) {
    struct Case {
        const char* what;
        void (*spoil)(Fai00400::DataPacket&);
    } cases[] = {
        {"unknown field type",
         [](Fai00400::DataPacket& p) {
             p.mutable_fields(0)->set_type(static_cast<Fai00400::FieldType>(9));
         }},
        {"string of size 0", [](Fai00400::DataPacket& p) { p.mutable_fields(0)->set_size(0); }},
        {"nameless field", [](Fai00400::DataPacket& p) { p.mutable_fields(1)->set_name(""); }},
        {"repeated field",
         [](Fai00400::DataPacket& p) { p.mutable_fields(1)->set_name("cdfilial"); }},
        {"too few values",
         [](Fai00400::DataPacket& p) { p.mutable_values(3)->mutable_cells()->RemoveLast(); }},
        {"too few columns", [](Fai00400::DataPacket& p) { p.mutable_values()->RemoveLast(); }},
        {"text in a number field",
         [](Fai00400::DataPacket& p) { p.mutable_values(2)->add_texts("1"); }},
        {"number in a date field",
         [](Fai00400::DataPacket& p) { p.mutable_values(1)->add_numbers(1); }},
        {"day in a text field", [](Fai00400::DataPacket& p) { p.mutable_values(0)->add_days(1); }},
        {"more numbers than cells holding one",
         [](Fai00400::DataPacket& p) { p.mutable_values(2)->add_numbers(2); }},
        {"a number cell that is neither null nor one",
         [](Fai00400::DataPacket& p) { p.mutable_values(2)->set_cells(0, 2); }},
        {"a cell pointing past the texts",
         [](Fai00400::DataPacket& p) { p.mutable_values(0)->set_cells(0, 2); }},
        {"day out of range",
         [](Fai00400::DataPacket& p) { p.mutable_values(1)->set_days(0, 1LL << 40); }},
        {"the last day a serial can hold",
         [](Fai00400::DataPacket& p) {
             p.mutable_values(1)->set_days(0, std::numeric_limits<int64_t>::max());
         }},
        {"the first day a serial can hold",
         [](Fai00400::DataPacket& p) {
             p.mutable_values(1)->set_days(0, std::numeric_limits<int64_t>::min());
         }},
        {"text that is not UTF-8",
         [](Fai00400::DataPacket& p) { p.mutable_values(0)->set_texts(0, "\xff"); }},
        {"text that is not UTF-8 under a good one",
         [](Fai00400::DataPacket& p) { AddRowWithBranch(p, "\xff"); }},
        {"text longer than the field under a good one",
         [](Fai00400::DataPacket& p) { AddRowWithBranch(p, "00001"); }},
        {"an overlong NUL",
         [](Fai00400::DataPacket& p) { p.mutable_values(0)->set_texts(0, "\xc0\x80"); }},
        {"an encoded surrogate",
         [](Fai00400::DataPacket& p) { p.mutable_values(0)->set_texts(0, "\xed\xa0\x80"); }},
        {"field name that is not UTF-8",
         [](Fai00400::DataPacket& p) { p.mutable_fields(0)->set_name("\xc3("); }},
        {"text longer than the field",
         [](Fai00400::DataPacket& p) { p.mutable_values(0)->set_texts(0, "00001"); }},
        {"deleted row with current values",
         [](Fai00400::DataPacket& p) { p.set_changes(0, Fai00400::ROW_DELETED); }},
        {"modified row without originals",
         [](Fai00400::DataPacket& p) { p.set_changes(0, Fai00400::ROW_MODIFIED); }},
        {"unchanged row with originals",
         [](Fai00400::DataPacket& p) { *p.mutable_original() = p.values(); }},
        {"unknown change kind",
         [](Fai00400::DataPacket& p) { p.set_changes(0, static_cast<Fai00400::RowChange>(7)); }},
    };
    DataPacket good = HeadcountShape();
    good.rows.push_back({RowChange::Unchanged, {"0001", QDate(2026, 3, 10), 1.0, "S"}, {}});
    ASSERT_NO_THROW(FromProto(ToProto(good)));
    for (const auto& c : cases) {
        Fai00400::DataPacket wire = ToProto(good);
        c.spoil(wire);
        try {
            FromProto(wire);
            ADD_FAILURE() << "accepted: " << c.what;
        } catch (const MalformedPacket& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Pacote de dados inválido"))
                << c.what;
        }
    }
}

// A row that does not fit its fields cannot be put in columns: it is refused before it is
// sent, in the words the receiver would have used.
TEST(PacketConversion, ARowThatDoesNotFitItsFieldsIsNotSent) {
    const struct {
        const char* what;
        PacketRow row;
        const char* message;
    } cases[] = {
        {"too few values",
         {RowChange::Unchanged, {"0001", QDate(2026, 3, 10), 1.0}, {}},
         "Pacote de dados inválido: a linha 1 tem 3 valores para 4 campos."},
        {"a deleted row without originals",
         {RowChange::Deleted, {}, {}},
         "Pacote de dados inválido: a linha 1 tem 0 valores para 4 campos."},
        {"a number in a text field",
         {RowChange::Unchanged, {1.0, QDate(2026, 3, 10), 1.0, "S"}, {}},
         "Pacote de dados inválido: a linha 1 tem um valor de outro tipo no campo CDFILIAL."},
    };
    for (const auto& c : cases) {
        DataPacket p = HeadcountShape();
        p.rows.push_back(c.row);
        try {
            ToProto(p);
            ADD_FAILURE() << "sent: " << c.what;
        } catch (const MalformedPacket& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
}

// The server makes an answer's message on one thread and fills it on another; each thread
// takes blocks of its own from those kept, and gives them back with the arena, for the next
// call to take again.
TEST(ArenaBlocks, AMessageFilledOnAnotherThreadKeepsEveryCellAndGivesItsBlocksBack) {
    DataPacket p = HeadcountShape();
    for (int i = 0; i < 20'000; ++i)
        p.rows.push_back({RowChange::Unchanged, {"0001", QDate(2026, 3, 10), double(i), "S"}, {}});
    std::string expected;
    ASSERT_TRUE(ToProto(p).SerializeToString(&expected));

    for (int call = 0; call < 3; ++call) {
        google::protobuf::Arena arena(KeptArenaBlocks());
        auto* message = google::protobuf::Arena::CreateMessage<Fai00400::DataPacket>(&arena);
        std::thread([&] { ToProto(p, message); }).join();
        std::string wire;
        ASSERT_TRUE(message->SerializeToString(&wire));
        EXPECT_EQ(wire, expected) << "call " << call;
        EXPECT_GT(arena.SpaceAllocated(), std::size_t(256) << 10) << "more than one block";
    }
}

}  // namespace fai
