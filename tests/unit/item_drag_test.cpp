#include "panel/item_drag.h"

#include <gtest/gtest.h>

#include "panel/strip_focus.h"

namespace tilerack {
namespace {

constexpr DragDistance kDistance{4, 4};

TEST(ItemDrag, APressThatStaysWithinTheDistanceIsAClick) {
    ItemDrag drag;
    drag.Press(1, {30, 60}, kDistance);
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Pressed);
    // A wobble of up to the distance on either side, in both directions.
    for (Point p : {Point{34, 60}, Point{26, 56}, Point{30, 64}, Point{34, 64}}) EXPECT_FALSE(drag.Move(p, 3));
    EXPECT_FALSE(drag.Dragging());
    EXPECT_EQ(drag.Release(true), std::nullopt);
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Idle);
    EXPECT_EQ(drag.Item(), -1);
}

TEST(ItemDrag, PassingTheDistanceAcrossOrAlongStartsTheDragOnce) {
    for (Point past : {Point{35, 60}, Point{25, 60}, Point{30, 65}, Point{30, 55}}) {
        ItemDrag drag;
        drag.Press(0, {30, 60}, kDistance);
        EXPECT_TRUE(drag.Move(past, 1)) << past.x << "," << past.y;
        EXPECT_TRUE(drag.Dragging());
        EXPECT_FALSE(drag.Move({30, 60}, 0)) << "back at the press point the drag goes on";
        EXPECT_TRUE(drag.Dragging());
        EXPECT_EQ(drag.Gap(), 0);
        EXPECT_EQ(drag.Item(), 0);
    }
    // The distance is the panel's: scaled, the same move is a click.
    ItemDrag scaled;
    scaled.Press(0, {30, 60}, DragDistance{8, 8});
    EXPECT_FALSE(scaled.Move({36, 66}, 1));
}

TEST(ItemDrag, AReleaseOverTheStripMovesTheItemToItsGap) {
    ItemDrag drag;
    drag.Press(0, {30, 29}, kDistance);
    ASSERT_TRUE(drag.Move({30, 60}, 1));
    drag.Move({30, 120}, 3);  // below the third of three items
    EXPECT_EQ(drag.Release(true), (ItemMove{0, 2}));
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Dropped);

    drag.Press(2, {30, 97}, kDistance);
    drag.Move({30, 10}, 0);
    EXPECT_EQ(drag.Release(true), (ItemMove{2, 0}));

    // The gaps just above and below the dragged item leave it where it is.
    for (int gap : {1, 2}) {
        drag.Press(1, {30, 60}, kDistance);
        drag.Move({40, 60}, gap);
        EXPECT_EQ(drag.Release(true), std::nullopt) << gap;
        EXPECT_EQ(drag.State(), ItemDrag::Phase::Dropped);
    }
}

TEST(ItemDrag, AReleaseElsewhereEscOrALostCaptureChangeNothing) {
    ItemDrag drag;
    drag.Press(0, {30, 29}, kDistance);
    drag.Move({300, 120}, 3);
    EXPECT_EQ(drag.Release(false), std::nullopt);
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Cancelled);

    drag.Press(0, {30, 29}, kDistance);
    drag.Move({30, 120}, 3);
    EXPECT_TRUE(drag.Cancel());
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Cancelled);
    EXPECT_FALSE(drag.Move({30, 130}, 3)) << "a cancelled drag does not start again";
    EXPECT_EQ(drag.Release(true), std::nullopt);

    // Cancelling a press that is not yet a drag also ends it, without a click.
    drag.Press(0, {30, 29}, kDistance);
    EXPECT_FALSE(drag.Cancel());
    EXPECT_EQ(drag.State(), ItemDrag::Phase::Cancelled);
    EXPECT_FALSE(drag.Cancel());
}

TEST(ItemMoveTarget, AGapBelowTheItemCountsWithoutIt) {
    EXPECT_EQ(MoveTarget(0, 0), 0);
    EXPECT_EQ(MoveTarget(0, 1), 0);
    EXPECT_EQ(MoveTarget(0, 3), 2);
    EXPECT_EQ(MoveTarget(2, 0), 0);
    EXPECT_EQ(MoveTarget(2, 1), 1);
    EXPECT_EQ(MoveTarget(2, 3), 2);
}

TEST(InsertionGap, EveryGapOfAStripAtItsFirstItem) {
    // Items at 96 DPI: tops 12, 46, 80; three items, all shown.
    const int top = 12, pitch = 34;
    EXPECT_EQ(InsertionGap(0, top, pitch, 0, 3), 0) << "over the hide bar: above the first";
    EXPECT_EQ(InsertionGap(28, top, pitch, 0, 3), 0) << "upper half of the first";
    EXPECT_EQ(InsertionGap(29, top, pitch, 0, 3), 1) << "lower half of the first";
    EXPECT_EQ(InsertionGap(46, top, pitch, 0, 3), 1);
    EXPECT_EQ(InsertionGap(63, top, pitch, 0, 3), 2);
    EXPECT_EQ(InsertionGap(96, top, pitch, 0, 3), 2);
    EXPECT_EQ(InsertionGap(97, top, pitch, 0, 3), 3) << "lower half of the last: below it";
    EXPECT_EQ(InsertionGap(600, top, pitch, 0, 3), 3) << "far below the last";
    EXPECT_EQ(GapTop(0, top, pitch), 12);
    EXPECT_EQ(GapTop(3, top, pitch), 114);
}

TEST(InsertionGap, AScrolledStripOffersOnlyTheGapsItShows) {
    // 30 items, 20 fit, the strip scrolled to start at item 5: item 0's top
    // lies 5 pitches above the first shown one's.
    const int pitch = 34, first = 5, fitting = 20;
    const std::vector<ItemSlot> slots = LayoutItemSlotsFrom(30, first, 700);
    ASSERT_EQ(FittingItemCount(700), fitting);
    const int top0 = slots[0].top;
    EXPECT_EQ(top0, 12 - first * pitch);
    EXPECT_EQ(InsertionGap(0, top0, pitch, first, first + fitting), 5) << "above the first shown item";
    EXPECT_EQ(InsertionGap(12 + 20, top0, pitch, first, first + fitting), 6);
    EXPECT_EQ(InsertionGap(12 + 19 * pitch + 20, top0, pitch, first, first + fitting), 25)
        << "below the last shown item";
    EXPECT_EQ(InsertionGap(699, top0, pitch, first, first + fitting), 25);
    EXPECT_EQ(GapTop(6, top0, pitch), slots[6].top);
}

TEST(AutoScroll, ThePointerNearAnEndScrollsOneItemAtATimeUpToTheEnds) {
    // A strip from row 12 to row 692 showing 20 of 30 items.
    const int zone = 17;
    EXPECT_EQ(AutoScrolledFirst(20, 5, 30, 20, 12, 692, zone), 4);
    EXPECT_EQ(AutoScrolledFirst(20, 0, 30, 20, 12, 692, zone), 0) << "at the top already";
    EXPECT_EQ(AutoScrolledFirst(680, 5, 30, 20, 12, 692, zone), 6);
    EXPECT_EQ(AutoScrolledFirst(680, 10, 30, 20, 12, 692, zone), 10) << "the last item shows already";
    EXPECT_EQ(AutoScrolledFirst(300, 5, 30, 20, 12, 692, zone), 5) << "in the middle nothing scrolls";
    EXPECT_EQ(AutoScrolledFirst(680, 0, 3, 20, 12, 692, zone), 0) << "a strip that fits never scrolls";
}

}  // namespace
}  // namespace tilerack
