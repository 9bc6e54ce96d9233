#include "panel/strip_layout.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

TEST(StripLayout, TwentyItemsInA700HighWindow) {
    const auto slots = LayoutItemSlots(21, 700);
    ASSERT_EQ(slots.size(), 21u);
    for (size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(slots[i].top, 12 + 34 * static_cast<int>(i));
        EXPECT_TRUE(slots[i].visible) << "item " << i + 1;
    }
    EXPECT_EQ(slots[19].top, 658);  // bottom 692 < 698
    EXPECT_EQ(slots[20].top, 692);  // bottom 726 is past the window
    EXPECT_FALSE(slots[20].visible);
}

TEST(StripLayout, ButtonVisibleExactlyWhileItsBottomIsAboveHeightLessTwo) {
    // One button: top 12, bottom 46.
    EXPECT_FALSE(LayoutItemSlots(1, 48)[0].visible);
    EXPECT_TRUE(LayoutItemSlots(1, 49)[0].visible);
    EXPECT_TRUE(LayoutItemSlots(0, 700).empty());
}

TEST(StripLayout, LeftSidePutsCloseAndMenuOnTheRight) {
    const StripButtons b = PlaceStripButtons(56, 772, PanelSide::Left);
    EXPECT_EQ(b.close, (Rect{45, 0, 11, 11}));
    EXPECT_EQ(b.hide, (Rect{0, 0, 45, 11}));
    EXPECT_EQ(b.menu, (Rect{32, 745, 24, 11}));
}

TEST(StripLayout, RightSidePutsCloseAndMenuOnTheLeft) {
    const StripButtons b = PlaceStripButtons(56, 772, PanelSide::Right);
    EXPECT_EQ(b.close, (Rect{0, 0, 11, 11}));
    EXPECT_EQ(b.hide, (Rect{11, 0, 45, 11}));
    EXPECT_EQ(b.menu, (Rect{0, 745, 24, 11}));
}

TEST(StripLayout, HideButtonWidthStaysBetween5And73) {
    EXPECT_EQ(PlaceStripButtons(200, 500, PanelSide::Left).hide.width, 73);
    EXPECT_EQ(PlaceStripButtons(200, 500, PanelSide::Right).hide.width, 73);
    EXPECT_EQ(PlaceStripButtons(84, 500, PanelSide::Left).hide.width, 73);
    EXPECT_EQ(PlaceStripButtons(83, 500, PanelSide::Right).hide.width, 72);
    EXPECT_EQ(PlaceStripButtons(14, 500, PanelSide::Left).hide.width, 5);
    EXPECT_EQ(PlaceStripButtons(14, 500, PanelSide::Right).hide.width, 5);
    EXPECT_EQ(PlaceStripButtons(14, 500, PanelSide::Left).close.left, 3);
}

TEST(StripLayout, OtherSidesKeepTheLeftLayout) {
    const StripButtons odd = PlaceStripButtons(56, 772, static_cast<PanelSide>(7)), left = PlaceStripButtons(56, 772, PanelSide::Left);
    EXPECT_EQ(odd.hide, left.hide);
    EXPECT_EQ(odd.close, left.close);
    EXPECT_EQ(odd.menu, left.menu);
}

}  // namespace
}  // namespace tilerack
