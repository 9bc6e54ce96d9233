#pragma once
// Geometry of the strip: where the fixed buttons sit for each side and how
// the item buttons stack.
#include <vector>

#include "common/geometry.h"
#include "panel/drop_place.h"
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
    int height = 0;  // LayoutStripEntries's: the entry's own height
    bool separator = false;
};
// Tops and visibility of `count` stacked item buttons: the first top is the
// bottom of the hide button + 1 (12 at 96 DPI); a button is visible exactly
// when its bottom (a client coordinate) is less than outerHeight - 2.
std::vector<ItemSlot> LayoutItemSlots(int count, int outerHeight, int hideBottom = kHideButtonHeight,
                                      const PanelMetrics& m = kDesignMetrics);

// The drop-down mark of a folder's button: a square in its bottom corner
// away from the screen edge (the right one on a left panel, the left one on
// a right panel), 11 design pixels at the scale; a press there opens the
// folder's menu.
Rect MenuMarkRect(const Rect& button, PanelSide side, const PanelMetrics& m = kDesignMetrics);

// A separator's height on the strip: a quarter of an item button's, at the
// same scale, never less than one row.
inline int SeparatorHeight(const PanelMetrics& m) { return m.itemPitch / 4 > 0 ? m.itemPitch / 4 : 1; }

// The strip's entries in list order (true for a separator) with the strip
// started at entry `first`: each entry's top, height and visibility. The
// entries before `first` stand above the strip; the others stack from the
// hide button down, each as high as it is, and an entry shows exactly when
// its bottom is above outerHeight - 2. Items only, this is LayoutItemSlots
// (LayoutItemSlotsFrom from `first`).
std::vector<ItemSlot> LayoutStripEntries(const std::vector<bool>& separators, int first, int outerHeight,
                                         int hideBottom = kHideButtonHeight, const PanelMetrics& m = kDesignMetrics);

// Each entry's span on the strip as laid out (rows, height, separator); the
// places for drops and drags are found on these.
std::vector<StripEntrySpan> StripEntrySpans(const std::vector<ItemSlot>& slots);

}  // namespace tilerack
