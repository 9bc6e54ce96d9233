#pragma once
// The keyboard's way along the strip: which item button the focus moves to
// and which item the strip shows first so that the focused one is in view.
// Without keyboard focus the strip always starts at its first item.
#include <vector>

#include "panel/strip_layout.h"

namespace tilerack {

enum class FocusMove { Previous, Next, First, Last };

// The index the focus moves to from `current` (-1 for none) among `count`
// items: Previous and Next stop at the ends; from no focus, Next and First
// give the first item, Previous and Last the last. -1 when there are no items.
int MoveItemFocus(int current, FocusMove move, int count);

// How many item buttons fit below the hide button of a panel `outerHeight`
// high (the same rule as LayoutItemSlots: a button shows when its bottom is
// above outerHeight - 2).
int FittingItemCount(int outerHeight, int hideBottom = kHideButtonHeight, const PanelMetrics& m = kDesignMetrics);

// The first item to show so that `focused` is in view, moving as little as
// possible from `first`; never past the point where the last item shows at
// the bottom. With `focused` -1 (no focus) `first` stays, kept in range.
int FirstShownFor(int first, int focused, int count, int fitting);

// The item slots with the strip started at item `first`: the items before it
// are out of view (their tops above the strip), the others stack from the
// hide button down as LayoutItemSlots stacks them from the first item.
std::vector<ItemSlot> LayoutItemSlotsFrom(int count, int first, int outerHeight, int hideBottom = kHideButtonHeight,
                                          const PanelMetrics& m = kDesignMetrics);

}  // namespace tilerack
