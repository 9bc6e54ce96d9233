#include "panel/item_drag.h"

#include <algorithm>
#include <cstdlib>

namespace tilerack {

void ItemDrag::Press(int item, Point at, DragDistance distance) {
    phase_ = Phase::Pressed;
    item_ = item;
    gap_ = -1;
    pressedAt_ = at;
    distance_ = distance;
}

bool ItemDrag::Move(Point at, int gap) {
    if (phase_ == Phase::Dragging) {
        gap_ = gap;
        return false;
    }
    if (phase_ != Phase::Pressed) return false;
    if (std::abs(at.x - pressedAt_.x) <= distance_.x && std::abs(at.y - pressedAt_.y) <= distance_.y) return false;
    phase_ = Phase::Dragging;
    gap_ = gap;
    return true;
}

std::optional<ItemMove> ItemDrag::Release(bool overStrip) {
    if (phase_ != Phase::Dragging) {
        phase_ = Phase::Idle;
        return std::nullopt;
    }
    if (!overStrip || gap_ < 0) {
        phase_ = Phase::Cancelled;
        return std::nullopt;
    }
    phase_ = Phase::Dropped;
    const int to = MoveTarget(item_, gap_);
    if (to == item_) return std::nullopt;
    return ItemMove{item_, to};
}

bool ItemDrag::Cancel() {
    const bool dragging = phase_ == Phase::Dragging;
    if (phase_ == Phase::Pressed || dragging) phase_ = Phase::Cancelled;
    return dragging;
}

int MoveTarget(int from, int gap) { return gap > from ? gap - 1 : gap; }

int InsertionGap(int y, int firstTop, int pitch, int firstGap, int lastGap) {
    if (pitch <= 0) return firstGap;
    // Rounded to the nearest gap: the upper half of a button is above it.
    const int offset = y - firstTop + pitch / 2;
    const int gap = offset >= 0 ? offset / pitch : -((-offset + pitch - 1) / pitch);
    return std::clamp(gap, firstGap, std::max(lastGap, firstGap));
}

int InsertionGapAmong(int y, const std::vector<StripEntrySpan>& entries, int firstGap, int lastGap) {
    int gap = static_cast<int>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const StripEntrySpan& e = entries[i];
        if (y >= e.top + e.height) continue;
        gap = static_cast<int>(i) + (y >= e.top + e.height / 2 && y >= e.top ? 1 : 0);
        break;
    }
    return std::clamp(gap, firstGap, std::max(lastGap, firstGap));
}

int GapTopAmong(int gap, const std::vector<StripEntrySpan>& entries) {
    if (entries.empty()) return 0;
    if (gap >= 0 && static_cast<size_t>(gap) < entries.size()) return entries[static_cast<size_t>(gap)].top;
    if (gap < 0) return entries.front().top;
    return entries.back().top + entries.back().height;
}

int AutoScrolledFirst(int y, int first, int count, int fitting, int stripTop, int stripBottom, int zone) {
    return AutoScrolledFirstWithin(y, first, std::max(count - std::max(fitting, 1), 0), stripTop, stripBottom, zone);
}

int AutoScrolledFirstWithin(int y, int first, int lastFirst, int stripTop, int stripBottom, int zone) {
    int step = 0;
    if (y < stripTop + zone) step = -1;
    else if (y >= stripBottom - zone) step = 1;
    return std::clamp(first + step, 0, lastFirst);
}

}  // namespace tilerack
