#pragma once
// Arranging items with the pointer: a press on an item's button that moves
// past the system's drag distance drags the item; released over the strip it
// moves to the gap under the pointer, released anywhere else (or cancelled)
// nothing changes. A press that never passes the distance stays a click.
#include <optional>

#include <vector>

#include "common/geometry.h"
#include "panel/drop_place.h"

namespace tilerack {

// How far the pointer may move from the press on either side, across and
// along the strip, before a drag starts (SM_CXDRAG, SM_CYDRAG at the
// panel's scale).
struct DragDistance {
    int x = 4, y = 4;
};

// An item moving from one list index to another.
struct ItemMove {
    int from = 0, to = 0;
    bool operator==(const ItemMove&) const = default;
};

class ItemDrag {
public:
    enum class Phase { Idle, Pressed, Dragging, Dropped, Cancelled };

    // The left button went down on the button of item `item` at `at`.
    void Press(int item, Point at, DragDistance distance);
    // The pointer moved to `at`, over gap `gap` of the strip (see
    // InsertionGap); true when this move starts the drag.
    bool Move(Point at, int gap);
    // The button came up; `overStrip` tells whether the pointer is over the
    // strip. The move to make when a drag ends over a gap that changes the
    // order; nothing for a click, a drag released elsewhere or where the item
    // already stands.
    std::optional<ItemMove> Release(bool overStrip);
    // Esc, the capture lost: a drag under way ends without a move. True when
    // there was one.
    bool Cancel();

    Phase State() const { return phase_; }
    bool Dragging() const { return phase_ == Phase::Dragging; }
    // The item pressed or dragged (-1 when none) and the gap it would land in.
    int Item() const { return phase_ == Phase::Pressed || phase_ == Phase::Dragging ? item_ : -1; }
    int Gap() const { return gap_; }

private:
    Phase phase_ = Phase::Idle;
    int item_ = -1;
    int gap_ = -1;
    Point pressedAt_;
    DragDistance distance_;
};

// The list index an item at `from` takes when it is dropped into gap `gap`
// (gap i lies above item i; gap count below the last).
int MoveTarget(int from, int gap);

// The gap nearest to client row `y` on a strip whose item 0 has its top at
// `firstTop` (above the strip's top when it is scrolled) and whose items are
// `pitch` apart, kept between `firstGap` and `lastGap` (the gaps the strip
// shows: above its first shown item, below its last shown one).
int InsertionGap(int y, int firstTop, int pitch, int firstGap, int lastGap);
// The client row of a gap's mark.
inline int GapTop(int gap, int firstTop, int pitch) { return firstTop + gap * pitch; }

// The same on entries of their own heights (items and separators, as the
// strip lays them out): the upper half of an entry is the gap above it, the
// lower half the gap below; above the first entry gap 0, below the last the
// gap after it; kept between `firstGap` and `lastGap`.
int InsertionGapAmong(int y, const std::vector<StripEntrySpan>& entries, int firstGap, int lastGap);
// The client row of a gap's mark among such entries: the top of the entry
// below it, or the bottom of the last.
int GapTopAmong(int gap, const std::vector<StripEntrySpan>& entries);

// The first item to show after one step of scrolling while a drag holds the
// pointer at row `y`: within `zone` of the strip's top (`stripTop`) the strip
// shows one item earlier, within `zone` of its bottom one later, never past
// either end of `count` items of which `fitting` show at once.
int AutoScrolledFirst(int y, int first, int count, int fitting, int stripTop, int stripBottom, int zone);
// The same step on a strip that may start at entries 0 to `lastFirst`.
int AutoScrolledFirstWithin(int y, int first, int lastFirst, int stripTop, int stripBottom, int zone);

}  // namespace tilerack
