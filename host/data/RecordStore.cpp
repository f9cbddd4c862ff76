#include "RecordStore.h"

#include <algorithm>

namespace fai {
namespace {

bool IsPending(RowStatus status) {
    return status == RowStatus::Inserted || status == RowStatus::Modified ||
           status == RowStatus::Deleted;
}

}  // namespace

void RecordStore::Reset(int columnCount) {
    columns_ = columnCount;
    cells_.clear();  // the capacity stays: screens reload the same dataset again and again
    status_.clear();
    order_.clear();
    free_.clear();
    originals_.clear();
    pending_ = 0;
}

void RecordStore::Reserve(std::size_t rows) {
    cells_.reserve(rows * std::size_t(columns_));
    status_.reserve(rows);
    order_.reserve(rows);
}

const Value* RecordStore::Baseline(SlotId slot) const {
    if (status_[slot] == RowStatus::Inserted) return nullptr;
    const auto original = originals_.find(slot);
    return original == originals_.end() ? Row(slot) : original->second.data();
}

std::vector<SlotId> RecordStore::LiveRows() const {
    std::vector<SlotId> rows;
    rows.reserve(order_.size());
    for (SlotId slot : order_) {
        if (status_[slot] != RowStatus::Deleted) rows.push_back(slot);
    }
    return rows;
}

SlotId RecordStore::Insert(SlotId before, std::span<const Value> values, bool logged) {
    const SlotId slot = NewSlot();
    Assign(slot, values);
    SetStatus(slot, logged ? RowStatus::Inserted : RowStatus::Unchanged);
    const auto at =
        before == kNoSlot ? order_.end() : std::find(order_.begin(), order_.end(), before);
    order_.insert(at, slot);
    return slot;
}

void RecordStore::Update(SlotId slot, std::span<const Value> values, bool logged) {
    if (logged && status_[slot] == RowStatus::Unchanged) {
        if (std::equal(values.begin(), values.end(), Row(slot))) return;
        originals_.emplace(slot, Copy(Row(slot)));
        SetStatus(slot, RowStatus::Modified);
    }
    Assign(slot, values);
    // A row edited back to its baseline has nothing left to send.
    if (logged && status_[slot] == RowStatus::Modified && SameAsBaseline(slot)) {
        originals_.erase(slot);
        SetStatus(slot, RowStatus::Unchanged);
    }
}

void RecordStore::Remove(SlotId slot, bool logged) {
    const RowStatus status = status_[slot];
    if (logged && (status == RowStatus::Unchanged || status == RowStatus::Modified)) {
        SetStatus(slot, RowStatus::Deleted);
        return;
    }
    Free(slot);
    EraseFreedFromOrder();
}

void RecordStore::MergeChangeLog() {
    for (SlotId slot : order_) {
        if (status_[slot] == RowStatus::Deleted) {
            Free(slot);
        } else {
            SetStatus(slot, RowStatus::Unchanged);
        }
    }
    originals_.clear();
    EraseFreedFromOrder();
}

void RecordStore::CancelUpdates() {
    for (SlotId slot : order_) {
        if (status_[slot] == RowStatus::Inserted) {
            Free(slot);
            continue;
        }
        const auto original = originals_.find(slot);
        if (original != originals_.end()) Assign(slot, original->second);
        SetStatus(slot, RowStatus::Unchanged);
    }
    originals_.clear();
    EraseFreedFromOrder();
}

void RecordStore::AppendChanges(std::vector<PacketRow>& out) const {
    for (SlotId slot : order_) {
        switch (status_[slot]) {
            case RowStatus::Inserted:
                out.push_back({RowChange::Inserted, Copy(Row(slot)), {}});
                break;
            case RowStatus::Modified:
                out.push_back({RowChange::Modified, Copy(Row(slot)), Copy(Baseline(slot))});
                break;
            case RowStatus::Deleted:
                out.push_back({RowChange::Deleted, {}, Copy(Baseline(slot))});
                break;
            case RowStatus::Unchanged:
            case RowStatus::Free:
                break;
        }
    }
}

void RecordStore::AppendRows(std::vector<PacketRow>& out) const {
    for (SlotId slot : order_) {
        if (status_[slot] != RowStatus::Deleted)
            out.push_back({RowChange::Unchanged, Copy(Row(slot)), {}});
    }
}

void RecordStore::Assign(SlotId slot, std::span<const Value> values) {
    std::copy(values.begin(), values.end(), MutableRow(slot));
}

SlotId RecordStore::NewSlot() {
    if (!free_.empty()) {
        const SlotId slot = free_.back();
        free_.pop_back();
        return slot;
    }
    const auto slot = static_cast<SlotId>(status_.size());
    status_.push_back(RowStatus::Free);
    cells_.resize(cells_.size() + std::size_t(columns_));
    return slot;
}

void RecordStore::Free(SlotId slot) {
    SetStatus(slot, RowStatus::Free);
    originals_.erase(slot);
    std::fill_n(MutableRow(slot), columns_, Value());
    free_.push_back(slot);
}

void RecordStore::SetStatus(SlotId slot, RowStatus status) {
    pending_ += int(IsPending(status)) - int(IsPending(status_[slot]));
    status_[slot] = status;
}

bool RecordStore::SameAsBaseline(SlotId slot) const {
    const Value* baseline = Baseline(slot);
    return std::equal(Row(slot), Row(slot) + columns_, baseline);
}

void RecordStore::EraseFreedFromOrder() {
    std::erase_if(order_, [this](SlotId slot) { return status_[slot] == RowStatus::Free; });
}

}  // namespace fai
