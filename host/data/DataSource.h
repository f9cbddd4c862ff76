#pragma once

#include "ClientDataSet.h"

#include <functional>
#include <vector>

namespace fai {

class DataLink;

// What screens and grids watch a dataset through. A disabled source, or one without a
// dataset, reports the inactive state and passes nothing on; switching it on or off is a
// change of state for its watchers. Rows are 0-based positions among the visible rows; while
// a row is being inserted it is shown at RecNo() - 1 and the rows from there on move down.
class DataSource {
  public:
    using StateChangeEvent = std::function<void(DataSource&)>;
    // `field` is the field assigned, or null when the current record moved or was posted,
    // cancelled or reloaded.
    using DataChangeEvent = std::function<void(DataSource&, const Field* field)>;

    explicit DataSource(ClientDataSet* dataSet = nullptr);
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    ClientDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(ClientDataSet* dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    DataSetState State() const;

    StateChangeEvent OnStateChange;
    DataChangeEvent OnDataChange;

  private:
    friend class ClientDataSet;
    friend class DataLink;

    void Attach();
    void Detach();
    template <typename Call>
    void ForEachLink(Call call);
    // A change of the state reported, told when it really changed.
    void ReportState(DataSetState before);

    // From the dataset.
    void StateChanged();
    void Reset();
    void Scrolled(int row);
    void RecordChanged(int row, const Field* field);
    void RowInserted(int row);
    void RowRemoved(int row);
    void FocusRequested(Field& field);
    void UpdateRecord();
    // The dataset is going away: its watchers see none from now on.
    void DataSetDestroyed();

    ClientDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    std::vector<DataLink*> links_;
};

// A control's tie to a data source, as a grid or an item model keeps one: override what it
// needs. Every call comes after the dataset has finished the change it reports.
class DataLink {
  public:
    DataLink() = default;
    virtual ~DataLink();
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;

    DataSource* Source() const { return source_; }
    void SetSource(DataSource* source);

  protected:
    friend class DataSource;

    virtual void StateChanged(DataSetState /*state*/) {}
    // The rows as a whole changed: open, close, load, filter, order, CancelUpdates, or the
    // source switched on or off.
    virtual void DataSetReset() {}
    // The current record is now `row` (-1: none).
    virtual void CurrentChanged(int /*row*/) {}
    // Values of `row` changed: `field` assigned, or the whole row when it is null.
    virtual void RecordChanged(int /*row*/, const Field* /*field*/) {}
    virtual void RowInserted(int /*row*/) {}
    virtual void RowRemoved(int /*row*/) {}
    // Field::FocusControl: put the focus on this field's column.
    virtual void FocusControlRequested(Field& /*field*/) {}
    // A post is about to run: hand the dataset what the control holds and has not written
    // yet (a grid's open cell editor), so that no typed value is left behind. Unlike the
    // others, this comes before the change, and what it throws abandons the post.
    virtual void UpdateData() {}

  private:
    DataSource* source_ = nullptr;
};

}  // namespace fai
