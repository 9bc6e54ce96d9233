#include "panel/strip_layout.h"

#include <algorithm>

namespace tilerack {
StripButtons PlaceStripButtons(int clientWidth, int clientHeight, PanelSide side, const PanelMetrics& m) {
    StripButtons b;
    b.close = {0, 0, m.closeSize, m.closeSize};
    b.hide = {0, 0, 0, m.hideHeight};
    b.menu = {0, clientHeight - m.menuHeight - m.menuBottomGap, m.menuWidth, m.menuHeight};
    if (side == PanelSide::Right) {
        // Right edge: close and menu on the left, the hide bar after the close button.
        b.hide.width = std::clamp(clientWidth - b.close.width, m.hideMinWidth, m.hideMaxWidth);
        b.hide.left = b.close.width;
    } else {
        b.close.left = clientWidth - b.close.width;
        b.hide.width = std::clamp(b.close.left, m.hideMinWidth, m.hideMaxWidth);
        b.menu.left = clientWidth - b.menu.width;
    }
    return b;
}

std::vector<ItemSlot> LayoutItemSlots(int count, int outerHeight, int hideBottom, const PanelMetrics& m) {
    std::vector<ItemSlot> slots;
    slots.reserve(std::max(count, 0));
    int y = hideBottom + m.itemGap;
    for (int i = 0; i < count; ++i) {
        ItemSlot slot;
        slot.top = y;
        y += m.itemPitch;
        slot.visible = y < outerHeight - m.bottomMargin;
        slots.push_back(slot);
    }
    return slots;
}

Rect MenuMarkRect(const Rect& button, PanelSide side, const PanelMetrics& m) {
    const int size = std::min({m.closeSize, button.width, button.height});
    const int left = side == PanelSide::Right ? button.left : button.Right() - size;
    return Rect{left, button.Bottom() - size, size, size};
}

std::vector<ItemSlot> LayoutStripEntries(const std::vector<bool>& separators, int first, int outerHeight,
                                         int hideBottom, const PanelMetrics& m) {
    const int count = static_cast<int>(separators.size());
    const int start = std::clamp(first, 0, std::max(count - 1, 0));
    const int limit = outerHeight - m.bottomMargin;
    // The entries before the first shown stand above the strip, stacked up to it.
    int above = 0;
    for (int i = 0; i < start; ++i) above += separators[static_cast<size_t>(i)] ? SeparatorHeight(m) : m.itemPitch;
    std::vector<ItemSlot> slots;
    slots.reserve(separators.size());
    int y = hideBottom + m.itemGap - above;
    for (int i = 0; i < count; ++i) {
        ItemSlot slot;
        slot.separator = separators[static_cast<size_t>(i)];
        slot.height = slot.separator ? SeparatorHeight(m) : m.itemPitch;
        slot.top = y;
        y += slot.height;
        slot.visible = i >= start && y < limit;
        slots.push_back(slot);
    }
    return slots;
}

std::vector<StripEntrySpan> StripEntrySpans(const std::vector<ItemSlot>& slots) {
    std::vector<StripEntrySpan> spans;
    spans.reserve(slots.size());
    for (const ItemSlot& slot : slots) spans.push_back(StripEntrySpan{slot.top, slot.height, slot.separator, false});
    return spans;
}

}  // namespace tilerack
