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

}  // namespace tilerack
