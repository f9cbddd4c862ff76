#pragma once

#include "DataPacket.h"
#include "Field.h"
#include "FieldNameIndex.h"
#include "RecordStore.h"
#include "RowView.h"
#include "Value.h"
#include "VisibleRows.h"

#include <QAnyStringView>
#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace fai {

class DataSource;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// A row is being edited or inserted.
inline bool Editing(DataSetState state) {
    return state == DataSetState::Edit || state == DataSetState::Insert;
}

struct LocateOptions {
    bool caseInsensitive = false;
};

// An in-memory table with typed fields, a current record and a change log against the
// baseline (the content as loaded or last merged). The fields of a closed dataset, or of an
// empty one, read as null.
//
// Events. Insert and Append: BeforeInsert, BeforeScroll, (new row, insert state),
// AfterInsert, AfterScroll. Edit: BeforeEdit, (edit state), AfterEdit. Post: BeforePost,
// (required fields checked, row stored, browse state), AfterPost. Cancel: BeforeCancel,
// (browse state), AfterCancel. Delete: BeforeDelete, BeforeScroll, (row removed, browse
// state), AfterDelete, AfterScroll. Navigation (First, Next, Locate...) and changes of
// filter or order fire BeforeScroll and AfterScroll only when the current record really
// changes. Open and every load fire AfterScroll once, on the first row. Post, Cancel,
// CancelUpdates and MergeChangeLog fire no scroll events, even when the row the cursor was
// on moves away or disappears (the data sources are told all the same). Anything a before-event
// throws (EAbort included) abandons the operation with state, position and values as they were,
// except that values a BeforePost handler assigned stay in the row being edited; what an
// after-event throws propagates once the operation is done, and the after-events behind it do not
// run.
//
// Moving, inserting, filtering or ordering while a row is being edited posts it first.
// Delete while inserting cancels the insert; Delete while editing drops the edit and deletes
// the row. Edit on an empty dataset starts an insert.
class ClientDataSet {
  public:
    using Event = std::function<void(ClientDataSet&)>;
    using RowPredicate = std::function<bool(const RowView&)>;

    explicit ClientDataSet(QString name = QString());
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    // The name messages give the dataset ("cdsEfetFatu").
    const QString& Name() const { return name_; }

    // Persistent fields, defined while the dataset is inactive, in their significant order.
    // A string field needs a size of at least 1.
    Field& AddField(const FieldDef& definition, FieldKind kind = FieldKind::Data);
    // A data field for each definition, in their order: the fields of a packet.
    void AddFields(const std::vector<FieldDef>& definitions);
    std::span<Field* const> Fields() const { return fieldPointers_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    Field* FindField(QAnyStringView name) const;
    // Throws EError when there is no such field.
    Field& FieldByName(QAnyStringView name) const;

    // Opens the dataset empty, with its persistent fields.
    void Open();
    // Drops the rows, the change log and a pending edit; fields made from a packet go too.
    void Close();
    bool Active() const { return state_ != DataSetState::Inactive; }
    DataSetState State() const { return state_; }

    // Replaces the rows and the change log with the packet's rows, drops a pending edit,
    // opens the dataset and positions it on the first row. See PlanPacketLayout for how
    // columns meet fields and what makes a packet unacceptable (EError, nothing changed).
    void SetData(const DataPacket& packet);
    void SetData(DataPacket&& packet);
    // Every row as it stands, filter or not, calculated fields left out.
    DataPacket Data() const;

    void First();
    void Last();
    void Next();
    void Prior();
    // Moves up to `distance` rows and returns how many it moved.
    int MoveBy(int distance);
    // Bof after First or a Prior that could not move, and after a load, CancelUpdates or a
    // change of filter or order that leaves the first row current; Eof after Last or a Next
    // that could not move; both on an empty dataset.
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    // 1-based position of the current record among the visible rows; 0 when there is none.
    // While inserting, the position the new row is shown at.
    int RecNo() const;
    void SetRecNo(int recNo);
    // Visible posted rows; 0 when inactive.
    int RecordCount() const { return view_.Count(); }
    bool IsEmpty() const { return view_.Count() == 0; }
    // Moves to the first visible row whose field equals `key` (converted to the field's
    // type; texts compared without regard to case on request). False, and no move, when
    // there is none.
    bool Locate(QAnyStringView fieldName, const Value& key, LocateOptions options = {});

    // A new row before the current one.
    void Insert();
    // A new row after the last one.
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    // Rows with a pending insertion, modification or deletion. An inserted row edited
    // again stays one insertion, a row modified twice keeps its first original, an inserted
    // row deleted leaves nothing, a modified row deleted is one deletion with its first
    // original, and a row edited back to its original values is no longer pending.
    int ChangeCount() const { return store_.ChangeCount(); }
    // The pending changes, calculated fields left out.
    DataPacket Delta() const;
    // The current data becomes the baseline. Throws EError while a row is being edited.
    void MergeChangeLog();
    // Back to the baseline exactly, after cancelling a pending edit. The current record
    // stays where it still exists; otherwise the row now at its position becomes current.
    void CancelUpdates();
    // With logging off, posts and deletes change the baseline itself.
    bool LogChanges() const { return logChanges_; }
    void SetLogChanges(bool logChanges) { logChanges_ = logChanges; }

    // Rows for which the predicate is false take no part in navigation, counts, Locate or
    // ForEachRow. A predicate that throws while a load or CancelUpdates rebuilds the rows is
    // switched off before the exception propagates.
    void SetFilter(RowPredicate predicate);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);
    // Ascending order by data fields, names separated by ";"; empty for the natural order.
    // Texts compare case-sensitively, nulls first.
    void SetIndexFieldNames(const QString& names);
    const QString& IndexFieldNames() const { return indexFieldNames_; }

    // The rows as a grid shows them: the visible rows and, while inserting, the new row at
    // RecNo() - 1, the rows from there on one further down.
    int DisplayRowCount() const;
    // A row as a grid shows it, the one being edited or inserted with its pending values.
    // Valid until the dataset next changes.
    RowView DisplayRow(int row);

    // Visits the visible rows in order without moving the cursor or firing events; the row
    // being edited is seen as last posted. The dataset cannot change meanwhile.
    void ForEachRow(const std::function<void(const RowView&)>& visit);

    Event BeforeInsert, AfterInsert;
    Event BeforeEdit, AfterEdit;
    Event BeforePost, AfterPost;
    Event BeforeCancel, AfterCancel;
    Event BeforeDelete, AfterDelete;
    Event BeforeScroll, AfterScroll;
    // Assigns the calculated fields of the row being read, which is the only time they take
    // assignments. Runs when a calculated field of a row is first read.
    Event OnCalcFields;

  private:
    friend class Field;
    friend class RowView;
    friend class DataSource;

    class ReadingScope;
    class CalcContext;

    bool Editing() const { return fai::Editing(state_); }
    QString Label() const;
    void CheckActive() const;
    void CheckNotReading() const;
    void CheckBrowseMode();
    static void Fire(const Event& event, ClientDataSet& dataSet);

    // Field access, through the record the cursor (or a RowView) is on.
    const Value* ActiveRow() const;
    const Value& ReadField(const Field& field);
    void WriteField(Field& field, const Value& value);
    Value OldValueOf(const Field& field) const;
    Value ValueOfRow(const Value* row, const Field& field);
    QString DisplayTextOfRow(const Value* row, const Field& field);
    void EnsureCalculated();
    void InvalidateCalculated() { calculatedValid_ = false; }
    void RequestFocus(Field& field);
    std::vector<FieldDef> PersistentDefinitions() const;
    Field& CreateField(const FieldDef& definition, FieldKind kind);
    void DropFields();

    template <typename Packet>
    void Load(Packet&& packet);
    void BeginInsert(bool append);
    void CheckRequiredFields();
    void PlacePosted(SlotId slot, bool inserted, bool visible);
    void ScrollTo(int target, bool bof, bool eof);

    // The visible rows.
    bool Passes(const Value* row);
    VisibleRows::Keep KeepRule();
    VisibleRows::Less OrderRule() const;
    std::vector<int> ResolveOrder(const QString& names, const std::vector<FieldDef>& columns) const;
    VisibleRows BuildView();
    // Rebuilds after the rows changed; a filter that throws is switched off and its
    // exception handed back for the caller to raise once it is consistent again.
    std::exception_ptr RebuildAfterChange();
    // Applies a filter or order setting (swapSettings swaps it in, and out again on failure).
    void ReshapeView(const std::function<void()>& swapSettings);
    bool CommitView(VisibleRows rows);
    void Reposition(SlotId previous, int previousPosition);

    // Notifications to the data sources.
    template <typename Call>
    void Notify(Call call);
    void NotifyStateChanged();
    void NotifyReset();
    void NotifyScrolled();
    void NotifyRecordChanged(const Field* field);
    void NotifyRowInserted(int row);
    void NotifyRowRemoved(int row);

    QString name_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<Field*> fieldPointers_;
    FieldNameIndex fieldIndex_;
    bool fieldsFromPacket_ = false;
    int dataFieldCount_ = 0;
    std::vector<FieldDef> columns_;  // storage: data fields, then packet columns without a field

    RecordStore store_;
    VisibleRows view_;
    DataSetState state_ = DataSetState::Inactive;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<Value> buffer_;  // the row being edited or inserted
    SlotId editSlot_ = kNoSlot;
    int insertPosition_ = 0;
    SlotId insertBefore_ = kNoSlot;
    bool logChanges_ = true;

    RowPredicate filter_;
    bool filtered_ = false;
    QString indexFieldNames_;
    std::vector<int> orderColumns_;

    std::vector<Value> calculated_;
    bool calculatedValid_ = false;
    bool calculating_ = false;
    const Value* rowOverride_ = nullptr;
    int readers_ = 0;

    std::vector<DataSource*> sources_;
};

}  // namespace fai
