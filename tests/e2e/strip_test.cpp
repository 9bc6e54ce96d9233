// What the strip shows: the translucent background blended from the screen
// under the panel, the item buttons with their pictures and captions, and
// the brightened picture of the button under the pointer.
#include <memory>
#include <optional>
#include <string>

#include "e2e_harness.h"

namespace e2e {
namespace {

// ---- Background -------------------------------------------------------------------

// The desktop colour where nothing but the bare desktop shows, or nothing
// when it is not one colour there.
std::optional<COLORREF> BareDesktopColour() {
    const int w = ScreenWidth(), h = ScreenHeight();
    const POINT samples[] = {{20, 400}, {2, 150}, {w - 20, 400}, {w - 2, 650}, {w / 2, h / 2}};
    const COLORREF first = ScreenPixel(samples[0].x, samples[0].y);
    for (const POINT& p : samples)
        if (ScreenPixel(p.x, p.y) != first) return std::nullopt;
    return first;
}

enum class Under { BareDesktop, UniformWindow, CheckeredWindow };

struct BackgroundCase {
    const char* name;
    Side side;
    int opacity;
    COLORREF colour;
    Under under;
};

class Background : public PanelTest, public ::testing::WithParamInterface<BackgroundCase> {};

TEST_P(Background, IsTheScreenUnderThePanelBlendedWithItsColour) {
    const BackgroundCase& c = GetParam();
    PaintedScreen::Pattern pattern;
    std::unique_ptr<PaintedScreen> screen;
    if (c.under == Under::BareDesktop) {
        const auto desktop = BareDesktopColour();
        if (!desktop) GTEST_SKIP() << "the bare desktop is not one colour";
        pattern = [colour = *desktop](int, int) { return colour; };
    } else {
        pattern = c.under == Under::CheckeredWindow ? PaintedScreen::Pattern(Checkered)
                                                    : [](int, int) { return RGB(0, 128, 255); };
        screen = std::make_unique<PaintedScreen>(pattern);
        ASSERT_TRUE(screen->WaitUntilShown()) << "the test's screen did not show";
    }
    ASSERT_NE(StartPanel({.side = c.side,
                          .settings = {SideSetting(c.side), "Opacity=" + std::to_string(c.opacity),
                                       "Color=" + std::to_string(c.colour)}}),
              nullptr);
    ExpectBlendedBackground(window_, pattern, c.colour, c.opacity, "first show");
    SaveScreenshotPng(CurrentTestName());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Background,
    ::testing::Values(
        BackgroundCase{"DesktopOpacity0", Side::Left, 0, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopOpacity50", Side::Left, 50, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopOpacity100", Side::Left, 100, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopRightOpacity37OtherColour", Side::Right, 37, 0x00204080, Under::BareDesktop},
        BackgroundCase{"WindowOpacity50", Side::Left, 50, kPanelDefaultColour, Under::UniformWindow},
        BackgroundCase{"WindowRightOpacity37OtherColourCheckered", Side::Right, 37, 0x00204080,
                       Under::CheckeredWindow}),
    [](const auto& info) { return std::string(info.param.name); });

using BackgroundCapture = PanelTest;

TEST_F(BackgroundCapture, IsRetakenWhenThePointerBringsThePanelInButNotByTheTray) {
    const auto desktop = BareDesktopColour();
    if (!desktop) GTEST_SKIP() << "the bare desktop is not one colour";
    const auto bare = [colour = *desktop](int, int) { return colour; };
    const auto yellow = [](int, int) { return RGB(255, 255, 0); };
    PaintedScreen screen(yellow, /*parked=*/true);
    HWND window = StartPanel({.settings = {"Opacity=50", "TimeOut=300"}});
    ASSERT_NE(window, nullptr);
    ExpectBlendedBackground(window, bare, kPanelDefaultColour, 50, "first show");
    const POINT probe = ClientToScreenPoint(window, ClientWidthOf(window) / 2, 400);
    const COLORREF firstCapture = ScreenPixel(probe.x, probe.y);

    MovePointerAway();
    ASSERT_TRUE(ReachesHidden(window, Side::Left));
    screen.Unpark();
    ASSERT_TRUE(screen.WaitUntilShown());

    MovePointer(0, 300);
    ASSERT_TRUE(ReachesLeft(window, -4)) << "no slide-in at the edge";
    WaitUntil([&] { return ScreenPixel(probe.x, probe.y) != firstCapture; }, 3s);
    const COLORREF edgeCapture = ScreenPixel(probe.x, probe.y);
    EXPECT_NE(Hex(edgeCapture), Hex(firstCapture)) << "the slide-in from the edge took no new capture";
    ExpectBlendedBackground(window, yellow, kPanelDefaultColour, 50, "slide-in from the edge");
    SaveScreenshotPng(CurrentTestName() + L".edge");

    // The tray brings the panel in without a new capture: it keeps showing
    // what it captured at the edge, not the bare desktop now under it.
    MovePointerAway();
    ASSERT_TRUE(ReachesHidden(window, Side::Left));
    screen.Park();
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(20, 400) == *desktop; }, 3s))
        << "the bare desktop did not come back: " << Hex(ScreenPixel(20, 400));
    ASSERT_TRUE(BringIn(window)) << "no slide-in by the tray";
    WaitUntil([&] { return ScreenPixel(probe.x, probe.y) == edgeCapture; }, 3s);
    EXPECT_EQ(Hex(ScreenPixel(probe.x, probe.y)), Hex(edgeCapture)) << "the tray slide-in changed the background";
    SaveScreenshotPng(CurrentTestName() + L".tray");
}

// ---- Item buttons ----------------------------------------------------------------------

constexpr COLORREF kIconKey = RGB(255, 0, 255);
constexpr int kStripWidth = 140;

struct StripItem {
    const char* caption;  // code page 1251 bytes
    const char* fileName;
    COLORREF fill;
};

const StripItem kStripItems[] = {
    {"Блокнот", "notepad.exe", RGB(200, 40, 40)},
    {"Калькулятор", "calc.exe", RGB(40, 160, 60)},
    {"Проводник", "explorer.exe", RGB(60, 90, 200)},
    {"Командная строка", "cmd.exe", RGB(220, 180, 30)},
};

std::vector<ShortRecord> StripRecords() {
    std::vector<ShortRecord> records;
    for (const StripItem& item : kStripItems) {
        records.push_back({.fileName = item.fileName,
                           .caption = item.caption,
                           .hint = std::string(item.caption) + "\r\nзапуск: " + item.fileName,
                           .image = FramedIconBmp(kIconKey, item.fill)});
    }
    return records;
}

std::function<bool(COLORREF)> Is(COLORREF wanted) {
    return [wanted](COLORREF c) { return c == wanted; };
}

class Strip : public PanelTest, public ::testing::WithParamInterface<Side> {};

TEST_P(Strip, ShowsEveryItemAndBrightensThePictureUnderThePointer) {
    const Side side = GetParam();
    HWND window = StartPanel({.side = side,
                              .width = kStripWidth,
                              .items = StripRecords(),
                              .settings = {SideSetting(side), "Width=" + std::to_string(kStripWidth), "TimeOut=300"}});
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(FindMessageBox(Pid())) << "message box for a sound item file";

    // Out and in again through the edge, so the background is taken from
    // the bare desktop alone, without Wine's tray window under it.
    MoveTrayWindowAway();
    MovePointerAway();
    ASSERT_TRUE(ReachesHidden(window, side, kStripWidth));
    MovePointer(EdgeX(side), 300);
    ASSERT_TRUE(ReachesShown(window, side, kStripWidth));
    const POINT rest = RestingSpotOverPanel(side, kStripWidth);
    MoveWithInput(rest.x, rest.y);

    // Each button shows its picture's body in its own colour, unbrightened,
    // with the caption drawn (black text) beside it.
    RECT bodies[4]{}, buttons[4]{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            const TBitmap image = CaptureScreen();
            for (int i = 0; i < 4; ++i) {
                buttons[i] = ClientRectOnScreen(window, ItemButtonRect(window, i));
                bodies[i] = BoundsOfPixels(image, buttons[i], Is(kStripItems[i].fill));
                if (bodies[i].right - bodies[i].left != 24 || bodies[i].bottom - bodies[i].top != 24) return false;
            }
            return true;
        },
        3s))
        << "a picture body is not drawn whole at its button";
    const auto captionArea = [&](int i) {
        return RECT{bodies[i].right + 4, buttons[i].top + 2, buttons[i].right - 2, buttons[i].bottom - 2};
    };
    const TBitmap before = CaptureScreen();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(CountPixels(before, bodies[i], Is(kStripItems[i].fill)), 24 * 24);
        EXPECT_GT(CountPixels(before, captionArea(i), IsBlack), 20) << "no caption drawn beside the picture";
        // The picture's corner colour is its transparent colour.
        EXPECT_EQ(CountPixels(before, buttons[i], Is(kIconKey)), 0) << "transparent colour shown";
        EXPECT_GE(bodies[i].top - 4, buttons[i].top) << "picture outside its button";
        EXPECT_LE(bodies[i].bottom + 4, buttons[i].bottom) << "picture outside its button";
    }

    // The pointer over the second item brightens its picture, and only it.
    // The item's hint comes up a second after the hover begins, below the
    // pointer and over the next item: the screen counts as read only while
    // no hint shows, and a hover whose hint came up starts again.
    const POINT over = Centre(bodies[1]);
    const COLORREF bright = Brightened(kStripItems[1].fill);
    const auto hintShown = [&] { return FindHint(*panel_) != nullptr; };
    TBitmap hovered;
    MoveWithInput(over.x, over.y);
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (hintShown()) {
                MoveWithInput(rest.x, rest.y);
                WaitUntil([&] { return !hintShown(); }, 3s);
                MoveWithInput(over.x, over.y);
            }
            hovered = CaptureScreen();
            return !hintShown() && CountPixels(hovered, bodies[1], Is(bright)) == 24 * 24;
        },
        10s))
        << "hovered picture is " << Hex(ScreenPixel(over.x, over.y)) << ", expected " << Hex(bright) << " from "
        << Hex(kStripItems[1].fill);
    for (int i : {0, 2, 3})
        EXPECT_EQ(CountPixels(hovered, bodies[i], Is(kStripItems[i].fill)), 24 * 24)
            << "item " << i << " changed while the pointer was over item 1";
    EXPECT_GT(CountPixels(hovered, captionArea(1), IsBlack), 20) << "caption missing while hovered";

    SaveScreenshotPng(CurrentTestName());
    const int cropLeft = side == Side::Left ? 0 : ScreenWidth() - 200;
    const std::wstring readmeShot = side == Side::Left ? EnvironmentValue(L"E2E_README_SHOT") : std::wstring{};
    EXPECT_TRUE(SavePng(CurrentTestName() + L".strip", CaptureScreen(RECT{cropLeft, 0, cropLeft + 200, 400}),
                        readmeShot));
}

INSTANTIATE_TEST_SUITE_P(Sides, Strip, kBothSides, SideName);

}  // namespace
}  // namespace e2e
