#pragma once

#include "RecordStore.h"

#include <functional>
#include <vector>

namespace fai {

// The rows a cursor walks: the live rows that pass the filter, in the requested order
// (natural order among equals). Positions are 0-based.
class VisibleRows {
  public:
    using Keep = std::function<bool(SlotId)>;
    using Less = std::function<bool(SlotId, SlotId)>;

    // `keep` empty keeps every row; `less` empty keeps the natural order.
    void Assign(std::vector<SlotId> natural, const Keep& keep, const Less& less);
    void Clear() { rows_.clear(); }

    int Count() const { return static_cast<int>(rows_.size()); }
    SlotId At(int position) const { return rows_[std::size_t(position)]; }
    const std::vector<SlotId>& Rows() const { return rows_; }
    // Position of the slot, or -1.
    int IndexOf(SlotId slot) const;

    void InsertAt(int position, SlotId slot);
    void RemoveAt(int position);
    // Where a new row goes so that the order holds: after its equals.
    int SortedPosition(SlotId slot, const Less& less) const;
    // Moves the row at `position`, whose values just changed, to where the order wants it,
    // leaving it in place when it still fits there; returns its position.
    int Reorder(int position, const Less& less);

  private:
    std::vector<SlotId> rows_;
};

}  // namespace fai
