#include "panel/screen_dock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "panel/item_drag.h"
#include "panel/strip_focus.h"

namespace tilerack {
namespace {

constexpr PanelSide kLeft = PanelSide::Left;
constexpr PanelSide kRight = PanelSide::Right;

Screen MakeScreen(Rect bounds, bool primary, const char* device, int dpi = 96) {
    return Screen{bounds, bounds, dpi, primary, device};
}

// The primary 800 x 600 and a second 640 x 480 at its right.
std::vector<Screen> SideBySide() {
    return {MakeScreen({0, 0, 800, 600}, true, "\\\\.\\DISPLAY1"), MakeScreen({800, 0, 640, 480}, false, "\\\\.\\DISPLAY2")};
}

std::string Second(const std::vector<Screen>& screens) { return ScreenChoiceText(screens[1]); }

// Where a hidden panel shows pixels: on its own screen or on another one.
bool HiddenPlaceShowsOnAnyScreen(const std::vector<Screen>& screens, const DockPlace& p, int width) {
    if (p.withdrawWhenHidden) return false;
    const int bottom = p.frameTop + p.clientHeight + 8;
    for (const Screen& s : screens) {
        const Rect& b = s.bounds;
        if (p.hiddenLeft < b.Right() && b.left < p.hiddenLeft + width && p.frameTop < b.Bottom() && b.top < bottom)
            return true;
    }
    return false;
}

// A watch ticking against a planned edge, carrying out its actions on `hidden`.
struct EdgeWatch {
    explicit EdgeWatch(const DockEdge& e) : edge(e) {}
    DockEdge edge;
    bool hidden = true;
    int timeOut = 300;
    bool fullScreen = false;
    PointerWatch watch;

    int TicksUntilShown(Point p, int limit = 20) {
        for (int i = 1; i <= limit; ++i)
            if (watch.Tick(hidden, timeOut, p, edge, 64, kDesignMetrics, [this] { return fullScreen; }) ==
                WatchAction::ShowSequence) {
                hidden = false;
                return i;
            }
        return 0;
    }
};

TEST(ScreenDock, OneScreenKeepsEveryPlaceAndZoneOfToday) {
    const std::vector<Screen> one{MakeScreen({0, 0, 1024, 768}, true, "\\\\.\\DISPLAY1")};
    for (PanelSide side : {kLeft, kRight}) {
        const DockPlace p = PlanDock(one, "", side, 64, kDesignMetrics);
        EXPECT_EQ(p.screen, 0);
        EXPECT_EQ(p.shownLeft, ShownLeft(side, 1024, 64, 0));
        EXPECT_EQ(p.hiddenLeft, HiddenLeft(side, 1024, 64, 0));
        EXPECT_FALSE(p.withdrawWhenHidden);
        EXPECT_EQ(p.frameTop, -4);
        EXPECT_EQ(p.clientHeight, 768 + 4);
        EXPECT_FALSE(p.edge.inner);
        for (int x : {0, 2, 3, 60, 79, 80, 943, 944, 945, 1021, 1022, 1023})
            for (int y : {0, 3, 4, 5, 300, 767}) {
                EXPECT_EQ(InEdgeZone(p.edge, {x, y}), InEdgeZone(side, {x, y}, 1024)) << x << "," << y;
                EXPECT_EQ(InNearZone(p.edge, {x, y}, 64), InNearZone(side, {x, y}, 1024, 64)) << x << "," << y;
            }
    }
    EXPECT_EQ(PlanDock(one, "", kLeft, 64, kDesignMetrics).shownLeft, -4);
    EXPECT_EQ(PlanDock(one, "", kRight, 64, kDesignMetrics).hiddenLeft, 1024 + 3);
}

TEST(ScreenDock, SideBySideHidesBeyondOuterEdgesAndWithdrawsAtInnerOnes) {
    const std::vector<Screen> screens = SideBySide();
    struct Case { std::string choice; PanelSide side; bool inner; int shown; int hidden; };
    const Case cases[] = {
        {"", kLeft, false, -4, -65},                   // the primary's outer edge: as on one screen
        {"", kRight, true, 800 - 64, 0},               // the primary's inner edge
        {Second(screens), kLeft, true, 800, 0},        // the second's inner edge
        {Second(screens), kRight, false, 1440 - 60, 1443},  // the second's outer edge
    };
    for (const Case& c : cases) {
        const DockPlace p = PlanDock(screens, c.choice, c.side, 64, kDesignMetrics);
        SCOPED_TRACE(c.choice + (c.side == kLeft ? " left" : " right"));
        EXPECT_EQ(p.edge.inner, c.inner);
        EXPECT_EQ(p.withdrawWhenHidden, c.inner);
        EXPECT_EQ(p.shownLeft, c.shown);
        if (!c.inner) {
            EXPECT_EQ(p.hiddenLeft, c.hidden);
        }
        EXPECT_FALSE(HiddenPlaceShowsOnAnyScreen(screens, p, 64));
        // At an inner edge the whole frame stays on its screen.
        const Rect own = screens[p.screen].bounds;
        if (c.inner) {
            EXPECT_TRUE(p.shownLeft >= own.left && p.shownLeft + 64 <= own.Right());
        }
    }
    // The second screen is 480 high: top and height are its own.
    const DockPlace second = PlanDock(screens, Second(screens), kRight, 64, kDesignMetrics);
    EXPECT_EQ(second.frameTop, -4);
    EXPECT_EQ(second.clientHeight, 480 + 4);
    EXPECT_EQ(second.dpi, 96);
}

TEST(ScreenDock, PointerZonesAreThoseOfTheOwnScreen) {
    const std::vector<Screen> screens = SideBySide();
    const DockEdge primaryRight = PlanDock(screens, "", kRight, 64, kDesignMetrics).edge;
    EXPECT_TRUE(InEdgeZone(primaryRight, {798, 300}));
    EXPECT_TRUE(InEdgeZone(primaryRight, {799, 300}));
    EXPECT_FALSE(InEdgeZone(primaryRight, {800, 300})) << "the second screen's first column";
    EXPECT_FALSE(InEdgeZone(primaryRight, {1439, 300}));
    EXPECT_FALSE(InNearZone(primaryRight, {801, 300}, 64));
    EXPECT_TRUE(InNearZone(primaryRight, {799, 300}, 64));

    // Its rows too: below the second screen's 480 rows there is no screen,
    // and a pointer on the primary below them is not the second's.
    const DockEdge secondLeft = PlanDock(screens, Second(screens), kLeft, 64, kDesignMetrics).edge;
    EXPECT_TRUE(InEdgeZone(secondLeft, {801, 479}));
    EXPECT_FALSE(InEdgeZone(secondLeft, {799, 300})) << "the primary's last column";
    EXPECT_FALSE(InNearZone(secondLeft, {799, 300}, 64));
    EXPECT_FALSE(InNearZone(secondLeft, {820, 480}, 64));
    EXPECT_TRUE(InNearZone(secondLeft, {820, 479}, 64));

    // The left edge of the primary with a screen left of it: the other
    // screen is in neither zone.
    const std::vector<Screen> leftOf{MakeScreen({0, 0, 800, 600}, true, "A"), MakeScreen({-640, 0, 640, 480}, false, "B")};
    const DockEdge primaryLeft = PlanDock(leftOf, "", kLeft, 64, kDesignMetrics).edge;
    EXPECT_TRUE(primaryLeft.inner);
    EXPECT_FALSE(InEdgeZone(primaryLeft, {-1, 300}));
    EXPECT_FALSE(InNearZone(primaryLeft, {-300, 300}, 64));
    EXPECT_TRUE(InEdgeZone(primaryLeft, {0, 300}));
}

TEST(ScreenDock, AtAnInnerEdgeOnlyARestBringsThePanelIn) {
    const std::vector<Screen> screens = SideBySide();
    EdgeWatch crossing(PlanDock(screens, "", kRight, 64, kDesignMetrics).edge);
    crossing.timeOut = 0;
    crossing.watch.mouseX = 700;
    // Crossing to the second screen and back at a normal speed, a tick at
    // each column of the edge zone on the way.
    for (int x : {760, 798, 805, 900, 799, 720, 799, 830})
        EXPECT_EQ(crossing.watch.Tick(true, 0, {x, 300}, crossing.edge, 64), WatchAction::None) << x;
    // Resting: with TimeOut 0 as with 300, no sooner than the inner edge's rest.
    EXPECT_EQ(crossing.TicksUntilShown({799, 300}), 1 + kInnerEdgeRest / kTimerMouseInterval);
    EdgeWatch longer(crossing.edge);
    longer.timeOut = 700;
    longer.watch.mouseX = 700;
    EXPECT_EQ(longer.TicksUntilShown({798, 300}), 8);

    // An outer edge keeps the rest of TimeOut alone.
    EdgeWatch outer(PlanDock(screens, "", kLeft, 64, kDesignMetrics).edge);
    outer.timeOut = 0;
    EXPECT_EQ(outer.TicksUntilShown({0, 300}), 1);
}

TEST(ScreenDock, AFullScreenProgramInFrontKeepsTheEdgeFromBringingThePanelIn) {
    const std::vector<Screen> screens = SideBySide();
    EXPECT_TRUE(CoversScreen({0, 0, 800, 600}, screens[0]));
    EXPECT_TRUE(CoversScreen({-8, -8, 816, 616}, screens[0]));
    EXPECT_FALSE(CoversScreen({0, 0, 800, 560}, screens[0]));
    EXPECT_FALSE(CoversScreen({0, 0, 800, 600}, screens[1]));
    EXPECT_TRUE(CoversScreen({0, 0, 1440, 600}, screens[1]));

    EdgeWatch watch(PlanDock(screens, "", kLeft, 64, kDesignMetrics).edge);
    watch.fullScreen = true;
    watch.watch.mouseX = 0;
    EXPECT_EQ(watch.TicksUntilShown({0, 300}, 30), 0);
    EXPECT_TRUE(watch.hidden);
    // Once the program leaves the front, the rest counts from the start.
    watch.fullScreen = false;
    EXPECT_EQ(watch.TicksUntilShown({0, 300}), 3);
    // A shown panel still slides out as usual.
    watch.watch.waitTime = 0;
    int ticks = 0;
    while (watch.watch.Tick(false, 300, {400, 300}, watch.edge, 64, kDesignMetrics, [] { return true; }) !=
               WatchAction::HidePanel &&
           ++ticks < 10) {
    }
    EXPECT_EQ(ticks, 2);
}

TEST(ScreenDock, ScreenLeftOfThePrimaryWithNegativeCoordinates) {
    const std::vector<Screen> screens{MakeScreen({0, 0, 800, 600}, true, "A"), MakeScreen({-1280, -200, 1280, 1024}, false, "B")};
    const std::string b = ScreenChoiceText(screens[1]);
    EXPECT_EQ(b, "B,-1280,-200,1280,1024");
    const DockPlace outer = PlanDock(screens, b, kLeft, 64, kDesignMetrics);
    EXPECT_EQ(outer.screen, 1);
    EXPECT_EQ(outer.shownLeft, -1284);
    EXPECT_EQ(outer.hiddenLeft, -1280 - 65);
    EXPECT_FALSE(outer.withdrawWhenHidden);
    EXPECT_EQ(outer.frameTop, -204);
    EXPECT_EQ(outer.clientHeight, 1024 + 4);
    EXPECT_TRUE(InEdgeZone(outer.edge, {-1280, 0}));
    EXPECT_FALSE(InEdgeZone(outer.edge, {-1280, -196}));

    const DockPlace inner = PlanDock(screens, b, kRight, 64, kDesignMetrics);
    EXPECT_EQ(inner.shownLeft, -64);
    EXPECT_TRUE(inner.withdrawWhenHidden);
    EXPECT_TRUE(inner.edge.inner);
    EXPECT_TRUE(InEdgeZone(inner.edge, {-1, 500}));
    EXPECT_FALSE(InEdgeZone(inner.edge, {0, 500}));
}

TEST(ScreenDock, StackedScreensOfDifferentSizesKeepTheFrameOffTheOtherScreen) {
    // A second screen below the primary, wider than it.
    const std::vector<Screen> screens{MakeScreen({0, 0, 800, 600}, true, "A"), MakeScreen({0, 600, 1024, 768}, false, "B")};
    const DockPlace top = PlanDock(screens, "", kLeft, 64, kDesignMetrics);
    EXPECT_EQ(top.frameTop, -4);
    EXPECT_EQ(top.clientHeight, 600 - 4) << "the frame ends at the primary's bottom";
    EXPECT_EQ(top.frameTop + top.clientHeight + 2 * 4, 600);
    EXPECT_EQ(top.hiddenLeft, -65);
    EXPECT_FALSE(top.withdrawWhenHidden) << "left of the primary lies no screen";
    EXPECT_FALSE(top.edge.inner);

    const std::string b = ScreenChoiceText(screens[1]);
    const DockPlace bottom = PlanDock(screens, b, kLeft, 64, kDesignMetrics);
    EXPECT_EQ(bottom.frameTop, 600) << "the frame starts below the primary";
    EXPECT_EQ(bottom.frameTop + bottom.clientHeight + 4, 600 + 768 + 4);
    EXPECT_EQ(bottom.shownLeft, -4);
    EXPECT_EQ(bottom.hiddenLeft, -65);
    EXPECT_FALSE(bottom.withdrawWhenHidden);
    // Where the wider screen reaches past the primary nothing stands above it.
    const DockPlace bottomRight = PlanDock(screens, b, kRight, 64, kDesignMetrics);
    EXPECT_EQ(bottomRight.shownLeft, 1024 - 60);
    EXPECT_EQ(bottomRight.hiddenLeft, 1027);
    EXPECT_EQ(bottomRight.frameTop, 596);
}

TEST(ScreenDock, TheFrameStandsAgainstABarAtEachSide) {
    const Rect bounds{0, 0, 800, 600};
    struct Case { Rect work; PanelSide side; int shown; int frameTop; int frameBottom; bool inner; };
    const Case cases[] = {
        {{0, 0, 800, 560}, kLeft, -4, -4, 560, false},   // a bar at the bottom
        {{0, 0, 800, 560}, kRight, 740, -4, 560, false},
        {{0, 30, 800, 570}, kLeft, -4, 30, 608, false},  // a bar at the top
        {{60, 0, 740, 600}, kLeft, 60, -4, 608, true},   // a bar on the panel's side
        {{60, 0, 740, 600}, kRight, 740, -4, 608, false},
        {{0, 0, 740, 600}, kRight, 740 - 64, -4, 608, true},
        {{0, 0, 740, 600}, kLeft, -4, -4, 608, false},
    };
    for (const Case& c : cases) {
        Screen s = MakeScreen(bounds, true, "A");
        s.work = c.work;
        const DockPlace p = PlanDock({s}, "", c.side, 64, kDesignMetrics);
        SCOPED_TRACE(std::to_string(c.work.left) + "," + std::to_string(c.work.top) + " " +
                     std::to_string(c.work.width) + "x" + std::to_string(c.work.height));
        EXPECT_EQ(p.shownLeft, c.shown);
        EXPECT_EQ(p.frameTop, c.frameTop);
        EXPECT_EQ(p.frameTop + 4 + p.clientHeight + 4, c.frameBottom);
        EXPECT_EQ(p.edge.inner, c.inner);
        // Hidden beyond the screen's edge: behind a bar on its side too.
        EXPECT_EQ(p.hiddenLeft, c.side == kLeft ? -65 : 803);
        EXPECT_FALSE(p.withdrawWhenHidden);
    }
    // The zones keep to the work area's rows and start at the bar.
    Screen s = MakeScreen(bounds, true, "A");
    s.work = Rect{60, 0, 740, 560};
    const DockEdge e = PlanDock({s}, "", kLeft, 64, kDesignMetrics).edge;
    EXPECT_TRUE(InEdgeZone(e, {60, 300}));
    EXPECT_TRUE(InEdgeZone(e, {62, 300}));
    EXPECT_FALSE(InEdgeZone(e, {0, 300})) << "on the bar";
    EXPECT_FALSE(InEdgeZone(e, {61, 560})) << "on the bottom bar";
    EXPECT_TRUE(InNearZone(e, {60 + 64 + 15, 559}, 64));
    EXPECT_FALSE(InNearZone(e, {60 + 64 + 16, 300}, 64));
}

TEST(ScreenDock, AChosenScreenThatIsGoneLeavesThePanelOnThePrimaryUntilItReturns) {
    std::vector<Screen> screens = SideBySide();
    const std::string choice = Second(screens);
    EXPECT_EQ(choice, "\\\\.\\DISPLAY2,800,0,640,480");
    EXPECT_EQ(DockScreen(screens, choice), 1);
    EXPECT_EQ(DockScreen(screens, ""), 0);

    const std::vector<Screen> primaryOnly{screens[0]};
    EXPECT_EQ(FindChosenScreen(primaryOnly, choice), -1);
    EXPECT_EQ(PlanDock(primaryOnly, choice, kRight, 64, kDesignMetrics).screen, 0);
    EXPECT_EQ(PlanDock(primaryOnly, choice, kRight, 64, kDesignMetrics).hiddenLeft, 803);
    EXPECT_EQ(DockScreen(screens, choice), 1) << "back once it returns";

    // Reordered and renamed by the system: found by its place and size;
    // moved: found by its name.
    std::vector<Screen> reordered{screens[1], screens[0]};
    reordered[0].device = "\\\\.\\DISPLAY7";
    EXPECT_EQ(DockScreen(reordered, choice), 0);
    std::vector<Screen> moved = screens;
    moved[1].bounds = moved[1].work = Rect{-640, 0, 640, 480};
    EXPECT_EQ(DockScreen(moved, choice), 1);
    // A bare or damaged value names a device alone.
    EXPECT_EQ(DockScreen(screens, "\\\\.\\DISPLAY2"), 1);
    EXPECT_EQ(DockScreen(screens, "\\\\.\\DISPLAY2,1,x,3,4"), 0);
    EXPECT_EQ(DockScreen({}, choice), -1);
    EXPECT_EQ(PlanDock({}, choice, kLeft, 64, kDesignMetrics).screen, -1);
}

TEST(ScreenDock, EachScreenGivesItsOwnScale) {
    std::vector<Screen> screens = SideBySide();
    screens[1].dpi = 144;
    EXPECT_EQ(PlanDock(screens, "", kRight, 64, kDesignMetrics).dpi, 96);
    const PanelMetrics large = PanelMetrics::For(DpiScale::Of(144), 6);
    const DockPlace p = PlanDock(screens, Second(screens), kRight, 96, large);
    EXPECT_EQ(p.dpi, 144);
    EXPECT_EQ(p.shownLeft, 1440 - 96 + 6);
    EXPECT_EQ(p.hiddenLeft, 1440 + large.hiddenGapRight);
    EXPECT_EQ(p.frameTop, -6);
    EXPECT_EQ(p.clientHeight, 480 + 6);
    // Hidden beside the primary it never stands on the primary: no other scale.
    EXPECT_TRUE(PlanDock(screens, Second(screens), kLeft, 96, large).withdrawWhenHidden);
}

TEST(ScreenDock, ScreenMenuEntriesNameSizeAndPrimary) {
    const std::vector<Screen> screens = SideBySide();
    EXPECT_EQ(ScreenEntryText(1, screens[0]), L"1: 800 \u00D7 600, основной");
    EXPECT_EQ(ScreenEntryText(2, screens[1]), L"2: 640 \u00D7 480");
}

// A screen whose work area is the whole screen, with an auto-hide bar.
TEST(ScreenDockHiddenBars, ABarAtThePanelsEdgeMakesAnInnerEdgeClearOfItsStrip) {
    const std::vector<Screen> one{MakeScreen({0, 0, 1024, 768}, true, "\\\\.\\DISPLAY1")};
    struct Case { PanelSide side; AutoHideEdges bars; int dpi; int shown; bool inner; int edge; };
    const Case cases[] = {
        {kLeft, {.left = true}, 96, 2, true, 2},
        {kLeft, {.left = true}, 144, 3, true, 3},
        {kRight, {.right = true}, 96, 1024 - 2 - 64, true, 1022},
        // A bar at the other side leaves the panel's edge an outer one.
        {kRight, {.left = true}, 96, 1024 - 64 + 4, false, 1024},
        {kLeft, {.right = true}, 96, -4, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<Screen> screens = one;
        screens[0].dpi = c.dpi;
        const DockPlace p = PlanDock(screens, "", c.side, 64, kDesignMetrics, c.bars);
        EXPECT_EQ(p.shownLeft, c.shown) << c.dpi;
        EXPECT_EQ(p.edge.inner, c.inner);
        EXPECT_EQ(p.edge.edge, c.edge);
        // The pointer on the bar's strip calls the bar, not the panel.
        EXPECT_EQ(InEdgeZone(p.edge, {c.side == kLeft ? 0 : 1023, 300}), !c.inner);
    }
    // Only a rest brings the panel in past the strip, whatever TimeOut says.
    EdgeWatch watch(PlanDock(one, "", kLeft, 64, kDesignMetrics, {.left = true}).edge);
    watch.timeOut = 0;
    EXPECT_EQ(watch.TicksUntilShown({2, 300}), 4);
}

TEST(ScreenDockHiddenBars, ABarAtTheBottomOrTopKeepsTheFrameOffItsStrip) {
    const std::vector<Screen> one{MakeScreen({0, 0, 1024, 768}, true, "\\\\.\\DISPLAY1")};
    const DockPlace bottom = PlanDock(one, "", kLeft, 64, kDesignMetrics, {.bottom = true});
    EXPECT_EQ(bottom.shownLeft, -4);
    EXPECT_FALSE(bottom.edge.inner);
    EXPECT_EQ(bottom.frameTop, -4);
    EXPECT_EQ(bottom.frameTop + bottom.clientHeight + 2 * 4, 766);  // the frame's bottom
    EXPECT_FALSE(InEdgeZone(bottom.edge, {0, 767}));
    const DockPlace top = PlanDock(one, "", kRight, 64, kDesignMetrics, {.top = true});
    EXPECT_EQ(top.frameTop, 2);
    EXPECT_EQ(top.frameTop + 4 + top.clientHeight, 768 + 4);  // the client's bottom, past the screen's
}

TEST(ScreenDockFullScreen, JudgedAsTheShellJudgesIt) {
    const Screen screen = MakeScreen({0, 0, 1024, 768}, true, "\\\\.\\DISPLAY1");
    const Screen other = MakeScreen({1024, 0, 1280, 1024}, false, "\\\\.\\DISPLAY2");
    using S = UserNotificationState;
    const ForegroundWindow none;
    const ForegroundWindow covering{true, {0, 0, 1024, 768}, false, false};
    // A maximised window spills its frame past a screen whose work area is all of it.
    const ForegroundWindow maximised{true, {-8, -8, 1040, 784}, true, false};
    const ForegroundWindow cloaked{true, {0, 0, 1024, 768}, false, true};
    const ForegroundWindow onOther{true, {1024, 0, 1280, 1024}, false, false};
    const ForegroundWindow smaller{true, {0, 0, 1024, 700}, false, false};
    struct Case { S state; ForegroundWindow f; const Screen* s; bool holds; };
    const Case cases[] = {
        {S::Accepting, none, &screen, false},
        {S::Accepting, covering, &screen, true},
        {S::Accepting, maximised, &screen, false},
        {S::Accepting, cloaked, &screen, false},
        {S::Accepting, smaller, &screen, false},
        {S::Accepting, onOther, &screen, false},
        {S::Accepting, onOther, &other, true},
        {S::Presentation, none, &screen, true},
        {S::Presentation, smaller, &other, true},
        {S::Busy, none, &screen, true},
        {S::Busy, maximised, &screen, true},
        {S::Busy, onOther, &screen, false},
        {S::D3DFullScreen, smaller, &screen, true},
        {S::D3DFullScreen, onOther, &other, true},
        {S::D3DFullScreen, onOther, &screen, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(FullScreenInFront(cases[i].state, cases[i].f, *cases[i].s), cases[i].holds) << "case " << i;
}

// A drag scrolls the strip only near the lowest row the pointer can reach.
TEST(ScreenDockStripEnd, TheLowestRowIsTheOwnScreensBelowThePrimaryAndOnAPortraitScreen) {
    const std::vector<Screen> below{MakeScreen({0, 0, 800, 600}, true, "\\\\.\\DISPLAY1"),
                                    MakeScreen({0, 600, 1024, 768}, false, "\\\\.\\DISPLAY2")};
    const std::vector<Screen> portrait{MakeScreen({0, 0, 1920, 1080}, true, "\\\\.\\DISPLAY1"),
                                       MakeScreen({1920, 0, 1080, 1920}, false, "\\\\.\\DISPLAY2")};
    struct Case { const std::vector<Screen>* screens; PanelSide side; int visibleBottom; };
    const Case cases[] = {{&below, kLeft, 1368}, {&portrait, kRight, 1920}, {&portrait, kLeft, 1920}};
    for (const Case& c : cases) {
        const DockPlace p = PlanDock(*c.screens, Second(*c.screens), c.side, 64, kDesignMetrics);
        EXPECT_EQ(p.visibleBottom, c.visibleBottom);
        // A pointer at the middle of a strip of 60 items, in client rows.
        const int clientTop = p.frameTop + 4;
        const int stripTop = 12, fitting = FittingItemCount(p.clientHeight + 8);
        const int stripBottom = std::min(stripTop + fitting * 34, p.visibleBottom - clientTop);
        const int middle = (stripTop + stripBottom) / 2;
        EXPECT_EQ(AutoScrolledFirst(middle, 0, 60, fitting, stripTop, stripBottom, 17), 0);
        EXPECT_GT(AutoScrolledFirst(stripBottom - 1, 0, 60, fitting, stripTop, stripBottom, 17), 0);
    }
}

}  // namespace
}  // namespace tilerack
