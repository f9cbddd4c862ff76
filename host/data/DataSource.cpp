#include "DataSource.h"

#include <QVarLengthArray>

#include <algorithm>

namespace fai {

DataSource::DataSource(ClientDataSet* dataSet) : dataSet_(dataSet) { Attach(); }

DataSource::~DataSource() {
    Detach();
    for (DataLink* link : links_) link->source_ = nullptr;
}

void DataSource::SetDataSet(ClientDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    const DataSetState before = State();
    Detach();
    dataSet_ = dataSet;
    Attach();
    ReportState(before);
    Reset();
}

void DataSource::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    const DataSetState before = State();
    enabled_ = enabled;
    ReportState(before);
    ForEachLink([](DataLink& link) { link.DataSetReset(); });
}

DataSetState DataSource::State() const {
    return enabled_ && dataSet_ ? dataSet_->State() : DataSetState::Inactive;
}

void DataSource::Attach() {
    if (dataSet_) dataSet_->sources_.push_back(this);
}

void DataSource::Detach() {
    if (dataSet_) std::erase(dataSet_->sources_, this);
}

// Over a copy on the stack, as the dataset tells its sources: a link may come or go meanwhile.
template <typename Call>
void DataSource::ForEachLink(Call call) {
    if (links_.empty()) return;
    const QVarLengthArray<DataLink*, 8> links(links_.begin(), links_.end());
    for (DataLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) call(*link);
    }
}

void DataSource::ReportState(DataSetState before) {
    const DataSetState now = State();
    if (now == before) return;
    if (OnStateChange) OnStateChange(*this);
    ForEachLink([now](DataLink& link) { link.StateChanged(now); });
}

void DataSource::StateChanged() {
    if (!enabled_) return;
    const DataSetState now = State();
    if (OnStateChange) OnStateChange(*this);
    ForEachLink([now](DataLink& link) { link.StateChanged(now); });
}

void DataSource::Reset() {
    if (!enabled_) return;
    if (OnDataChange) OnDataChange(*this, nullptr);
    ForEachLink([](DataLink& link) { link.DataSetReset(); });
}

void DataSource::Scrolled(int row) {
    if (!enabled_) return;
    if (OnDataChange) OnDataChange(*this, nullptr);
    ForEachLink([row](DataLink& link) { link.CurrentChanged(row); });
}

void DataSource::RecordChanged(int row, const Field* field) {
    if (!enabled_) return;
    if (OnDataChange) OnDataChange(*this, field);
    ForEachLink([row, field](DataLink& link) { link.RecordChanged(row, field); });
}

void DataSource::RowInserted(int row) {
    if (!enabled_) return;
    ForEachLink([row](DataLink& link) { link.RowInserted(row); });
}

void DataSource::RowRemoved(int row) {
    if (!enabled_) return;
    ForEachLink([row](DataLink& link) { link.RowRemoved(row); });
}

void DataSource::FocusRequested(Field& field) {
    if (!enabled_) return;
    ForEachLink([&field](DataLink& link) { link.FocusControlRequested(field); });
}

void DataSource::UpdateRecord() {
    if (!enabled_) return;
    ForEachLink([](DataLink& link) { link.UpdateData(); });
}

void DataSource::DataSetDestroyed() {
    dataSet_ = nullptr;
    // Only the links hear of it: the screen's own handlers may belong to an owner that is
    // being destroyed too.
    if (enabled_) ForEachLink([](DataLink& link) { link.DataSetReset(); });
}

DataLink::~DataLink() { SetSource(nullptr); }

void DataLink::SetSource(DataSource* source) {
    if (source == source_) return;
    if (source_) std::erase(source_->links_, this);
    source_ = source;
    if (source_) source_->links_.push_back(this);
}

}  // namespace fai
