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

}  // namespace tilerack
