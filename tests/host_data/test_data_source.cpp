#include "ClientDataSet.h"
#include "DataSetTesting.h"
#include "DataSource.h"
#include "Errors.h"

#include <gtest/gtest.h>

#include <memory>

namespace fai {
namespace {

using testing::SmallPacket;
using Notes = std::vector<std::string>;

// Writes down what a grid would be told.
class RecordingLink : public DataLink {
  public:
    Notes Take() { return std::exchange(notes_, {}); }

  protected:
    void StateChanged(DataSetState state) override {
        notes_.push_back("state " + std::to_string(int(state)));
    }
    void DataSetReset() override { notes_.push_back("reset"); }
    void CurrentChanged(int row) override { notes_.push_back("current " + std::to_string(row)); }
    void RecordChanged(int row, const Field* field) override {
        notes_.push_back("changed " + std::to_string(row) + " " +
                         (field ? field->FieldName().toStdString() : std::string("*")));
    }
    void RowInserted(int row) override { notes_.push_back("inserted " + std::to_string(row)); }
    void RowRemoved(int row) override { notes_.push_back("removed " + std::to_string(row)); }
    void FocusControlRequested(Field& field) override {
        notes_.push_back("focus " + field.FieldName().toStdString());
    }

  private:
    Notes notes_;
};

class DataSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::AddSmallFields(data);
        link.SetSource(&source);
    }

    ClientDataSet data{"cdsFonte"};
    DataSource source{&data};
    RecordingLink link;
};

// What the controls are told for each operation, in order (states: 1 browse, 2 edit, 3 insert).
TEST_F(DataSourceTest, TellsItsLinksWhatChangedAndWhere) {
    struct Case {
        const char* name;
        std::function<void(ClientDataSet&)> operation;
        Notes notes;
    };
    const std::vector<Case> cases = {
        {"load", [](ClientDataSet& d) { d.SetData(SmallPacket()); }, {"reset"}},
        {"scroll", [](ClientDataSet& d) { d.Next(); }, {"current 1"}},
        {"edit and assign",
         [](ClientDataSet& d) {
             d.Edit();
             d.FieldByName("QTY").SetAsFloat(5);
         },
         {"state 2", "changed 0 QTY"}},
        {"post in place",
         [](ClientDataSet& d) {
             d.Edit();
             d.Post();
         },
         {"state 2", "changed 0 *", "state 1", "current 0"}},
        {"insert and cancel",
         [](ClientDataSet& d) {
             d.Next();
             d.Insert();
             d.Cancel();
         },
         {"current 1", "inserted 1", "state 3", "current 1", "removed 1", "state 1", "current 1"}},
        {"append and post",
         [](ClientDataSet& d) {
             d.Append();
             d.Post();
         },
         {"inserted 3", "state 3", "current 3", "changed 3 *", "state 1", "current 3"}},
        {"post moves the row",
         [](ClientDataSet& d) {
             d.SetIndexFieldNames("CODE");
             d.Edit();
             d.FieldByName("CODE").SetAsString("Z");
             d.Post();
         },
         {"reset", "state 2", "changed 0 CODE", "removed 0", "inserted 2", "state 1", "current 2"}},
        {"delete", [](ClientDataSet& d) { d.Delete(); }, {"removed 0", "current 0"}},
        {"filter", [](ClientDataSet& d) { d.SetFiltered(true); }, {"reset"}},
        {"cancel updates", [](ClientDataSet& d) { d.CancelUpdates(); }, {"reset"}},
        {"close", [](ClientDataSet& d) { d.Close(); }, {"state 0", "reset"}},
    };
    for (const auto& c : cases) {
        data.SetIndexFieldNames("");
        data.SetData(SmallPacket());
        link.Take();
        c.operation(data);
        EXPECT_EQ(link.Take(), c.notes) << c.name;
        data.Cancel();
    }
}

TEST_F(DataSourceTest, ADisabledSourceReportsInactiveAndPassesNothingOn) {
    int stateChanges = 0;
    int dataChanges = 0;
    source.OnStateChange = [&](DataSource& s) {
        ++stateChanges;
        EXPECT_EQ(&s, &source);
    };
    source.OnDataChange = [&](DataSource&, const Field*) { ++dataChanges; };
    data.SetData(SmallPacket());
    EXPECT_EQ(source.State(), DataSetState::Browse);
    EXPECT_EQ(stateChanges, 1);
    link.Take();

    source.SetEnabled(false);
    EXPECT_EQ(source.State(), DataSetState::Inactive);
    EXPECT_EQ(stateChanges, 2);
    EXPECT_EQ(link.Take(), Notes({"state 0", "reset"}));
    const int before = dataChanges;
    data.Edit();
    data.FieldByName("QTY").SetAsFloat(2);
    data.Post();
    data.Next();
    EXPECT_EQ(link.Take(), Notes{});
    EXPECT_EQ(dataChanges, before);
    EXPECT_EQ(stateChanges, 2);

    source.SetEnabled(true);
    EXPECT_EQ(source.State(), DataSetState::Browse);
    EXPECT_EQ(stateChanges, 3);
    EXPECT_EQ(link.Take(), Notes({"state 1", "reset"}));
    data.Edit();
    EXPECT_EQ(source.State(), DataSetState::Edit);
    EXPECT_EQ(stateChanges, 4);
}

TEST_F(DataSourceTest, FocusControlReachesTheLinksAndARequiredFieldAsksForIt) {
    data.Open();
    link.Take();
    data.FieldByName("DAY").FocusControl();
    EXPECT_EQ(link.Take(), Notes({"focus DAY"}));
    data.FieldByName("QTY").SetRequired(true);
    data.Append();
    link.Take();
    EXPECT_THROW(data.Post(), EError);
    EXPECT_EQ(link.Take(), Notes({"focus QTY"}));
}

TEST_F(DataSourceTest, EitherSideMayGoFirst) {
    auto dataSet = std::make_unique<ClientDataSet>("cdsCurto");
    dataSet->AddField({"CODE", FieldType::String, 5});
    dataSet->Open();
    {
        DataSource shortLived(dataSet.get());
        RecordingLink shortLink;
        shortLink.SetSource(&shortLived);
    }
    dataSet->Close();  // nobody left to tell

    auto other = std::make_unique<DataSource>(dataSet.get());
    RecordingLink otherLink;
    otherLink.SetSource(other.get());
    dataSet.reset();
    EXPECT_EQ(other->DataSet(), nullptr);
    EXPECT_EQ(other->State(), DataSetState::Inactive);
    other.reset();
    EXPECT_EQ(otherLink.Source(), nullptr);
}

// A link told of a move may drop another link (a grid closing a detail grid): the one
// dropped is not told any more, the ones that stay still are.
class DroppingLink : public DataLink {
  public:
    DataLink* drop = nullptr;

  protected:
    void CurrentChanged(int) override {
        if (drop) drop->SetSource(nullptr);
    }
};

TEST_F(DataSourceTest, ALinkDroppedWhileLinksAreBeingToldHearsNoMore) {
    DroppingLink first;
    RecordingLink dropped;
    RecordingLink kept;
    first.SetSource(&source);
    dropped.SetSource(&source);
    kept.SetSource(&source);
    first.drop = &dropped;
    data.SetData(SmallPacket());
    link.Take();
    dropped.Take();
    kept.Take();
    data.Next();
    EXPECT_EQ(dropped.Take(), Notes{});
    EXPECT_EQ(kept.Take(), Notes({"current 1"}));
    EXPECT_EQ(link.Take(), Notes({"current 1"}));
    EXPECT_EQ(dropped.Source(), nullptr);
}

TEST_F(DataSourceTest, MovingToAnotherDatasetIsAStateChangeAndAReset) {
    ClientDataSet second("cdsSegundo");
    second.AddField({"CODE", FieldType::String, 5});
    data.SetData(SmallPacket());
    link.Take();
    source.SetDataSet(&second);
    EXPECT_EQ(link.Take(), Notes({"state 0", "reset"}));
    data.Next();
    EXPECT_EQ(link.Take(), Notes{});
    second.Open();
    EXPECT_EQ(link.Take(), Notes({"state 1", "reset"}));
}

}  // namespace
}  // namespace fai

namespace fai {
namespace {

// A control holding a value the user typed and has not handed over yet, as a grid's cell
// editor does.
class PendingTextLink : public DataLink {
  public:
    QString pending;
    bool refuse = false;
    int resets = 0;

  protected:
    void UpdateData() override {
        if (refuse) throw EError(QStringLiteral("'abc' não é um número válido."));
        if (pending.isEmpty()) return;
        Source()->DataSet()->FieldByName("QTY").SetText(std::exchange(pending, {}));
    }
    void DataSetReset() override { ++resets; }
};

TEST(DataLinkPending, EveryPostTakesWhatAControlStillHolds) {
    ClientDataSet data{"cdsPendente"};
    data.AddField({"CODE", FieldType::String, 5});
    data.AddField({"QTY", FieldType::Float});
    DataSource source{&data};
    PendingTextLink link;
    link.SetSource(&source);
    data.SetData(testing::SmallPacket());

    double seenByBeforePost = -1;
    data.BeforePost = [&](ClientDataSet& d) { seenByBeforePost = d.FieldByName("QTY").AsFloat(); };
    data.Edit();
    link.pending = QStringLiteral("12,5");
    data.Post();
    EXPECT_EQ(seenByBeforePost, 12.5);  // the checks before a post see the typed value
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 12.5);
    EXPECT_EQ(data.ChangeCount(), 1);

    // A value the control cannot hand over abandons the post, the edit still open.
    data.Edit();
    link.refuse = true;
    EXPECT_THROW(data.Post(), EError);
    EXPECT_EQ(data.State(), DataSetState::Edit);
    link.refuse = false;

    // A disabled source shows nothing, so it holds nothing to hand over.
    source.SetEnabled(false);
    link.pending = QStringLiteral("7");
    data.Post();
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 12.5);
}

TEST(DataLinkPending, ADestroyedDataSetLeavesItsSourcesEmptyAndTellsTheirControls) {
    DataSource source;
    PendingTextLink link;
    link.SetSource(&source);
    bool stateHandlerRan = false;
    {
        ClientDataSet data{"cdsEfemero"};
        data.AddField({"QTY", FieldType::Float});
        source.SetDataSet(&data);
        data.Open();
        source.OnStateChange = [&stateHandlerRan](DataSource&) { stateHandlerRan = true; };
        link.resets = 0;
    }
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(source.State(), DataSetState::Inactive);
    EXPECT_EQ(link.resets, 1);
    EXPECT_FALSE(stateHandlerRan);  // the owner's handlers may be going away too
}

}  // namespace
}  // namespace fai
