#include "panel/strip_layout.h"

#include <algorithm>

namespace tilerack {
namespace {
constexpr int kHideMinWidth = 5;
constexpr int kHideMaxWidth = 73;
}  // namespace

StripButtons PlaceStripButtons(int clientWidth, int clientHeight, PanelSide side) {
    StripButtons b;
    b.close = {0, 0, kCloseButtonSize, kCloseButtonSize};
    b.hide = {0, 0, 0, kHideButtonHeight};
    b.menu = {0, clientHeight - kMenuButtonHeight - kMenuButtonBottomGap, kMenuButtonWidth, kMenuButtonHeight};
    if (side == PanelSide::Right) {
        // Right edge: close and menu on the left, the hide bar after the close button.
        b.hide.width = std::clamp(clientWidth - b.close.width, kHideMinWidth, kHideMaxWidth);
        b.hide.left = b.close.width;
    } else {
        b.close.left = clientWidth - b.close.width;
        b.hide.width = std::clamp(b.close.left, kHideMinWidth, kHideMaxWidth);
        b.menu.left = clientWidth - b.menu.width;
    }
    return b;
}

std::vector<ItemSlot> LayoutItemSlots(int count, int outerHeight, int hideBottom) {
    std::vector<ItemSlot> slots;
    slots.reserve(std::max(count, 0));
    int y = hideBottom + 1;
    for (int i = 0; i < count; ++i) {
        ItemSlot slot;
        slot.top = y;
        y += kItemButtonHeight;
        slot.visible = y < outerHeight - 2;
        slots.push_back(slot);
    }
    return slots;
}

}  // namespace tilerack
