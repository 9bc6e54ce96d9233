#pragma once
// Geometry of the strip: where the fixed buttons sit for each side and how
// the item buttons stack.
#include <vector>

#include "common/geometry.h"
#include "common/panel_settings.h"
#include "panel/panel_metrics.h"

namespace tilerack {

inline constexpr int kItemButtonHeight = 34;
inline constexpr int kHideButtonHeight = 11;
inline constexpr int kCloseButtonSize = 11;
inline constexpr int kMenuButtonWidth = 24;
inline constexpr int kMenuButtonHeight = 11;
inline constexpr int kMenuButtonBottomGap = 16;

struct StripButtons {
    Rect hide, close, menu;
};

// Places of SButtonHide, SButtonClose and SButtonMenu for a client size and a
// side (0 left, 1 right). For other sides the strip keeps the left layout.
// The hide button's width is kept between 5 and 73 (at 96 DPI).
StripButtons PlaceStripButtons(int clientWidth, int clientHeight, PanelSide side,
                               const PanelMetrics& m = kDesignMetrics);

struct ItemSlot {
    int top = 0;
    bool visible = false;
};
// Tops and visibility of `count` stacked item buttons: the first top is the
// bottom of the hide button + 1 (12 at 96 DPI); a button is visible exactly
// when its bottom (a client coordinate) is less than outerHeight - 2.
std::vector<ItemSlot> LayoutItemSlots(int count, int outerHeight, int hideBottom = kHideButtonHeight,
                                      const PanelMetrics& m = kDesignMetrics);

}  // namespace tilerack
