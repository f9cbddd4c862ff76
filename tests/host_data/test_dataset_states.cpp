#include "ClientDataSet.h"
#include "DataSetTesting.h"
#include "Errors.h"
#include "ScopedDetach.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace fai {
namespace {

using testing::Codes;
using testing::EventLog;
using testing::SmallPacket;
using Events = std::vector<std::string>;

class DataSetTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::AddSmallFields(data); }
    void Load(std::vector<QString> codes = {"A", "B", "C"}) { data.SetData(SmallPacket(codes)); }
    QString Code() { return data.FieldByName("CODE").AsString(); }

    ClientDataSet data{"cdsTeste"};
};

TEST_F(DataSetTest, InactiveDatasetReadsNothingAndRefusesWork) {
    EXPECT_EQ(data.State(), DataSetState::Inactive);
    EXPECT_FALSE(data.Active());
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_EQ(data.RecordCount(), 0);
    EXPECT_TRUE(data.FieldByName("CODE").IsNull());
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 0.0);
    const std::function<void()> refused[] = {
        [&] { data.Next(); },          [&] { data.First(); },
        [&] { data.Edit(); },          [&] { data.Insert(); },
        [&] { data.Append(); },        [&] { data.Delete(); },
        [&] { data.Post(); },          [&] { data.MergeChangeLog(); },
        [&] { data.CancelUpdates(); }, [&] { data.FieldByName("CODE").SetAsString("X"); },
    };
    for (const auto& operation : refused) {
        try {
            operation();
            ADD_FAILURE() << "accepted on a closed dataset";
        } catch (const EError& e) {
            EXPECT_EQ(e.Message(),
                      QString::fromUtf8("O conjunto de dados 'cdsTeste' está fechado."));
        }
    }
    data.Cancel();  // nothing to cancel is no failure
    EXPECT_EQ(data.State(), DataSetState::Inactive);
}

TEST_F(DataSetTest, FieldsAreDefinedOnlyWhileClosedAndOnlyOnce) {
    EXPECT_THROW(data.AddField({"code", FieldType::Float}), EError);
    EXPECT_THROW(data.AddField({"NAME", FieldType::String, 0}), EError);
    EXPECT_THROW(data.AddField({"", FieldType::Float}), EError);
    data.Open();
    EXPECT_THROW(data.AddField({"OTHER", FieldType::Float}), EError);
    EXPECT_EQ(data.FieldCount(), 3);
    EXPECT_EQ(data.FindField("qty"), &data.FieldByName("QTY"));
    EXPECT_EQ(data.FindField(u"Qty"), data.Fields()[1]);
    EXPECT_EQ(data.FindField("NOPE"), nullptr);
    EXPECT_THROW(data.FieldByName("NOPE"), EError);
    ClientDataSet empty("cdsVazio");
    EXPECT_THROW(empty.Open(), EError);
}

TEST(FieldNameIndex, FindsNamesWhateverTheirCaseAndEncoding) {
    ClientDataSet data("cdsNomes");
    data.AddField({QString::fromUtf8("AÇÃO"), FieldType::String, 1});
    data.AddField({"QTCOMEFATU", FieldType::Float});
    EXPECT_THROW(data.AddField({QString::fromUtf8("ação"), FieldType::Float}), EError);
    const QString upper = QString::fromUtf8("AÇÃO");  // views below must not outlive it
    struct Case {
        QAnyStringView name;
        int index;
    } cases[] = {
        {"ação", 0},        {u"Ação", 0},
        {upper, 0},         {QLatin1String("A\xc7\xc3O"), 0},
        {"acao", -1},       {"qtcomefatu", 1},
        {u"QtComeFatu", 1}, {QLatin1String("QTCOMEFATU"), 1},
        {"QTCOMEFAT", -1},  {"QTCOMEFATUS", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        const Field* field = data.FindField(c.name);
        EXPECT_EQ(field ? field->Index() : -1, c.index) << c.name.toString().toStdString();
    }
}

TEST_F(DataSetTest, FieldPropertiesKeepWhatTheyAreGiven) {
    Field& code = data.FieldByName("CODE");
    EXPECT_EQ(code.Kind(), FieldKind::Data);
    EXPECT_EQ(code.Size(), 5);
    EXPECT_EQ(code.DisplayLabel(), "CODE");
    EXPECT_TRUE(code.Visible());
    EXPECT_EQ(code.Tag(), 0);
    code.SetDisplayLabel(QString::fromUtf8("Código"));
    code.SetVisible(false);
    code.SetEditMask("ccccc;0; ");
    code.SetTag(1);
    EXPECT_EQ(code.DisplayLabel(), QString::fromUtf8("Código"));
    EXPECT_FALSE(code.Visible());
    EXPECT_EQ(code.EditMask(), "ccccc;0; ");
    EXPECT_EQ(code.Tag(), 1);
    ClientDataSet other("cdsOutro");
    const Field& weekday =
        other.AddField({"DIASEMANA", FieldType::String, 15, true}, FieldKind::Calculated);
    const Field& quantity = other.AddField({"QTY", FieldType::Float, 8});
    EXPECT_EQ(weekday.Kind(), FieldKind::Calculated);
    EXPECT_TRUE(weekday.FixedLength());
    EXPECT_EQ(quantity.Size(), 0);  // only texts have a size
    EXPECT_EQ(quantity.Index(), 1);
}

TEST_F(DataSetTest, CloseDropsAPendingEdit) {
    Load();
    data.Edit();
    data.FieldByName("CODE").SetAsString("Z");
    data.Close();
    data.SetData(SmallPacket());
    EXPECT_EQ(Code(), "A");
    EXPECT_EQ(data.MoveBy(0), 0);
    Load({});
    data.SetRecNo(3);
    EXPECT_EQ(data.RecNo(), 0);
}

TEST_F(DataSetTest, OpenAndCloseMoveBetweenInactiveAndBrowse) {
    data.Open();
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_TRUE(data.Bof());
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(data.RecNo(), 0);
    data.Append();
    data.FieldByName("CODE").SetAsString("X");
    data.Post();
    EXPECT_EQ(data.RecordCount(), 1);
    data.Close();
    EXPECT_EQ(data.State(), DataSetState::Inactive);
    EXPECT_EQ(data.RecordCount(), 0);
    data.Open();  // closing drops the rows
    EXPECT_TRUE(data.IsEmpty());
}

// Each step's resulting position and flags, on rows A, B, C.
TEST_F(DataSetTest, NavigationMovesAndSetsTheEndFlags) {
    struct Step {
        std::function<void(ClientDataSet&)> move;
        int recNo;
        bool bof;
        bool eof;
    };
    const std::vector<Step> steps = {
        {[](ClientDataSet&) {}, 1, true, false},
        {[](ClientDataSet& d) { d.Next(); }, 2, false, false},
        {[](ClientDataSet& d) { d.Next(); }, 3, false, false},
        {[](ClientDataSet& d) { d.Next(); }, 3, false, true},
        {[](ClientDataSet& d) { d.Prior(); }, 2, false, false},
        {[](ClientDataSet& d) { d.First(); }, 1, true, false},
        {[](ClientDataSet& d) { d.Prior(); }, 1, true, false},
        {[](ClientDataSet& d) { d.Last(); }, 3, false, true},
        {[](ClientDataSet& d) { EXPECT_EQ(d.MoveBy(-5), -2); }, 1, true, false},
        {[](ClientDataSet& d) { EXPECT_EQ(d.MoveBy(2), 2); }, 3, false, false},
        {[](ClientDataSet& d) { d.SetRecNo(2); }, 2, false, false},
        {[](ClientDataSet& d) { d.SetRecNo(99); }, 3, false, false},
    };
    Load();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].move(data);
        EXPECT_EQ(data.RecNo(), steps[i].recNo) << "step " << i;
        EXPECT_EQ(data.Bof(), steps[i].bof) << "step " << i;
        EXPECT_EQ(data.Eof(), steps[i].eof) << "step " << i;
    }
    EXPECT_EQ(Code(), "C");
}

TEST_F(DataSetTest, WalkingFirstToEofVisitsEveryRowOnce) {
    Load({"A", "B", "C", "D"});
    QStringList seen;
    for (data.First(); !data.Eof(); data.Next()) seen << Code();
    EXPECT_EQ(seen, QStringList({"A", "B", "C", "D"}));
    Load({});
    int visits = 0;
    for (data.First(); !data.Eof(); data.Next()) ++visits;
    EXPECT_EQ(visits, 0);
}

TEST_F(DataSetTest, OperationsFireTheirEventsInOrder) {
    struct Case {
        const char* name;
        std::function<void(ClientDataSet&)> operation;
        Events events;
        DataSetState state;
    };
    const std::vector<Case> cases = {
        {"append",
         [](ClientDataSet& d) { d.Append(); },
         {"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll"},
         DataSetState::Insert},
        {"insert",
         [](ClientDataSet& d) { d.Insert(); },
         {"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll"},
         DataSetState::Insert},
        {"edit",
         [](ClientDataSet& d) { d.Edit(); },
         {"BeforeEdit", "AfterEdit"},
         DataSetState::Edit},
        {"edit twice",
         [](ClientDataSet& d) {
             d.Edit();
             d.Edit();
         },
         {"BeforeEdit", "AfterEdit"},
         DataSetState::Edit},
        {"post",
         [](ClientDataSet& d) {
             d.Edit();
             d.Post();
         },
         {"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost"},
         DataSetState::Browse},
        {"cancel",
         [](ClientDataSet& d) {
             d.Append();
             d.Cancel();
         },
         {"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll", "BeforeCancel",
          "AfterCancel"},
         DataSetState::Browse},
        {"delete",
         [](ClientDataSet& d) { d.Delete(); },
         {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"},
         DataSetState::Browse},
        {"delete while inserting cancels",
         [](ClientDataSet& d) {
             d.Append();
             d.Delete();
         },
         {"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll", "BeforeCancel",
          "AfterCancel"},
         DataSetState::Browse},
        {"next",
         [](ClientDataSet& d) { d.Next(); },
         {"BeforeScroll", "AfterScroll"},
         DataSetState::Browse},
        {"first on the first row", [](ClientDataSet& d) { d.First(); }, {}, DataSetState::Browse},
        {"next past the end",
         [](ClientDataSet& d) {
             d.Last();
             d.Next();
         },
         {"BeforeScroll", "AfterScroll"},
         DataSetState::Browse},
        {"moving while editing posts first",
         [](ClientDataSet& d) {
             d.Edit();
             d.Next();
         },
         {"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"},
         DataSetState::Browse},
        {"locate elsewhere",
         [](ClientDataSet& d) { EXPECT_TRUE(d.Locate("CODE", Value("C"))); },
         {"BeforeScroll", "AfterScroll"},
         DataSetState::Browse},
        {"locate here",
         [](ClientDataSet& d) { EXPECT_TRUE(d.Locate("CODE", Value("A"))); },
         {},
         DataSetState::Browse},
        {"locate nothing",
         [](ClientDataSet& d) { EXPECT_FALSE(d.Locate("CODE", Value("Z"))); },
         {},
         DataSetState::Browse},
        {"load",
         [](ClientDataSet& d) { d.SetData(SmallPacket()); },
         {"AfterScroll"},
         DataSetState::Browse},
        {"cancel in browse", [](ClientDataSet& d) { d.Cancel(); }, {}, DataSetState::Browse},
        {"cancel updates takes the new row away without scrolling",
         [](ClientDataSet& d) {
             d.Append();
             d.Post();
             d.CancelUpdates();
         },
         {"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll", "BeforePost", "AfterPost"},
         DataSetState::Browse},
    };
    for (const auto& c : cases) {
        Load();
        EventLog log(data);
        c.operation(data);
        EXPECT_EQ(log.Take(), c.events) << c.name;
        EXPECT_EQ(data.State(), c.state) << c.name;
        data.Cancel();
    }
}

TEST_F(DataSetTest, OpenFiresAfterScrollOnceAndEditOnEmptyStartsAnInsert) {
    EventLog log(data);
    data.Open();
    EXPECT_EQ(log.Take(), Events({"AfterScroll"}));
    data.Edit();
    EXPECT_EQ(data.State(), DataSetState::Insert);
    EXPECT_EQ(log.Take(), Events({"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll"}));
}

// A before-event that throws leaves state, position, rows and change log as they were.
TEST_F(DataSetTest, AnExceptionInABeforeEventCancelsTheOperation) {
    struct Case {
        const char* name;
        ClientDataSet::Event ClientDataSet::*event;
        std::function<void(ClientDataSet&)> prepare;
        std::function<void(ClientDataSet&)> operation;
    };
    const auto none = [](ClientDataSet&) {};
    const auto edit = [](ClientDataSet& d) {
        d.Edit();
        d.FieldByName("QTY").SetAsFloat(42);
    };
    const std::vector<Case> cases = {
        {"insert", &ClientDataSet::BeforeInsert, none, [](ClientDataSet& d) { d.Insert(); }},
        {"scroll of an append", &ClientDataSet::BeforeScroll, none,
         [](ClientDataSet& d) { d.Append(); }},
        {"edit", &ClientDataSet::BeforeEdit, none, [](ClientDataSet& d) { d.Edit(); }},
        {"post", &ClientDataSet::BeforePost, edit, [](ClientDataSet& d) { d.Post(); }},
        {"cancel", &ClientDataSet::BeforeCancel, edit, [](ClientDataSet& d) { d.Cancel(); }},
        {"delete", &ClientDataSet::BeforeDelete, none, [](ClientDataSet& d) { d.Delete(); }},
        {"scroll of a delete", &ClientDataSet::BeforeScroll, none,
         [](ClientDataSet& d) { d.Delete(); }},
        {"scroll", &ClientDataSet::BeforeScroll, none, [](ClientDataSet& d) { d.Next(); }},
        {"locate", &ClientDataSet::BeforeScroll, none,
         [](ClientDataSet& d) { d.Locate("CODE", Value("C")); }},
        {"post on the way", &ClientDataSet::BeforePost, edit, [](ClientDataSet& d) { d.Last(); }},
    };
    for (const bool silent : {true, false}) {
        for (const auto& c : cases) {
            Load();
            data.Next();
            c.prepare(data);
            const DataSetState state = data.State();
            const double quantity = data.FieldByName("QTY").AsFloat();
            data.*c.event = [silent](ClientDataSet&) {
                if (silent) throw EAbort();
                throw std::runtime_error("recusado");
            };
            if (silent) {
                EXPECT_THROW(c.operation(data), EAbort) << c.name;
            } else {
                EXPECT_THROW(c.operation(data), std::runtime_error) << c.name;
            }
            data.*c.event = nullptr;
            EXPECT_EQ(data.State(), state) << c.name;
            EXPECT_EQ(data.RecNo(), 2) << c.name;
            EXPECT_EQ(Code(), "B") << c.name;
            EXPECT_EQ(data.FieldByName("QTY").AsFloat(), quantity) << c.name;
            EXPECT_EQ(data.RecordCount(), 3) << c.name;
            EXPECT_EQ(data.ChangeCount(), 0) << c.name;
            data.Cancel();
        }
    }
}

TEST_F(DataSetTest, ValuesABeforePostHandlerAssignedStayInTheRowItRefused) {
    Load();
    data.BeforePost = [](ClientDataSet& d) {
        d.FieldByName("QTY").SetAsFloat(0);
        throw EError("Nº comensais deve ser maior ou igual a zero.");
    };
    data.Edit();
    data.FieldByName("CODE").SetAsString("Z");
    EXPECT_THROW(data.Post(), EError);
    EXPECT_EQ(data.State(), DataSetState::Edit);
    EXPECT_EQ(Code(), "Z");
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 0.0);
    EXPECT_EQ(data.FieldByName("QTY").OldValue(), Value(1.0));
}

TEST_F(DataSetTest, ABeforePostHandlerThatEndsTheEditLeavesNothingToStore) {
    Load();
    int afterPosts = 0;
    data.BeforePost = [](ClientDataSet& d) { d.Cancel(); };
    data.AfterPost = [&afterPosts](ClientDataSet&) { ++afterPosts; };
    data.Edit();
    data.FieldByName("CODE").SetAsString("Z");
    data.Post();
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_EQ(Code(), "A");
    EXPECT_EQ(data.ChangeCount(), 0);
    EXPECT_EQ(afterPosts, 0);
}

TEST_F(DataSetTest, AnExceptionInAnAfterEventComesAfterTheOperationIsDone) {
    Load();
    data.AfterPost = [](ClientDataSet&) { throw EError("falha ao salvar"); };
    data.Edit();
    data.FieldByName("QTY").SetAsFloat(9);
    EXPECT_THROW(data.Post(), EError);
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_EQ(data.ChangeCount(), 1);
    data.AfterPost = nullptr;

    bool scrolled = false;
    data.AfterInsert = [](ClientDataSet&) { throw EAbort(); };
    data.AfterScroll = [&scrolled](ClientDataSet&) { scrolled = true; };
    EXPECT_THROW(data.Append(), EAbort);
    EXPECT_EQ(data.State(), DataSetState::Insert);
    EXPECT_FALSE(scrolled);  // the after-events behind it do not run
    data.Cancel();

    data.AfterDelete = [](ClientDataSet&) { throw EError("falha ao salvar"); };
    EXPECT_THROW(data.Delete(), EError);
    EXPECT_EQ(data.RecordCount(), 2);
}

TEST_F(DataSetTest, InsertGoesBeforeTheCurrentRowAndAppendAtTheEnd) {
    Load();
    data.Next();
    data.Insert();
    EXPECT_EQ(data.RecNo(), 2);
    EXPECT_TRUE(data.FieldByName("CODE").IsNull());
    data.FieldByName("CODE").SetAsString("N");
    data.Post();
    EXPECT_EQ(Code(), "N");
    EXPECT_EQ(data.RecNo(), 2);
    data.Append();
    EXPECT_EQ(data.RecNo(), 5);
    EXPECT_EQ(data.RecordCount(), 4);  // the row being inserted is not posted yet
    data.FieldByName("CODE").SetAsString("Z");
    data.Post();
    EXPECT_EQ(Codes(data), (std::vector<QString>{"A", "N", "B", "C", "Z"}));
    EXPECT_EQ(data.RecNo(), 5);
}

TEST_F(DataSetTest, CancelDropsTheEditAndReturnsToTheRowItLeft) {
    Load();
    data.Last();
    data.Edit();
    data.FieldByName("CODE").SetAsString("Z");
    data.Cancel();
    EXPECT_EQ(Code(), "C");
    data.First();
    data.Insert();
    data.Cancel();
    EXPECT_EQ(data.RecNo(), 1);
    EXPECT_EQ(Code(), "A");
    EXPECT_EQ(data.ChangeCount(), 0);
}

TEST_F(DataSetTest, DeleteRemovesTheRowAndMovesToItsNeighbour) {
    Load();
    data.Next();
    data.Edit();
    data.FieldByName("CODE").SetAsString("Z");
    data.Delete();  // an edit is dropped with its row
    EXPECT_EQ(data.State(), DataSetState::Browse);
    EXPECT_EQ(Code(), "C");
    data.Delete();
    EXPECT_EQ(Code(), "A");
    EXPECT_FALSE(data.Eof());
    data.Delete();
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_TRUE(data.Bof() && data.Eof());
    try {
        data.Delete();
        FAIL() << "deleted from an empty dataset";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8("Não há registro para excluir em 'cdsTeste'."));
    }
}

TEST_F(DataSetTest, AssignmentsNeedEditOrInsertAndAWritableField) {
    Load();
    try {
        data.FieldByName("CODE").SetAsString("Z");
        FAIL() << "assigned in browse";
    } catch (const EError& e) {
        EXPECT_EQ(
            e.Message(),
            QString::fromUtf8("O conjunto de dados 'cdsTeste' não está em edição ou inclusão."));
    }
    EXPECT_EQ(Code(), "A");
    EXPECT_THROW(data.Post(), EError);
    data.FieldByName("CODE").SetReadOnly(true);
    data.Edit();
    EXPECT_THROW(data.FieldByName("CODE").SetAsString("Z"), EError);
    data.FieldByName("QTY").SetAsFloat(5);
    data.Post();
    EXPECT_EQ(Code(), "A");
    EXPECT_EQ(data.FieldByName("QTY").AsFloat(), 5.0);
}

TEST_F(DataSetTest, ARequiredFieldLeftNullStopsThePostNamingItsLabel) {
    Field& quantity = data.FieldByName("QTY");
    quantity.SetRequired(true);
    quantity.SetDisplayLabel(QString::fromUtf8("Nº Comensais Faturados"));
    data.Open();
    data.Append();
    data.FieldByName("CODE").SetAsString("A");
    try {
        data.Post();
        FAIL() << "posted without the required field";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(),
                  QString::fromUtf8("Campo 'Nº Comensais Faturados' deve ser informado."));
    }
    EXPECT_EQ(data.State(), DataSetState::Insert);
    quantity.SetAsFloat(0);
    data.Post();
    EXPECT_EQ(data.RecordCount(), 1);
}

TEST_F(DataSetTest, ChangeEventRunsOnEveryAssignmentUnlessDetached) {
    Load();
    Field& quantity = data.FieldByName("QTY");
    std::vector<double> seen;
    quantity.OnChange = [&seen](Field& field) { seen.push_back(field.AsFloat()); };
    data.Edit();
    quantity.SetAsFloat(7);
    {
        ScopedDetach quiet(quantity.OnChange);
        quantity.SetAsFloat(8);
        EXPECT_FALSE(quantity.OnChange);
    }
    quantity.SetAsFloat(9);
    EXPECT_EQ(seen, (std::vector<double>{7, 9}));
}

TEST_F(DataSetTest, ADetachedHandlerComesBackWhenTheScopeEndsByException) {
    Load();
    int posts = 0;
    data.BeforePost = [&posts](ClientDataSet&) { ++posts; };
    try {
        ScopedDetach quiet(data.BeforePost);
        data.Edit();
        data.Post();
        throw EAbort();
    } catch (const EAbort&) {
    }
    EXPECT_EQ(posts, 0);
    data.Edit();
    data.Post();
    EXPECT_EQ(posts, 1);
}

TEST_F(DataSetTest, TheRowsCannotChangeWhileTheyAreBeingRead) {
    Load();
    const std::function<void()> changes[] = {
        [&] { data.Next(); },
        [&] { data.Edit(); },
        [&] { data.Delete(); },
        [&] { data.Close(); },
        [&] { data.SetData(SmallPacket()); },
        [&] { data.SetFiltered(true); },
    };
    for (const auto& change : changes) {
        EXPECT_THROW(data.ForEachRow([&](const RowView&) { change(); }), EError);
    }
    EXPECT_EQ(data.RecNo(), 1);
    EXPECT_EQ(data.RecordCount(), 3);
    data.Next();  // and can again afterwards
    EXPECT_EQ(Code(), "B");
}

}  // namespace
}  // namespace fai
