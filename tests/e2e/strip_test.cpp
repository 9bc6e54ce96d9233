// What the strip shows: the translucent background blended from the screen
// under the panel, the item buttons with their pictures and captions, and
// the brightened picture of the button under the pointer.
#include <memory>
#include <optional>
#include <string>

#include "e2e_harness.h"
#include "scenario_support.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

std::string Decimal(COLORREF colour) { return std::to_string(static_cast<unsigned long>(colour)); }

// A screen whose every pixel differs from its neighbours, so a capture taken
// from the wrong place or scaled shows up at once.
COLORREF Checkered(int x, int y) {
    return RGB((x * 5 + y) & 0xFF, (y * 3 + 40) & 0xFF, 255 - ((x + 2 * y) % 200));
}

// Client points of the panel well away from every strip button.
std::vector<POINT> BackgroundSamples(HWND panel) {
    const int cw = ClientWidthOf(panel);
    return {{2, 150}, {cw / 2, 400}, {cw - 3, 650}, {cw - 1, 300}, {0, 500}};
}

// Compares the panel's pixels at the sample points with the blend of what
// the screen holds under them.
void ExpectBlendedBackground(HWND panel, const PaintedScreen::Pattern& under, COLORREF colour, int opacity,
                             const char* when) {
    const auto samples = BackgroundSamples(panel);
    const auto matches = [&] {
        for (const POINT& c : samples) {
            const POINT s = ClientToScreenPoint(panel, c.x, c.y);
            if (ScreenPixel(s.x, s.y) != Blend(under(s.x, s.y), colour, opacity)) return false;
        }
        return true;
    };
    if (WaitUntil(matches, 3s)) return;
    for (const POINT& c : samples) {
        const POINT s = ClientToScreenPoint(panel, c.x, c.y);
        EXPECT_EQ(Hex(ScreenPixel(s.x, s.y)), Hex(Blend(under(s.x, s.y), colour, opacity)))
            << when << ": client " << c.x << "," << c.y << " (screen " << s.x << "," << s.y << "), screen colour "
            << Hex(under(s.x, s.y)) << ", panel colour " << Hex(colour) << ", opacity " << opacity;
    }
}

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
    int side;
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
    WriteSettings({"Side=" + std::to_string(c.side), "Opacity=" + std::to_string(c.opacity),
                   "Color=" + Decimal(c.colour)});

    const POINT rest = RestingSpotOverPanel(c.side);
    MovePointer(rest.x, rest.y);
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == ShownLeft(c.side, kPanelDefaultWidth); }, 5s))
        << "left " << PanelLeft(window);
    ExpectBlendedBackground(window, pattern, c.colour, c.opacity, "first show");
    SaveScreenshotPng(CurrentTestName());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Background,
    ::testing::Values(
        BackgroundCase{"DesktopOpacity0", 0, 0, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopOpacity50", 0, 50, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopOpacity100", 0, 100, kPanelDefaultColour, Under::BareDesktop},
        BackgroundCase{"DesktopRightOpacity37OtherColour", 1, 37, 0x00204080, Under::BareDesktop},
        BackgroundCase{"WindowOpacity50", 0, 50, kPanelDefaultColour, Under::UniformWindow},
        BackgroundCase{"WindowRightOpacity37OtherColourCheckered", 1, 37, 0x00204080, Under::CheckeredWindow}),
    [](const auto& info) { return std::string(info.param.name); });

using BackgroundCapture = PanelTest;

TEST_F(BackgroundCapture, IsRetakenWhenThePointerBringsThePanelInButNotByTheTray) {
    const auto desktop = BareDesktopColour();
    if (!desktop) GTEST_SKIP() << "the bare desktop is not one colour";
    const auto bare = [colour = *desktop](int, int) { return colour; };
    const auto yellow = [](int, int) { return RGB(255, 255, 0); };
    PaintedScreen screen(yellow, /*parked=*/true);
    WriteSettings({"Opacity=50", "TimeOut=300"});
    const POINT rest = RestingSpotOverPanel(0);
    MovePointer(rest.x, rest.y);
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == -4; }, 5s));
    ExpectBlendedBackground(window, bare, kPanelDefaultColour, 50, "first show");
    const POINT probe = ClientToScreenPoint(window, ClientWidthOf(window) / 2, 400);
    const COLORREF firstCapture = ScreenPixel(probe.x, probe.y);

    const POINT away = SpotAwayFromPanel();
    MovePointer(away.x, away.y);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == HiddenLeft(0, kPanelDefaultWidth); }, 5s));
    screen.Unpark();
    ASSERT_TRUE(screen.WaitUntilShown());

    MovePointer(0, 300);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == -4; }, 5s)) << "no slide-in at the edge";
    WaitUntil([&] { return ScreenPixel(probe.x, probe.y) != firstCapture; }, 3s);
    const COLORREF edgeCapture = ScreenPixel(probe.x, probe.y);
    EXPECT_NE(Hex(edgeCapture), Hex(firstCapture)) << "the slide-in from the edge took no new capture";
    ExpectBlendedBackground(window, yellow, kPanelDefaultColour, 50, "slide-in from the edge");
    SaveScreenshotPng(CurrentTestName() + L".edge");

    // The tray brings the panel in without a new capture: it keeps showing
    // what it captured at the edge, not the bare desktop now under it.
    MovePointer(away.x, away.y);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == HiddenLeft(0, kPanelDefaultWidth); }, 5s));
    screen.Park();
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(20, 400) == *desktop; }, 3s))
        << "the bare desktop did not come back: " << Hex(ScreenPixel(20, 400));
    MovePointer(rest.x, rest.y);
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == -4; }, 5s)) << "no slide-in by the tray";
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
        ShortRecord record;
        record.fileName = item.fileName;
        record.caption = item.caption;
        record.hint = std::string(item.caption) + "\r\nзапуск: " + item.fileName;
        record.image = FramedIconBmp(kIconKey, item.fill);
        records.push_back(record);
    }
    return records;
}

class Strip : public PanelTest, public ::testing::WithParamInterface<int> {};

TEST_P(Strip, ShowsEveryItemAndBrightensThePictureUnderThePointer) {
    const int side = GetParam();
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), BuildShortsFile(StripRecords()).bytes));
    WriteSettings({"Side=" + std::to_string(side), "Width=" + std::to_string(kStripWidth), "TimeOut=300"});

    const POINT rest = RestingSpotOverPanel(side, kStripWidth);
    MovePointer(rest.x, rest.y);
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const int shown = ShownLeft(side, kStripWidth), hidden = HiddenLeft(side, kStripWidth);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == shown; }, 5s)) << "left " << PanelLeft(window);
    EXPECT_FALSE(FindMessageBox(panel.Pid())) << "message box for a sound item file";

    // Out and in again through the edge, so the background is taken from
    // the bare desktop alone, without Wine's tray window under it.
    MoveTrayWindowAway();
    const POINT away = SpotAwayFromPanel();
    MovePointer(away.x, away.y);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == hidden; }, 5s)) << "left " << PanelLeft(window);
    MovePointer(side == 0 ? 0 : ScreenWidth() - 1, 300);
    ASSERT_TRUE(WaitUntil([&] { return PanelLeft(window) == shown; }, 5s)) << "left " << PanelLeft(window);
    MoveWithInput(rest.x, rest.y);

    // Each button shows its picture's body in its own colour, unbrightened,
    // with the caption drawn (black text) beside it.
    RECT bodies[4]{};
    const auto isFill = [](COLORREF fill) { return [fill](COLORREF c) { return c == fill; }; };
    ASSERT_TRUE(WaitUntil(
        [&] {
            const ScreenImage image = CaptureScreen();
            for (int i = 0; i < 4; ++i) {
                const RECT button = ClientRectOnScreen(window, ItemButtonRect(window, i));
                bodies[i] = BoundsOfPixels(image, button, isFill(kStripItems[i].fill));
                if (bodies[i].right - bodies[i].left != 24 || bodies[i].bottom - bodies[i].top != 24) return false;
            }
            return true;
        },
        3s))
        << "a picture body is not drawn whole at its button";
    const ScreenImage before = CaptureScreen();
    for (int i = 0; i < 4; ++i) {
        const RECT button = ClientRectOnScreen(window, ItemButtonRect(window, i));
        EXPECT_EQ(CountPixels(before, bodies[i], isFill(kStripItems[i].fill)), 24 * 24) << "item " << i;
        const RECT captionArea{bodies[i].right + 4, button.top + 2, button.right - 2, button.bottom - 2};
        EXPECT_GT(CountPixels(before, captionArea, IsBlack), 20) << "no caption drawn beside item " << i;
        // The picture's corner colour is its transparent colour.
        EXPECT_EQ(CountPixels(before, button, isFill(kIconKey)), 0) << "transparent colour shown at item " << i;
        EXPECT_GE(bodies[i].top - 4, button.top) << "picture of item " << i << " outside its button";
        EXPECT_LE(bodies[i].bottom + 4, button.bottom) << "picture of item " << i << " outside its button";
    }

    // The pointer over the second item brightens its picture, and only it.
    const POINT over = Centre(bodies[1]);
    MoveWithInput(over.x, over.y);
    const COLORREF bright = Brightened(kStripItems[1].fill);
    const bool brightened = WaitUntil(
        [&] { return CountPixels(CaptureScreen(), bodies[1], isFill(bright)) == 24 * 24; }, 3s);
    EXPECT_TRUE(brightened) << "hovered picture is " << Hex(ScreenPixel(over.x, over.y)) << ", expected "
                            << Hex(bright) << " from " << Hex(kStripItems[1].fill);
    const ScreenImage hovered = CaptureScreen();
    for (int i : {0, 2, 3})
        EXPECT_EQ(CountPixels(hovered, bodies[i], isFill(kStripItems[i].fill)), 24 * 24)
            << "item " << i << " changed while the pointer was over item 1";
    const RECT hoveredButton = ClientRectOnScreen(window, ItemButtonRect(window, 1));
    const RECT captionArea{bodies[1].right + 4, hoveredButton.top + 2, hoveredButton.right - 2,
                           hoveredButton.bottom - 2};
    EXPECT_GT(CountPixels(hovered, captionArea, IsBlack), 20) << "caption missing while hovered";

    SaveScreenshotPng(CurrentTestName());
    const int cropLeft = side == 0 ? 0 : ScreenWidth() - 200;
    const std::wstring readmeShot = side == 0 ? EnvironmentValue(L"E2E_README_SHOT") : std::wstring{};
    EXPECT_TRUE(SaveScreenshotCrop(CurrentTestName() + L".strip", RECT{cropLeft, 0, cropLeft + 200, 400}, readmeShot));
}

INSTANTIATE_TEST_SUITE_P(Sides, Strip, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Left" : "Right"; });

}  // namespace
}  // namespace e2e
