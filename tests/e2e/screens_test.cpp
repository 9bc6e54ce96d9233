// The panel on two screens side by side, as run-screens-e2e.sh sets them
// up: the primary 800 x 600, a second screen 640 x 480 at its right, and a
// bar 40 pixels high with a strut at the bottom of the primary. Hidden at
// the edge between the screens it shows nothing on either; the pointer on
// the other screen or crossing over leaves it out, a rest at the edge brings
// it in; the screen menu moves it and the choice is kept; its frame stays
// above the bar; a full-screen window keeps the edge from bringing it in
// while the hot key still does; a change of scale while it is hidden neither
// shows it nor sets off another.
#include <cstdlib>

#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "platform/window_messages.h"

namespace e2e {
namespace {

constexpr RECT kPrimary{0, 0, 800, 600};
constexpr RECT kSecond{800, 0, 1440, 480};
constexpr int kBarTop = 560;
constexpr COLORREF kRootColour = RGB(0x3a, 0x6e, 0xa5);  // the private display's desktop

// The frame's left at the shown place of each edge of each screen, for the
// default width 64 and a border of 4.
constexpr int kPrimaryInnerLeft = 800 - 64;        // against the second screen
constexpr int kSecondOuterLeft = 1440 - 64 + 4;    // past the second's right edge
constexpr int kSecondOuterHidden = 1440 + 3;

class Screens : public PanelTest {
protected:
    void SetUp() override {
        if (EnvironmentValue(L"E2E_SCREENS").empty())
            GTEST_SKIP() << "runs in the two-screen pass (tests/e2e/run-screens-e2e.sh)";
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "Wine does not show the two screens";
        PanelTest::SetUp();
        MovePointer(400, 300);
    }

    // Starts the panel at `side` with `settings` (none: the file as it is),
    // the pointer resting at `restAt`; its window once it stands shown with
    // its left at `left`, or nullptr with a failure recorded.
    HWND Start(Side side, const std::vector<std::string>& settings, int left, POINT restAt) {
        return StartPanel({.side = side, .settings = settings, .pointer = restAt, .shownLeft = left});
    }
    // The panel on the primary's right edge, beside the second screen.
    HWND StartAtTheInnerEdge(int timeOut = 300, std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {SideSetting(Side::Right), "TimeOut=" + std::to_string(timeOut)});
        return Start(Side::Right, extra, kPrimaryInnerLeft, POINT{kPrimaryInnerLeft + 30, 300});
    }
    // Hidden at an inner edge the panel is not shown at all.
    static bool WaitUntilWithdrawn(HWND panel) {
        return WaitUntil(
            [&] {
                const auto x = XWindowPlaceOf(panel);
                return !IsWindowVisible(panel) && x && !x->mapped;
            },
            5s);
    }
    static bool WaitUntilShownAt(HWND panel, int left, std::chrono::milliseconds timeout = 5s) {
        return WaitUntil([&] { return IsWindowVisible(panel) && PanelLeft(panel) == left; }, timeout) &&
               ReachesLeft(panel, left);
    }
    // Both screens, as the desktop shows them.
    static void SaveScreensPng(const wchar_t* step) {
        SavePng(CurrentTestName() + L"." + step, CaptureScreen(RECT{0, 0, kSecond.right, kPrimary.bottom}));
    }
    // Pixels of the second screen that are not the bare desktop.
    static int PixelsOnTheSecondScreen() {
        const RECT inCapture{0, 0, kSecond.right - kSecond.left, kSecond.bottom - kSecond.top};
        return CountPixels(CaptureScreen(kSecond), inCapture, [](COLORREF c) { return c != kRootColour; });
    }
    // Opens the menu from the tray icon and chooses entry `entry` (from 0)
    // of its screen menu, the entry above "Выход".
    bool ChooseScreen(int entry) {
        HWND menu = OpenTrayMenu(*panel_, window_);
        if (!menu) return false;
        PostKeyToMenu(menu, VK_END);
        PostKeyToMenu(menu, VK_UP);
        PostKeyToMenu(menu, VK_RIGHT);
        for (int i = 0; i < entry; ++i) PostKeyToMenu(menu, VK_DOWN);
        PostKeyToMenu(menu, VK_RETURN);
        if (WaitUntil([&] { return FindPopupMenu(panel_->Pid()) == nullptr; }, 5s)) return true;
        ADD_FAILURE() << "the menu stayed open";
        return false;
    }
};

TEST_F(Screens, HiddenAtTheEdgeBetweenTheScreensItShowsNothingAndItsFrameStaysAboveTheBar) {
    ASSERT_NE(StartAtTheInnerEdge(), nullptr);
    // Shown: its whole frame on the primary, down to the bar and no further.
    const RECT frame = WindowRect(window_);
    EXPECT_EQ(frame.right, kPrimary.right) << "the frame reaches onto the second screen";
    EXPECT_EQ(frame.top, -4);
    EXPECT_EQ(frame.bottom, kBarTop) << "the frame does not end at the bar";
    EXPECT_TRUE(WaitUntil([&] { return PixelsOnTheSecondScreen() == 0; }, 3s));
    // The menu button stands above the bar, 16 pixels above the client's bottom.
    const RECT menu = ClientRectOnScreen(window_, MenuButtonRect(window_, Side::Right));
    EXPECT_LE(menu.bottom, kBarTop - 16 + 1);
    SaveScreensPng(L"shown");

    MovePointer(400, 300);
    ASSERT_TRUE(WaitUntilWithdrawn(window_)) << "not hidden at " << PanelLeft(window_);
    EXPECT_EQ(PixelsOnTheSecondScreen(), 0) << "the hidden panel shows on the second screen";
    // Nor on the primary: its place there shows the bare desktop.
    const RECT place{kPrimaryInnerLeft, 0, kPrimary.right, kBarTop};
    EXPECT_EQ(CountPixels(CaptureScreen(place), RECT{0, 0, 64, kBarTop}, [](COLORREF c) { return c != kRootColour; }), 0);
    SaveScreensPng(L"hidden");
}

TEST_F(Screens, PointerOnTheOtherScreenOrCrossingLeavesItOutARestAtTheEdgeBringsItIn) {
    // No delay at all: at an edge the pointer passes over it still takes a rest.
    ASSERT_NE(StartAtTheInnerEdge(0), nullptr);
    MovePointer(400, 300);
    ASSERT_TRUE(WaitUntilWithdrawn(window_));

    // Anywhere on the second screen, its first column included.
    for (POINT p : {POINT{1100, 300}, POINT{800, 200}}) {
        MovePointer(p.x, p.y);
        EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(window_) != FALSE; }, 1500ms))
            << "the pointer at " << p.x << "," << p.y << " brought it in";
    }
    // Crossing over and back, each way through the edge zone's column 799
    // with a pause there of more than a tick of the pointer watch, less
    // than the rest an edge between screens takes.
    // Without a delay a panel brought in would slide out again at the next
    // tick: it is watched all the way.
    bool cameIn = false;
    const auto stay = [&](int x, int ms) {
        MovePointer(x, 300);
        for (int waited = 0; waited < ms; waited += 10) {
            cameIn = cameIn || IsWindowVisible(window_);
            Sleep(10);
        }
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (int x = 700; x <= 900; x += 33) stay(x, x == 799 ? 150 : 30);
        for (int x = 898; x >= 700; x -= 33) stay(x, x == 799 ? 150 : 30);
    }
    stay(1100, 1000);
    EXPECT_FALSE(cameIn) << "crossing brought it in";

    MovePointer(kPrimary.right - 1, 300);
    EXPECT_TRUE(WaitUntilShownAt(window_, kPrimaryInnerLeft)) << "a rest at the edge did not bring it in";
    EXPECT_TRUE(WaitForCloseCross(window_, Side::Right)) << "no strip drawn";
    SaveScreensPng(L"shown");
}

TEST_F(Screens, TheScreenMenuMovesThePanelAndKeepsTheChoice) {
    ASSERT_NE(StartAtTheInnerEdge(), nullptr);
    MovePointer(1000, 300);  // over the second screen, off the panel
    ASSERT_TRUE(ChooseScreen(1));
    MovePointer(kSecondOuterLeft + 30, 300);
    ASSERT_TRUE(WaitUntilShownAt(window_, kSecondOuterLeft)) << "not on the second screen: " << PanelLeft(window_);
    EXPECT_EQ(PanelTop(window_), -4);
    EXPECT_EQ(ClientHeightOf(window_), 480 + 4) << "not the second screen's height";
    EXPECT_TRUE(WaitForCloseCross(window_, Side::Right));
    SaveScreensPng(L"second");
    // Its right edge there is an outer one: hidden just beyond it.
    MovePointer(400, 300);
    EXPECT_TRUE(ReachesLeft(window_, kSecondOuterHidden));

    ASSERT_TRUE(panel_->Close());
    const std::wstring stored = SavedSetting(L"Monitor");
    EXPECT_NE(stored.find(L",800,0,640,480"), std::wstring::npos) << Narrow(stored);

    // The next start stands there again; back to the primary, the key goes.
    ASSERT_NE(Start(Side::Right, {}, kSecondOuterLeft, POINT{kSecondOuterLeft + 30, 300}), nullptr);
    MovePointer(1000, 300);
    ASSERT_TRUE(ChooseScreen(0));
    MovePointer(kPrimaryInnerLeft + 30, 300);
    EXPECT_TRUE(WaitUntilShownAt(window_, kPrimaryInnerLeft));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Monitor"), L"<missing>");
    EXPECT_EQ(SavedSetting(L"Side"), L"1");
}

TEST_F(Screens, AChoiceNamingNoScreenDocksOnThePrimaryAndIsKept) {
    const std::string gone = "\\\\.\\DISPLAY9,3000,0,1024,768";
    ASSERT_NE(StartAtTheInnerEdge(300, {"Monitor=" + gone}), nullptr);
    EXPECT_EQ(ClientHeightOf(window_), kBarTop - 4);
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Monitor"), L"\\\\.\\DISPLAY9,3000,0,1024,768");
}

TEST_F(Screens, AFullScreenWindowKeepsTheEdgeFromBringingItInTheHotKeyStillDoes) {
    ASSERT_NE(Start(Side::Left, {SideSetting(Side::Left), "TimeOut=300"}, -4, POINT{30, 300}), nullptr);
    MovePointer(400, 300);
    ASSERT_TRUE(ReachesLeft(window_, -65));
    // Without the full-screen window a rest at the edge brings it in.
    MovePointer(0, 300);
    ASSERT_TRUE(ReachesLeft(window_, -4));
    MovePointer(400, 300);
    ASSERT_TRUE(ReachesLeft(window_, -65));

    // A window without a caption over the whole primary, as a game or a video in full screen.
    FocusHolder fullScreen(OwnWindowLook{L"ScreensTestFullScreen", L"Во весь экран", WS_POPUP | WS_VISIBLE,
                                         kPrimary, BLACK_BRUSH});
    ASSERT_TRUE(fullScreen.TakeFocus());
    MovePointer(0, 300);
    EXPECT_TRUE(StaysAt(window_, -65, 2000ms))
        << "the edge brought the panel in over the full-screen window";
    SaveScreensPng(L"edge");

    ASSERT_EQ(PressXKeys({kHotKeyChord}), "ended");
    EXPECT_TRUE(ReachesLeft(window_, -4, 10s)) << "the hot key did not bring the panel in";
    SaveScreensPng(L"hot-key");
}

// A maximised window without a caption (a browser drawing its own title
// bar) covers the whole of a screen without a bar, yet it is no full-screen
// program: a rest at the edge still brings the panel in over it.
TEST_F(Screens, AMaximisedWindowWithoutACaptionOnAScreenWithoutABarLeavesTheEdgeBringingItIn) {
    ASSERT_NE(Start(Side::Right, {SideSetting(Side::Right), "TimeOut=300", "Monitor=second,800,0,640,480"},
                    kSecondOuterLeft, POINT{kSecondOuterLeft + 30, 300}),
              nullptr);
    MovePointer(1000, 300);
    ASSERT_TRUE(ReachesLeft(window_, kSecondOuterHidden));

    FocusHolder browser(OwnWindowLook{L"ScreensTestMaximised", L"Обозреватель", WS_POPUP | WS_VISIBLE,
                                      RECT{900, 100, 1300, 400}, BLACK_BRUSH});
    ASSERT_NE(browser.Window(), nullptr);
    ShowWindow(browser.Window(), SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const RECT r = WindowRect(browser.Window());
            return IsZoomed(browser.Window()) && r.left <= kSecond.left && r.top <= kSecond.top &&
                   r.right >= kSecond.right && r.bottom >= kSecond.bottom;
        },
        5s))
        << "the window did not come to cover the second screen maximised";
    ASSERT_TRUE(browser.TakeFocus());
    MovePointer(kSecond.right - 1, 300);
    EXPECT_TRUE(ReachesLeft(window_, kSecondOuterLeft, 5s)) << "the maximised window kept the panel out";
    SaveScreensPng(L"shown");
}

TEST_F(Screens, AScaleChangeWhileHiddenNeitherShowsThePanelNorSetsOffAnother) {
    ASSERT_NE(StartAtTheInnerEdge(), nullptr);
    MovePointer(400, 300);
    ASSERT_TRUE(WaitUntilWithdrawn(window_));

    const auto census = [&] {
        return static_cast<DWORD>(SendMessageW(window_, tilerack::win::DpiNoticeCensusMessage(), 0, 0));
    };
    for (int dpi : {144, 96}) {
        RECT suggested{0, 0, 100, 100};
        SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(window_) != FALSE; }, 1000ms))
            << "the change to " << dpi << " DPI showed the hidden panel";
        EXPECT_EQ(PixelsOnTheSecondScreen(), 0);
    }
    EXPECT_EQ(LOWORD(census()), 2) << "notices beyond the two sent";
    EXPECT_EQ(HIWORD(census()), 1) << "a notice came inside the handling of another";
    EXPECT_EQ(PanelWidth(window_), 64);

    MovePointer(kPrimary.right - 1, 300);
    EXPECT_TRUE(WaitUntilShownAt(window_, kPrimaryInnerLeft));
}

}  // namespace
}  // namespace e2e
