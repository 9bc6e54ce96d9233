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

// The strip's entries by their heights (items and separators) and the room
// they stack in: the scrolling of a strip whose entries differ in height.
// With items alone it answers as FittingItemCount and FirstShownFor do.
class StripRows {
public:
    StripRows() = default;
    // The entries in list order (true for a separator) below the hide
    // button of a panel `outerHeight` high.
    StripRows(const std::vector<bool>& separators, int outerHeight, int hideBottom = kHideButtonHeight,
              const PanelMetrics& m = kDesignMetrics);

    int Count() const { return static_cast<int>(heights_.size()); }
    // How many entries show with the strip started at `first`.
    int Fitting(int first) const;
    // The last entry the strip may start at: the first from which every
    // remaining entry shows (the last entry where none would).
    int LastFirst() const;
    // The first entry to show so that `focused` is in view, moving as little
    // as possible from `first`; with `focused` -1 `first` stays, kept in range.
    int FirstShownFor(int first, int focused) const;

private:
    std::vector<int> heights_;
    int room_ = 0;  // an entry shows while the heights down to its bottom stay below this
};

}  // namespace tilerack
