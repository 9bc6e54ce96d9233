#include "panel/strip_focus.h"

#include <algorithm>

namespace tilerack {

int MoveItemFocus(int current, FocusMove move, int count) {
    if (count <= 0) return -1;
    const bool none = current < 0 || current >= count;
    switch (move) {
    case FocusMove::First: return 0;
    case FocusMove::Last: return count - 1;
    case FocusMove::Next: return none ? 0 : std::min(current + 1, count - 1);
    case FocusMove::Previous: return none ? count - 1 : std::max(current - 1, 0);
    }
    return -1;
}

int FittingItemCount(int outerHeight, int hideBottom, const PanelMetrics& m) {
    // Button i (from 0) ends at hideBottom + gap + (i + 1) * pitch.
    const int room = outerHeight - m.bottomMargin - (hideBottom + m.itemGap);
    if (room <= 0 || m.itemPitch <= 0) return 0;
    return (room - 1) / m.itemPitch;
}

int FirstShownFor(int first, int focused, int count, int fitting) {
    const int fit = std::max(fitting, 1);
    const int lastFirst = std::max(count - fit, 0);
    int result = std::clamp(first, 0, lastFirst);
    if (focused < 0 || focused >= count) return result;
    if (focused < result) result = focused;
    if (focused >= result + fit) result = focused - fit + 1;
    return std::clamp(result, 0, lastFirst);
}

std::vector<ItemSlot> LayoutItemSlotsFrom(int count, int first, int outerHeight, int hideBottom,
                                          const PanelMetrics& m) {
    std::vector<ItemSlot> slots = LayoutItemSlots(count, outerHeight, hideBottom, m);
    if (first <= 0) return slots;
    const int shift = first * m.itemPitch;
    for (int i = 0; i < count; ++i) {
        ItemSlot& slot = slots[static_cast<size_t>(i)];
        slot.top -= shift;
        slot.visible = i >= first && slot.top + m.itemPitch < outerHeight - m.bottomMargin;
    }
    return slots;
}

StripRows::StripRows(const std::vector<bool>& separators, int outerHeight, int hideBottom, const PanelMetrics& m)
    : room_(outerHeight - m.bottomMargin - (hideBottom + m.itemGap)) {
    heights_.reserve(separators.size());
    for (bool separator : separators) heights_.push_back(separator ? SeparatorHeight(m) : m.itemPitch);
}

int StripRows::Fitting(int first) const {
    int used = 0, fitting = 0;
    for (int i = std::max(first, 0); i < Count(); ++i) {
        used += heights_[static_cast<size_t>(i)];
        if (used >= room_) break;
        ++fitting;
    }
    return fitting;
}

int StripRows::LastFirst() const {
    int used = 0, first = Count();
    while (first > 0 && used + heights_[static_cast<size_t>(first - 1)] < room_)
        used += heights_[static_cast<size_t>(--first)];
    return std::min(first, std::max(Count() - 1, 0));
}

int StripRows::FirstShownFor(int first, int focused) const {
    const int lastFirst = LastFirst();
    int result = std::clamp(first, 0, lastFirst);
    if (focused < 0 || focused >= Count()) return result;
    if (focused < result) return focused;
    if (focused < result + std::max(Fitting(result), 1)) return result;
    // The earliest start that still shows the focused entry at the bottom.
    int used = heights_[static_cast<size_t>(focused)];
    result = focused;
    while (result > 0 && used + heights_[static_cast<size_t>(result - 1)] < room_)
        used += heights_[static_cast<size_t>(--result)];
    return std::clamp(result, 0, lastFirst);
}

}  // namespace tilerack
