// The panel on screens of larger display scales (120, 144 and 192 DPI, with
// 96 as the reference): its width, its item buttons and their pictures, the
// blended background, the pointer hitting the scaled buttons, the pointer
// watch's zones and the item dialog, all in the screen's real pixels; the
// files keeping their 96-DPI values; and a change of scale while it runs.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "dialog_driver.h"
#include "platform/text.h"

namespace e2e {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kKeyRing = 4;  // the see-through ring around each picture's square
// A panel colour and a screen under it with little red and blue, so a
// see-through magenta mixed into a picture's edge would show at once.
constexpr COLORREF kPanelColour = RGB(30, 110, 40);
constexpr int kOpacity = 40;
COLORREF UnderPanel(int x, int y) { return RGB((x * 3 + y) % 50, (y * 3 + 40) & 0xFF, (x + 2 * y) % 50); }
COLORREF Background(int x, int y) { return Blend(UnderPanel(x, y), kPanelColour, kOpacity); }

const COLORREF kFills[] = {RGB(20, 230, 30), RGB(10, 170, 140), RGB(45, 90, 210)};
const char* const kHints[] = {"first one", "second one", "third one"};

std::string Dpi(const ::testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); }

bool Between(int value, int a, int b) { return value >= std::min(a, b) - 1 && value <= std::max(a, b) + 1; }

// Item `index`'s button as `screen` (a capture of the whole screen) shows
// it: a picture whose `fill` square lies in a see-through ring, drawn s(32)
// square and centred in the button, with no caption. Inside the scaled
// square only `fill`, away from it only the blended background, and where
// the two meet a mix of them, channel by channel (a scaled picture's edge
// is smoothed); the see-through colour nowhere. A hovered button has a
// raised edge: then only the picture's own square is looked at.
::testing::AssertionResult ShowsPicture(const TBitmap& screen, HWND panel, int index, COLORREF fill,
                                        const DisplayScale& scale, bool hovered = false) {
    const RECT button = ClientRectOnScreen(panel, ItemButtonRect(panel, index, scale));
    const int size = scale.S(32);
    const int left = button.left + (button.right - button.left - size) / 2;
    const int top = button.top + (scale.S(34) - size) / 2;
    const RECT area = hovered ? RECT{left, top, left + size, top + size} : button;
    // The square's edges scaled; a smoothed edge takes a pixel either side.
    const int from = size * kKeyRing / 32, to = size * (32 - kKeyRing) / 32;
    const int blur = scale.dpi == 96 ? 0 : 1;
    const auto inside = [&](int x, int y, int margin) {
        return x >= left + from + margin && x < left + to - margin && y >= top + from + margin &&
               y < top + to - margin;
    };
    int wrong = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF shown = screen.Pixel(x, y), under = Background(x, y);
            bool right = false;
            const char* expected = "";
            if (inside(x, y, blur)) {
                right = shown == fill, expected = "the picture's colour";
            } else if (!inside(x, y, -blur)) {
                right = shown == under, expected = "the blended background";
            } else {
                right = shown != kKey && Between(GetRValue(shown), GetRValue(under), GetRValue(fill)) &&
                        Between(GetGValue(shown), GetGValue(under), GetGValue(fill)) &&
                        Between(GetBValue(shown), GetBValue(under), GetBValue(fill));
                expected = "a mix of the picture's colour and the background";
            }
            if (!right && wrong++ == 0)
                first = "at " + std::to_string(x) + "," + std::to_string(y) + " " + Hex(shown) + " instead of " +
                        expected + " (" + Hex(fill) + ", " + Hex(under) + ")";
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "item " << index << ": " << wrong << " pixels wrong in its button "
                                         << button.left << "," << button.top << "-" << button.right << ","
                                         << button.bottom << ", picture expected at " << left << "," << top << " "
                                         << size << "x" << size << "; first " << first;
}

// The same, once the screen shows it (the panel paints after it moves).
::testing::AssertionResult WaitForPicture(HWND panel, int index, COLORREF fill, const DisplayScale& scale) {
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    WaitUntil([&] { return static_cast<bool>(shown = ShowsPicture(CaptureScreen(), panel, index, fill, scale)); },
              3s);
    return shown;
}

// The bounds of the pixels of exactly `fill` in the panel's client area.
RECT FillBounds(const TBitmap& screen, HWND panel, COLORREF fill) {
    return BoundsOfPixels(screen, ClientRectOnScreen(panel, ClientRect(panel)), [fill](COLORREF c) { return c == fill; });
}

// Where the frame, the client area and the strip stand at `scale` for a
// panel of the settings' width 64 docked at `side`.
void ExpectDocked(HWND panel, Side side, const DisplayScale& scale) {
    const int width = scale.S(kPanelDefaultWidth), border = scale.FrameBorder();
    EXPECT_EQ(PanelWidth(panel), width);
    EXPECT_EQ(PanelLeft(panel), ShownLeft(side, width, scale));
    EXPECT_EQ(PanelTop(panel), -border);
    EXPECT_EQ(ClientWidthOf(panel), width - 2 * border) << "the frame's border is not the system's " << border;
    // The client area meets the screen edge exactly.
    if (side == Side::Left)
        EXPECT_EQ(ClientToScreenPoint(panel, 0, 0).x, 0);
    else
        EXPECT_EQ(ClientToScreenPoint(panel, ClientWidthOf(panel), 0).x, ScreenWidth());
    EXPECT_TRUE(WaitForCloseCross(panel, side, scale)) << "no close cross at the scaled corner";
}

class KnownScreenPanel : public PanelTest {
protected:
    // The panel at this scale over a screen of known colours, with an item
    // per fill (each starting the probe with "item <n>") and nothing to
    // start its pointer watch early.
    HWND StartOverKnownScreen(int items, Side side = Side::Left, int timeOut = 300) {
        under_ = std::make_unique<PaintedScreen>(UnderPanel);
        if (!under_->WaitUntilShown()) ADD_FAILURE() << "the test's screen did not show";
        const std::wstring probe = scratch_->AddProbe();
        std::vector<ShortRecord> records;
        for (int i = 0; i < items; ++i)
            records.push_back({.params = "item " + std::to_string(i + 1),
                               .fileName = tilerack::win::Narrow(probe),
                               .hint = kHints[i],
                               .image = KeyedSquareBmp(kKey, kFills[i], kKeyRing)});
        return StartPanel({.side = side,
                           .items = records,
                           .settings = {SideSetting(side), "Opacity=" + std::to_string(kOpacity),
                                        "Color=" + std::to_string(kPanelColour),
                                        "TimeOut=" + std::to_string(timeOut)}});
    }

    // A point in the lowest rows of item `index`'s button, which belong to
    // another item (or to none) where the buttons are not scaled.
    POINT LowInItem(int index) const {
        const RECT button = ItemButtonRect(window_, index, scale_);
        return POINT{(button.left + button.right) / 2, button.bottom - 3};
    }

    std::unique_ptr<PaintedScreen> under_;
};

class ScaledPanel : public KnownScreenPanel, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        KnownScreenPanel::SetUp();
        RunAtDpi(GetParam());
    }
};

// ---- The strip at the scale ----------------------------------------------------------

TEST_P(ScaledPanel, LaysOutTheStripWithScaledPicturesOverTheBlendedBackground) {
    ASSERT_NE(StartOverKnownScreen(3), nullptr);
    ExpectDocked(window_, Side::Left, scale_);
    ExpectBlendedBackground(window_, UnderPanel, kPanelColour, kOpacity, "first show");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(WaitForPicture(window_, i, kFills[i], scale_));

    // The pitch as the screen shows it: the first rows of the pictures' colour.
    const TBitmap screen = CaptureScreen();
    const int top0 = FillBounds(screen, window_, kFills[0]).top, top1 = FillBounds(screen, window_, kFills[1]).top;
    EXPECT_EQ(top1 - top0, scale_.S(34)) << "button pitch";
    RecordProperty("pitch", top1 - top0);
    RecordProperty("frame_border", scale_.FrameBorder());
    SaveScreenshotPng(CurrentTestName());
}

TEST_P(ScaledPanel, AFrameWidenedWithinTheCapturedMarginShowsTheScreenUnderItsNewColumns) {
    // The background is captured a margin wider than the panel (32 columns
    // at 96 DPI, scaled): a shown panel widened by less than that shows the
    // screen under its new columns at once, without a capture of its own.
    // A long delay keeps the panel shown, so no slide-in captures again.
    ASSERT_NE(StartOverKnownScreen(3, Side::Left, 60000), nullptr);
    ExpectBlendedBackground(window_, UnderPanel, kPanelColour, kOpacity, "first show");
    const int by = scale_.S(24), widened = scale_.S(kPanelDefaultWidth) + by;
    const std::string resizedBy = WidenByFrame(window_, Side::Left, by);
    ASSERT_EQ(resizedBy.find("drag: "), std::string::npos) << resizedBy;
    RecordProperty("resized_by", resizedBy);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window_) == widened; }, 3s))
        << "width " << PanelWidth(window_) << " instead of " << widened;
    ASSERT_TRUE(ReachesShown(window_, Side::Left, widened, scale_));

    // Every column of rows clear of the strip's buttons, old and new alike.
    const int height = ClientHeightOf(window_), width = ClientWidthOf(window_);
    std::string wrong;
    const auto rowsShowTheBlend = [&] {
        const TBitmap screen = CaptureScreen();
        for (int row : {height / 2, height * 3 / 4})
            for (int x = 0; x < width; ++x) {
                const POINT at = ClientToScreenPoint(window_, x, row);
                if (screen.Pixel(at.x, at.y) != Background(at.x, at.y)) {
                    wrong = "column " + std::to_string(x) + " of row " + std::to_string(row) + ": " +
                            Hex(screen.Pixel(at.x, at.y)) + " instead of " + Hex(Background(at.x, at.y));
                    return false;
                }
            }
        return true;
    };
    EXPECT_TRUE(WaitUntil(rowsShowTheBlend, 3s)) << wrong;
    SaveScreenshotPng(CurrentTestName());
}

TEST_P(ScaledPanel, PointerHoversClicksAndRightPressesTheScaledButtons) {
    ASSERT_NE(StartOverKnownScreen(3), nullptr);
    ASSERT_TRUE(WaitForPicture(window_, 0, kFills[0], scale_));

    // Hovering brightens the picture under the pointer alone. Its hint comes
    // up a second later, below the pointer over the next item: the screen
    // counts as read only while no hint shows, and a hover whose hint came
    // up starts again.
    const POINT rest = RestingSpotOverPanel(Side::Left, PanelWidth(window_));
    const POINT over = ItemCentre(window_, 0, scale_);
    const auto hintShown = [&] { return FindHint(*panel_) != nullptr; };
    ::testing::AssertionResult hovered = ::testing::AssertionFailure();
    TBitmap screen;
    MoveWithInput(over.x, over.y);
    WaitUntil(
        [&] {
            if (hintShown()) {
                MoveWithInput(rest.x, rest.y);
                WaitUntil([&] { return !hintShown(); }, 3s);
                MoveWithInput(over.x, over.y);
            }
            screen = CaptureScreen();
            hovered = ShowsPicture(screen, window_, 0, Brightened(kFills[0]), scale_, /*hovered=*/true);
            return !hintShown() && hovered;
        },
        10s);
    EXPECT_TRUE(hovered) << "hovered picture";
    EXPECT_TRUE(ShowsPicture(screen, window_, 1, kFills[1], scale_)) << "while item 1 was hovered";
    SaveScreenshotPng(CurrentTestName() + L".hover");
    MoveWithInput(rest.x, rest.y);
    ASSERT_TRUE(WaitForPicture(window_, 0, kFills[0], scale_)) << "the picture stayed bright";

    // A left click low in the second button starts the second item.
    ClickOn(window_, ClientToScreenPoint(window_, LowInItem(1).x, LowInItem(1).y));
    const auto starts = WaitForProbeRecords(scratch_->Path());
    ASSERT_EQ(starts.size(), 1u) << "the probe did not run exactly once";
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item 2");

    // A right press low in the third button opens the third item's dialog,
    // its client area scaled from the 96-DPI design.
    HWND dialog = OpenDialogFromPanel(*panel_, window_, LowInItem(2), MainMenuEntry::Properties, L"TMainDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(FindChild(dialog, L"Edit", {}, 3)), L"item 3") << "the dialog of another item";
    const RECT client = ClientRect(dialog);
    EXPECT_EQ(client.right, scale_.S(399));
    EXPECT_EQ(client.bottom, scale_.S(297));
    // Its picture drawn at the scale too: the 24-pixel square inside the
    // see-through ring grows with it (but for its smoothed edge).
    const HWND picture = FindChild(dialog, L"TImage", L"Иконка");
    ASSERT_NE(picture, nullptr) << "no item picture in the dialog";
    RECT square{};
    WaitUntil(
        [&] {
            square = BoundsOfPixels(CaptureScreen(), WindowRect(picture), [](COLORREF c) { return c == kFills[2]; });
            return square.right - square.left >= scale_.S(24) - 2 && square.bottom - square.top >= scale_.S(24) - 2;
        },
        3s);
    EXPECT_NEAR(square.right - square.left, scale_.S(24), 2) << "the item's picture in its dialog";
    EXPECT_NEAR(square.bottom - square.top, scale_.S(24), 2) << "the item's picture in its dialog";
    SaveScreenshotPng(CurrentTestName() + L".dialog");
    ASSERT_TRUE(PressButton(dialog, L"Отмена") && WaitUntilGone(dialog));

    // Delete from a right press low in the first button removes the first item.
    ASSERT_TRUE(BringIn(window_, Side::Left, scale_));
    ASSERT_TRUE(ChooseFromContextMenu(*panel_, window_, LowInItem(0), MainMenuEntry::Delete));
    const auto box = WaitForMessageBox(Pid());
    ASSERT_TRUE(box) << "no delete question";
    EXPECT_NE(box->text.find(Widen(kHints[0])), std::wstring::npos) << "asked about " << Narrow(box->text);
    ASSERT_TRUE(AnswerMessageBox(Pid(), box->window, IDYES));
    ASSERT_TRUE(panel_->Close());
    std::vector<std::string> left;
    for (const auto& item : SavedItems()) left.push_back(item.params);
    EXPECT_EQ(left, (std::vector<std::string>{"item 2", "item 3"}));
}

INSTANTIATE_TEST_SUITE_P(DisplayScale, ScaledPanel, ::testing::Values(96, 120, 144, 192), Dpi);

// ---- The pointer watch at the scale ------------------------------------------------------

class ScaledPointerWatch : public PanelTest, public ::testing::WithParamInterface<std::tuple<int, Side>> {
protected:
    Side DockedSide() const { return std::get<1>(GetParam()); }
    void SetUp() override {
        PanelTest::SetUp();
        RunAtDpi(std::get<0>(GetParam()));
    }
    // True when the panel stays at `left` while the pointer watch has had
    // many times its delay to move it.
    bool StaysAt(int left) { return e2e::StaysAt(window_, left, 2s); }
};

TEST_P(ScaledPointerWatch, RevealsAtTheScaledEdgeZoneAndStaysInTheScaledNearZone) {
    ASSERT_NE(StartPanel({.side = DockedSide(), .settings = {SideSetting(DockedSide()), "TimeOut=300"}}), nullptr);
    ExpectDocked(window_, DockedSide(), scale_);
    const int width = PanelWidth(window_);
    const int shown = ShownLeft(DockedSide(), width, scale_);
    const int nearReach = scale_.S(16), reach = scale_.S(2);

    // The last column of the near zone keeps the panel; the next lets it go.
    const int nearLast = DockedSide() == Side::Left ? width + nearReach - 1 : ScreenWidth() - width - nearReach + 1;
    MoveWithInput(nearLast, 400);
    EXPECT_TRUE(StaysAt(shown)) << "left the screen with the pointer at " << nearLast;
    const int nearOut = DockedSide() == Side::Left ? nearLast + 1 : nearLast - 1;
    MoveWithInput(nearOut, 400);
    EXPECT_TRUE(ReachesHidden(window_, DockedSide(), width, scale_))
        << "stayed with the pointer at " << nearOut;

    // Resting beside the edge zone leaves it out; resting in its innermost column brings it in.
    const int edgeLast = DockedSide() == Side::Left ? reach : ScreenWidth() - reach;
    const int edgeOut = DockedSide() == Side::Left ? edgeLast + 1 : edgeLast - 1;
    MoveWithInput(edgeOut, 300);
    EXPECT_TRUE(StaysAt(HiddenLeft(DockedSide(), width, scale_))) << "came in with the pointer at " << edgeOut;
    MoveWithInput(edgeLast, 300);
    EXPECT_TRUE(ReachesLeft(window_, shown)) << "did not come in with the pointer at " << edgeLast;
    EXPECT_TRUE(WaitForCloseCross(window_, DockedSide(), scale_));
    SaveScreenshotPng(CurrentTestName());
}

INSTANTIATE_TEST_SUITE_P(DisplayScale, ScaledPointerWatch,
                         ::testing::Combine(::testing::Values(96, 120, 144, 192), kBothSides),
                         [](const auto& info) {
                             return "Dpi" + std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == Side::Left ? "Left" : "Right");
                         });

// ---- The files keep their 96-DPI values ---------------------------------------------------------

using DisplayScaleFiles = PanelTest;

TEST_F(DisplayScaleFiles, SettingsAndItemsAreWrittenBackByteForByteAt192Dpi) {
    RunAtDpi(192);
    WriteSettings({"Side=0", "Width=64", "TimeOut=450", "Opacity=35", "Color=2105408", "OnTop=0"});
    const auto settings = ReadWholeFile(IniPath());
    ASSERT_TRUE(settings);
    const ShortsFile items = BuildShortsFile(
        {{.params = "-a", .fileName = "C:\\first.exe", .caption = "Первый", .workDir = "C:\\", .hint = "один",
          .image = KeyedSquareBmp(kKey, kFills[0], kKeyRing)},
         {.fileName = "C:\\second.exe", .caption = "Второй", .trackDrives = true, .image = Bmp24Image(7)}});
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), items.bytes));

    ASSERT_NE(StartPanel({.width = 64}), nullptr);
    EXPECT_EQ(PanelWidth(window_), 128);
    ASSERT_TRUE(panel_->Close());

    const auto settingsAfter = ReadWholeFile(IniPath());
    ASSERT_TRUE(settingsAfter) << "no settings file after closing";
    EXPECT_EQ(std::string(settingsAfter->begin(), settingsAfter->end()), std::string(settings->begin(), settings->end()));
    const auto itemsAfter = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(itemsAfter) << "no item file after closing";
    EXPECT_TRUE(*itemsAfter == items.bytes) << itemsAfter->size() << " bytes instead of " << items.bytes.size();
}

// ---- A change of scale while the panel runs ---------------------------------------------------

// What the system sends a window whose screen takes another scale.
void ChangeScale(HWND window, int dpi) {
    RECT suggested = WindowRect(window);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DisplayScaleChange : public KnownScreenPanel, public ::testing::WithParamInterface<Side> {
protected:
    Side DockedSide() const { return GetParam(); }
};

TEST_P(DisplayScaleChange, LaysTheRunningPanelOutAgainAndBack) {
    ASSERT_NE(StartOverKnownScreen(2, DockedSide()), nullptr);
    const DisplayScale design{96}, large{192};
    ASSERT_TRUE(WaitForPicture(window_, 1, kFills[1], design));

    ChangeScale(window_, 192);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window_) == 128; }, 3s))
        << "width " << PanelWidth(window_) << " after the change to 192 DPI";
    const POINT edge = ClientToScreenPoint(window_, DockedSide() == Side::Left ? 0 : ClientWidthOf(window_), 0);
    EXPECT_EQ(edge.x, DockedSide() == Side::Left ? 0 : ScreenWidth())
        << "the client area does not meet the screen edge: frame at " << PanelLeft(window_) << ", "
        << PanelWidth(window_) - ClientWidthOf(window_) << " columns of frame";
    // Pictures of 64 pixels a pitch of 68 apart, centred across their buttons:
    // the square inside each, drawn larger, is 48 pixels but for its smoothed edge.
    RECT squares[2]{};
    const int clientLeft = ClientToScreenPoint(window_, 0, 0).x;
    const auto atLargeSize = [&](const RECT& square) {
        return std::abs(square.right - square.left - 48) <= 2 && std::abs(square.bottom - square.top - 48) <= 2;
    };
    const bool drawn = WaitUntil(
        [&] {
            const TBitmap screen = CaptureScreen();
            for (int i = 0; i < 2; ++i) squares[i] = FillBounds(screen, window_, kFills[i]);
            return atLargeSize(squares[0]) && atLargeSize(squares[1]);
        },
        3s);
    EXPECT_TRUE(drawn) << "pictures not drawn at the 192-DPI size";
    for (const RECT& square : squares) {
        EXPECT_NEAR(square.right - square.left, 48, 2);
        EXPECT_NEAR(square.bottom - square.top, 48, 2);
        EXPECT_NEAR((square.left + square.right) / 2 - clientLeft, (ClientWidthOf(window_) - large.S(1)) / 2, 1)
            << "not centred across the button";
    }
    EXPECT_EQ(squares[1].top - squares[0].top, 68) << "button pitch";
    ExpectBlendedBackground(window_, UnderPanel, kPanelColour, kOpacity, "at 192 DPI");
    SaveScreenshotPng(CurrentTestName() + L".192");

    ChangeScale(window_, 96);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window_) == 64; }, 3s))
        << "width " << PanelWidth(window_) << " after the change back to 96 DPI";
    ExpectDocked(window_, DockedSide(), design);
    ExpectBlendedBackground(window_, UnderPanel, kPanelColour, kOpacity, "back at 96 DPI");
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(WaitForPicture(window_, i, kFills[i], design)) << "back at 96 DPI";
    SaveScreenshotPng(CurrentTestName() + L".96");

    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Width"), L"64");
}

INSTANTIATE_TEST_SUITE_P(DisplayScale, DisplayScaleChange, kBothSides, SideName);

// The strip's hints are drawn in a font the panel makes for its scale: each
// change of scale, not only the first, gives them the new size.
using DisplayScaleHints = KnownScreenPanel;

TEST_F(DisplayScaleHints, FollowEveryChangeOfScale) {
    ASSERT_NE(StartOverKnownScreen(1), nullptr);
    // A hover right after a change of scale can come while the panel is still
    // settling at its new size (one pointer move, no tip): a user's pointer
    // would move again, and so does a second hover.
    const auto hintHeight = [&](const DisplayScale& scale) {
        for (int hover = 0; hover < 2; ++hover)
            if (const auto hint = HoverHint(*panel_, window_, CloseButtonRect(window_, Side::Left, scale)))
                return static_cast<int>(hint->place.bottom - hint->place.top);
        return -1;
    };
    const int designed = hintHeight(DisplayScale{96});
    ASSERT_GT(designed, 0) << "no hint at 96 DPI";

    ChangeScale(window_, 192);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window_) == 128; }, 3s));
    const int large = hintHeight(DisplayScale{192});
    SaveScreenshotPng(CurrentTestName() + L".192");
    // Text twice as high: the hint grows by at least most of a 96-DPI line.
    EXPECT_GE(large - designed, 10) << "hint " << designed << " pixels high at 96 DPI, " << large << " at 192";

    ChangeScale(window_, 96);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window_) == 64; }, 3s));
    EXPECT_EQ(hintHeight(DisplayScale{96}), designed) << "back at 96 DPI";
    ASSERT_TRUE(panel_->Close());
}

}  // namespace
}  // namespace e2e
