// The strip with separators: their height, what fits, the scrolling and the
// gaps of a drag and a drop, at the design size and at a larger scale.
#include <gtest/gtest.h>

#include "panel/drop_place.h"
#include "panel/item_drag.h"
#include "panel/strip_focus.h"
#include "panel/strip_layout.h"

namespace tilerack {
namespace {

// Item, separator, item, separator, item: at 96 DPI 34 + 8 + 34 + 8 + 34.
const std::vector<bool> kMixed{false, true, false, true, false};

TEST(StripSeparators, AreAQuarterOfAButtonAndStackAtTheirHeight) {
    EXPECT_EQ(SeparatorHeight(kDesignMetrics), 8);
    const PanelMetrics scaled = PanelMetrics::For(DpiScale::Of(192), 8);
    EXPECT_EQ(SeparatorHeight(scaled), 17);
    struct Case {
        const PanelMetrics* m;
        std::vector<int> tops, heights;
    } cases[] = {
        {&kDesignMetrics, {12, 46, 54, 88, 96}, {34, 8, 34, 8, 34}},
        {&scaled, {22 + 2, 24 + 68, 92 + 17, 109 + 68, 177 + 17}, {68, 17, 68, 17, 68}},
    };
    for (const Case& c : cases) {
        const int hideBottom = c.m->hideHeight;
        const auto slots = LayoutStripEntries(kMixed, 0, 1000, hideBottom, *c.m);
        const auto spans = StripEntrySpans(slots);
        ASSERT_EQ(spans.size(), kMixed.size());
        for (size_t i = 0; i < kMixed.size(); ++i) {
            EXPECT_EQ(slots[i].top, c.tops[i]) << i;
            EXPECT_EQ(spans[i].height, c.heights[i]) << i;
            EXPECT_EQ(spans[i].separator, kMixed[i]) << i;
            EXPECT_TRUE(slots[i].visible) << i;
        }
    }
}

TEST(StripSeparators, ItemsAloneLayOutAndFitAsBefore) {
    for (int height : {40, 47, 48, 300, 778}) {
        for (int first : {0, 3}) {
            const auto usual = LayoutItemSlotsFrom(20, first, height);
            const auto entries = LayoutStripEntries(std::vector<bool>(20, false), first, height);
            for (size_t i = 0; i < usual.size(); ++i) {
                EXPECT_EQ(entries[i].top, usual[i].top) << height << " " << first << " " << i;
                EXPECT_EQ(entries[i].visible, usual[i].visible) << height << " " << first << " " << i;
            }
        }
        const StripRows rows(std::vector<bool>(40, false), height);
        EXPECT_EQ(rows.Fitting(0), FittingItemCount(height)) << height;
        EXPECT_EQ(rows.LastFirst(), std::max(40 - std::max(FittingItemCount(height), 1), 0)) << height;
        for (int focused : {-1, 0, 7, 39})
            EXPECT_EQ(rows.FirstShownFor(2, focused), FirstShownFor(2, focused, 40, FittingItemCount(height)))
                << height << " " << focused;
    }
}

TEST(StripSeparators, CountInWhatFitsAndInTheScrolling) {
    // Room below the hide bar: an entry shows while its bottom is above
    // outerHeight - 2, the first starting at 12.
    struct Case {
        int outerHeight, fitFrom0, fitFrom1, lastFirst;
    } cases[] = {{12 + 2 + 34 + 1, 1, 1, 4},    // one button, or the separator alone
                 {12 + 2 + 42 + 1, 2, 2, 3},    // a button and a separator
                 {12 + 2 + 76 + 1, 3, 3, 2},    // two buttons and the separator between
                 {12 + 2 + 118 + 1, 5, 4, 0}};  // everything
    for (const Case& c : cases) {
        const StripRows rows(kMixed, c.outerHeight);
        EXPECT_EQ(rows.Fitting(0), c.fitFrom0) << c.outerHeight;
        EXPECT_EQ(rows.Fitting(1), c.fitFrom1) << c.outerHeight;
        EXPECT_EQ(rows.LastFirst(), c.lastFirst) << c.outerHeight;
        const auto slots = LayoutStripEntries(kMixed, 0, c.outerHeight);
        int shown = 0;
        for (const ItemSlot& s : slots) shown += s.visible ? 1 : 0;
        EXPECT_EQ(shown, c.fitFrom0) << c.outerHeight;
    }
    // Room for 42 rows: the focus on the last button scrolls to the
    // separator before it, the smallest step that shows it.
    const StripRows rows(kMixed, 12 + 2 + 42 + 1);
    EXPECT_EQ(rows.FirstShownFor(0, 4), 3);
    EXPECT_EQ(rows.FirstShownFor(3, 0), 0);
    EXPECT_EQ(rows.FirstShownFor(0, 2), 1);
    // Scrolled, the entries before the first stand above the strip at their heights.
    const auto slots = LayoutStripEntries(kMixed, 3, 57);
    EXPECT_EQ(slots[3].top, 12);
    EXPECT_EQ(slots[2].top, 12 - 34);
    EXPECT_FALSE(slots[2].visible);
    // A drag's scrolling steps one entry and stops at the last start.
    EXPECT_EQ(AutoScrolledFirstWithin(50, 2, rows.LastFirst(), 12, 56, 17), 3);
    EXPECT_EQ(AutoScrolledFirstWithin(50, 3, rows.LastFirst(), 12, 56, 17), 3);
}

TEST(StripSeparators, DragAndDropGapsFollowTheirHeights) {
    const auto spans = StripEntrySpans(LayoutStripEntries(kMixed, 0, 1000));
    // Tops 12, 46, 54, 88, 96; bottom 130.
    // Rows and the gap a drag and a drop take there (no program items: the same).
    const int cases[][2] = {{5, 0},  {28, 0}, {29, 1}, {49, 1},  {50, 2},  {53, 2},
                            {54, 2}, {71, 3}, {91, 3}, {92, 4}, {129, 5}, {400, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(InsertionGapAmong(c[0], spans, 0, 5), c[1]) << c[0];
        EXPECT_EQ(DropPlaceAt(c[0], spans).gap, c[1]) << c[0];
    }
    // The gap's mark stands on the entry below it, or below the last.
    EXPECT_EQ(GapTopAmong(1, spans), 46);
    EXPECT_EQ(GapTopAmong(2, spans), 54);
    EXPECT_EQ(GapTopAmong(5, spans), 130);
    // Kept to the gaps the strip shows.
    EXPECT_EQ(InsertionGapAmong(5, spans, 2, 4), 2);
    EXPECT_EQ(InsertionGapAmong(129, spans, 2, 4), 4);
}

}  // namespace
}  // namespace tilerack
