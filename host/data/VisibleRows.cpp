#include "VisibleRows.h"

#include <algorithm>

namespace fai {

void VisibleRows::Assign(std::vector<SlotId> natural, const Keep& keep, const Less& less) {
    if (keep) std::erase_if(natural, [&keep](SlotId slot) { return !keep(slot); });
    if (less) std::stable_sort(natural.begin(), natural.end(), less);
    rows_ = std::move(natural);
}

int VisibleRows::IndexOf(SlotId slot) const {
    const auto found = std::find(rows_.begin(), rows_.end(), slot);
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void VisibleRows::InsertAt(int position, SlotId slot) {
    rows_.insert(rows_.begin() + position, slot);
}

void VisibleRows::RemoveAt(int position) { rows_.erase(rows_.begin() + position); }

int VisibleRows::SortedPosition(SlotId slot, const Less& less) const {
    return static_cast<int>(std::upper_bound(rows_.begin(), rows_.end(), slot, less) -
                            rows_.begin());
}

int VisibleRows::Reorder(int position, const Less& less) {
    const SlotId slot = At(position);
    const bool afterPrevious = position == 0 || !less(slot, At(position - 1));
    const bool beforeNext = position + 1 == Count() || !less(At(position + 1), slot);
    if (afterPrevious && beforeNext) return position;
    RemoveAt(position);
    const int target = SortedPosition(slot, less);
    InsertAt(target, slot);
    return target;
}

}  // namespace fai
