#pragma once

#include "DataPacket.h"
#include "Value.h"

#include <cstdint>
#include <limits>
#include <span>
#include <unordered_map>
#include <vector>

namespace fai {

using SlotId = std::uint32_t;
inline constexpr SlotId kNoSlot = std::numeric_limits<SlotId>::max();

// Where a stored row stands against the baseline (the content as loaded or last merged).
enum class RowStatus : std::uint8_t { Unchanged, Inserted, Modified, Deleted, Free };

// The rows of a dataset and their change log, with no notion of cursor, fields or events.
// Every row lives in one flat array of cells, `columnCount` cells per slot, so a row costs
// no allocation beyond its values. Rows keep their natural order; a deleted baseline row
// stays in that order, invisible, until the log is merged or cancelled, so that cancelling
// puts every row back exactly where it was.
class RecordStore {
  public:
    // Drops every row and the change log and lays rows out with this many cells, keeping the
    // memory for the next rows; assign a new store to give the memory back.
    void Reset(int columnCount);
    void Reserve(std::size_t rows);
    int ColumnCount() const { return columns_; }

    // A baseline row at the end of the natural order, its cells built in place from
    // cellAt(column), which returns the Value for each storage column. Loads call it only
    // right after Reset, when no slot is free for reuse.
    template <typename CellAt>
    SlotId AddBaselineRow(CellAt&& cellAt) {
        const auto slot = static_cast<SlotId>(status_.size());
        for (int column = 0; column < columns_; ++column) cells_.push_back(cellAt(column));
        status_.push_back(RowStatus::Unchanged);
        order_.push_back(slot);
        return slot;
    }

    const Value* Row(SlotId slot) const { return cells_.data() + Offset(slot); }
    // The row as loaded or last merged; nullptr for a row inserted since.
    const Value* Baseline(SlotId slot) const;

    // The rows that are not deleted, in natural order.
    std::vector<SlotId> LiveRows() const;

    // `logged` false changes the baseline itself instead of recording a change.
    SlotId Insert(SlotId before, std::span<const Value> values, bool logged);
    void Update(SlotId slot, std::span<const Value> values, bool logged);
    void Remove(SlotId slot, bool logged);

    // Rows with a pending insertion, modification or deletion.
    int ChangeCount() const { return pending_; }
    void MergeChangeLog();
    void CancelUpdates();

    // Appends the pending changes in natural order: insertions with their values,
    // modifications with values and baseline, deletions with their baseline.
    void AppendChanges(std::vector<PacketRow>& out) const;
    // Appends every live row as it stands now.
    void AppendRows(std::vector<PacketRow>& out) const;

  private:
    Value* MutableRow(SlotId slot) { return cells_.data() + Offset(slot); }
    std::size_t Offset(SlotId slot) const { return std::size_t{slot} * std::size_t(columns_); }
    std::vector<Value> Copy(const Value* row) const { return {row, row + columns_}; }
    void Assign(SlotId slot, std::span<const Value> values);
    SlotId NewSlot();
    void Free(SlotId slot);
    void SetStatus(SlotId slot, RowStatus status);
    bool SameAsBaseline(SlotId slot) const;
    void EraseFreedFromOrder();

    int columns_ = 0;
    std::vector<Value> cells_;
    std::vector<RowStatus> status_;
    std::vector<SlotId> order_;  // natural order, deleted baseline rows included
    std::vector<SlotId> free_;
    std::unordered_map<SlotId, std::vector<Value>> originals_;  // baseline of modified rows
    int pending_ = 0;
};

}  // namespace fai
