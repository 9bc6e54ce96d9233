#include "panel/pointer_watch.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>
#include <vector>

namespace tilerack {
namespace {

// Plays the window's part around the watch: ticks with a pointer position and
// carries out the action on the Hidden flag.
struct Panel {
    PanelSide side = PanelSide::Left;
    bool hidden = false;
    int timeOut = 300;
    int screenWidth = 1024;
    int width = 64;
    PointerWatch watch;

    WatchAction Tick(Point p) {
        const WatchAction action = watch.Tick(side, hidden, timeOut, p, screenWidth, width);
        if (action == WatchAction::HidePanel) hidden = true;
        if (action == WatchAction::ShowSequence) hidden = false;
        return action;
    }
    std::vector<WatchAction> Ticks(std::initializer_list<Point> points) {
        std::vector<WatchAction> actions;
        for (Point p : points) actions.push_back(Tick(p));
        return actions;
    }
    std::vector<WatchAction> Ticks(Point p, int count) {
        std::vector<WatchAction> actions;
        for (int i = 0; i < count; ++i) actions.push_back(Tick(p));
        return actions;
    }
};

constexpr WatchAction kNone = WatchAction::None;
constexpr WatchAction kShow = WatchAction::ShowSequence;
constexpr WatchAction kHide = WatchAction::HidePanel;
using Actions = std::vector<WatchAction>;

Panel HiddenPanel(int pointerX) {
    Panel panel;
    panel.hidden = true;
    panel.watch.mouseX = pointerX;
    return panel;
}

TEST(PointerWatch, RestingAtTheEdgeSlidesInOnTheFourthTick) {
    Panel panel = HiddenPanel(500);
    EXPECT_EQ(panel.Ticks({0, 400}, 4), (Actions{kNone, kNone, kNone, kShow}));
    EXPECT_FALSE(panel.hidden);
}

TEST(PointerWatch, OnlyHorizontalMovesRestartTheDwell) {
    Panel panel = HiddenPanel(500);
    EXPECT_EQ(panel.Ticks({{0, 100}, {0, 300}, {0, 600}, {0, 50}}), (Actions{kNone, kNone, kNone, kShow}));

    panel = HiddenPanel(500);
    EXPECT_EQ(panel.Ticks({{0, 100}, {1, 100}, {0, 100}, {1, 100}, {2, 100}, {1, 100}}), Actions(6, kNone));
    EXPECT_EQ(panel.watch.waitTime, 0);
    EXPECT_EQ(panel.Ticks({{1, 100}, {1, 100}, {1, 100}}), (Actions{kNone, kNone, kShow}));
}

TEST(PointerWatch, ZeroOrNegativeTimeOutActsOnTheFirstTick) {
    for (int timeOut : {0, -100}) {
        SCOPED_TRACE(timeOut);
        Panel panel = HiddenPanel(500);
        panel.timeOut = timeOut;
        EXPECT_EQ(panel.Tick({0, 400}), kShow);  // a new x, yet it shows
        EXPECT_EQ(panel.Tick({30, 400}), kNone);
        EXPECT_EQ(panel.Tick({300, 400}), kHide);
    }
}

TEST(PointerWatch, TopRowsNeverSlideIn) {
    Panel panel = HiddenPanel(0);
    for (int y : {0, 4}) EXPECT_EQ(panel.Ticks({0, y}, 20), Actions(20, kNone));
    EXPECT_EQ(panel.watch.waitTime, 0);
    EXPECT_TRUE(panel.hidden);
}

TEST(PointerWatch, TopCornerTriangleCountsAsAway) {
    Panel panel;
    EXPECT_EQ(panel.Ticks({2, 2}, 3), (Actions{kNone, kNone, kHide}));

    panel = Panel{};
    EXPECT_EQ(panel.Ticks({{0, 5}, {3, 2}, {40, 0}, {2, 3}}), Actions(4, kNone));
    EXPECT_EQ(panel.watch.waitTime, 0);
}

TEST(PointerWatch, HiddenInTheCornerThenJustBelowShowsAtOnce) {
    Panel panel;
    EXPECT_EQ(panel.Ticks({0, 3}, 3), (Actions{kNone, kNone, kHide}));
    EXPECT_EQ(panel.Tick({0, 6}), kShow);  // WaitTime still holds TimeOut
}

TEST(PointerWatch, LeftPanelStaysShownUpToItsWidthPlus15) {
    Panel panel;
    for (int y : {0, 300, 2000}) EXPECT_EQ(panel.Ticks({79, y}, 10), Actions(10, kNone));
    EXPECT_EQ(panel.Ticks({80, 300}, 3), (Actions{kNone, kNone, kHide}));
}

TEST(PointerWatch, RightSidePlacesAndZones) {
    EXPECT_EQ(ShownLeft(PanelSide::Right, 800, 64, 0), 740);
    EXPECT_EQ(HiddenLeft(PanelSide::Right, 800, 64, 0), 803);
    EXPECT_EQ(ShownLeft(PanelSide::Left, 800, 64, 0), -4);
    EXPECT_EQ(HiddenLeft(PanelSide::Left, 800, 64, 0), -65);

    // {side, x, y, in the zone}
    for (auto [side, x, y, in] : {std::tuple{1, 798, 5, true}, {1, 799, 500, true}, {1, 797, 500, false},
                                  {1, 799, 4, false}, {0, 2, 5, true}, {0, 3, 5, false}})
        EXPECT_EQ(InEdgeZone(static_cast<PanelSide>(side), {x, y}, 800), in) << "edge zone, side " << side << " at " << x << "," << y;
    // (800 - 797) + 2 = 5 is below the corner triangle; 798 is in it.
    for (auto [x, y, in] : {std::tuple{721, 300, true}, {720, 300, false}, {797, 2, true}, {798, 2, false}})
        EXPECT_EQ(InNearZone(PanelSide::Right, {x, y}, 800, 64), in) << "near zone at " << x << "," << y;
}

TEST(PointerWatch, RightSideSlidesInAndOut) {
    Panel panel = HiddenPanel(100);
    panel.side = PanelSide::Right;
    panel.screenWidth = 800;
    EXPECT_EQ(panel.Ticks({799, 300}, 4), (Actions{kNone, kNone, kNone, kShow}));
    EXPECT_EQ(panel.Ticks({721, 300}, 5), Actions(5, kNone));
    EXPECT_EQ(panel.Ticks({720, 300}, 3), (Actions{kNone, kNone, kHide}));
}

TEST(PointerWatch, OtherSidesOnlyFollowThePointer) {
    for (bool hidden : {false, true}) {
        Panel panel;
        panel.side = static_cast<PanelSide>(2);  // no edge: only read from a damaged setting
        panel.hidden = hidden;
        panel.timeOut = 0;
        panel.watch.waitTime = 700;
        EXPECT_EQ(panel.Ticks({{0, 300}, {500, 2}, {0, 300}, {1000, 1000}}), Actions(4, kNone));
        EXPECT_EQ(panel.watch.waitTime, 700);
        EXPECT_EQ(panel.watch.mouseX, 1000);
    }
    EXPECT_EQ(ShownLeft(static_cast<PanelSide>(2), 800, 64, 123), 123);
    EXPECT_EQ(HiddenLeft(static_cast<PanelSide>(255), 800, 64, -7), -7);
}

TEST(PointerWatch, HideByButtonRestartsTheDwellFromThePointer) {
    Panel panel;
    panel.Ticks({40, 300}, 2);
    panel.hidden = true;  // HidePanel, then StartHideWatch
    panel.watch.Restart(1);
    EXPECT_EQ(panel.watch.waitTime, 0);
    EXPECT_EQ(panel.Ticks({1, 300}, 3), (Actions{kNone, kNone, kShow}));
}

TEST(PointerWatch, WaitTimeIsNotClearedBySlidingAndSaturates) {
    Panel panel = HiddenPanel(0);
    panel.Ticks({0, 300}, 3);
    EXPECT_EQ(panel.watch.waitTime, 300);
    panel.timeOut = 2147483647;
    panel.hidden = false;
    panel.watch.waitTime = 2147483600;
    EXPECT_EQ(panel.Tick({500, 300}), kHide);
    EXPECT_EQ(panel.watch.waitTime, 2147483647);
}

TEST(PointerWatch, StripButtonsAppearNearTheirCornerWithinMarginsSpanningTheirWidth) {
    // Left side: hide button at the client's top left, menu at the bottom
    // right; the right side the other way round.
    const Rect hide[2] = {{0, 0, 45, 11}, {755, 0, 45, 11}}, menu[2] = {{32, 745, 24, 11}, {744, 745, 24, 11}};
    // {side, x, y, hide shown, menu shown}
    for (auto [side, x, y, hideShown, menuShown] :
         {std::tuple{0, 68, 31, true, false}, {0, 69, 31, false, false}, {0, 10, 32, false, false},
          {0, 79, 714, false, true}, {0, 80, 714, false, false}, {0, 10, 713, false, false},
          {1, 687, 0, true, false}, {1, 686, 0, false, false}, {1, 790, 32, false, false},
          {1, 697, 714, false, true}, {1, 696, 714, false, false}, {1, 790, 713, false, false}}) {
        const StripReveal reveal = RevealStripButtons(static_cast<PanelSide>(side), {x, y}, hide[side], menu[side]);
        EXPECT_EQ(reveal.hideVisible, hideShown) << "side " << side << " at " << x << "," << y;
        EXPECT_EQ(reveal.menuVisible, menuShown) << "side " << side << " at " << x << "," << y;
    }
    EXPECT_TRUE(RevealStripButtons(PanelSide::Left, {10, 713}, hide[0], menu[0]).changes);
}

TEST(PointerWatch, OtherSidesLeaveStripButtonsAlone) {
    const Rect r{0, 0, 45, 11};
    EXPECT_FALSE(RevealStripButtons(static_cast<PanelSide>(3), {0, 0}, r, r).changes);
}

}  // namespace
}  // namespace tilerack
