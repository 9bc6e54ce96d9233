// Docking at either screen edge: the shown and hidden places, sliding out
// when the pointer stays away and in when it rests at the edge, the hide
// button, the tray double click and re-docking after the width changes.
#include "e2e_harness.h"
#include "scenario_support.h"
#include "screen_capture.h"

namespace e2e {
namespace {

class Docking : public PanelTest, public ::testing::WithParamInterface<int> {
protected:
    int Side() const { return GetParam(); }

    // Starts the panel on this side with the pointer resting over it and
    // waits until it stands at its shown place.
    HWND StartShown(PanelProcess& panel, int width = kPanelDefaultWidth) {
        const POINT rest = RestingSpotOverPanel(Side(), width);
        MovePointer(rest.x, rest.y);
        HWND window = panel.WaitForWindow();
        if (!window) {
            ADD_FAILURE() << "no visible panel window";
            return nullptr;
        }
        if (!WaitUntil([&] { return PanelLeft(window) == ShownLeft(Side(), width); }, 5s))
            ADD_FAILURE() << "not at the shown place " << ShownLeft(Side(), width) << ": left " << PanelLeft(window);
        else if (!WaitForCloseCross(window, Side()))
            ADD_FAILURE() << "no close cross at the top corner";
        return window;
    }

    std::wstring ShotName(const wchar_t* step) const { return CurrentTestName() + L"." + step; }
};

TEST_P(Docking, SlidesOutWhenThePointerStaysAwayAndInWhenItRestsAtTheEdge) {
    WriteSettings({"Side=" + std::to_string(Side()), "TimeOut=300"});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PanelTop(window), -4);
    EXPECT_EQ(PanelWidth(window), kPanelDefaultWidth);
    EXPECT_EQ(ClientHeightOf(window), ScreenHeight() + 4);

    const POINT away = SpotAwayFromPanel();
    MovePointer(away.x, away.y);
    const int hidden = HiddenLeft(Side(), kPanelDefaultWidth);
    EXPECT_TRUE(WaitUntil([&] { return PanelLeft(window) == hidden; }, 5s))
        << "did not slide out to " << hidden << ": left " << PanelLeft(window);
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"hidden"));

    const int edgeX = Side() == 0 ? 0 : ScreenWidth() - 1;
    MovePointer(edgeX, 300);
    const int shown = ShownLeft(Side(), kPanelDefaultWidth);
    EXPECT_TRUE(WaitUntil([&] { return PanelLeft(window) == shown; }, 5s))
        << "did not slide in to " << shown << " with the pointer at the edge: left " << PanelLeft(window);
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"shown"));
}

TEST_P(Docking, HideButtonHidesAndTrayDoubleClickBringsItBack) {
    WriteSettings({"Side=" + std::to_string(Side()), "TimeOut=300"});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);

    // The hide button shows only while the pointer is near it; its arrows
    // have black outlines, which the blended background never has.
    const RECT hide = ClientRectOnScreen(window, HideButtonRect(window, Side()));
    EXPECT_EQ(CountPixels(CaptureScreen(), hide, IsBlack), 0) << "the hide button shows with the pointer away";
    const POINT target = Centre(hide);
    MoveWithInput(target.x, target.y);
    const bool appeared = WaitUntil(
        [&] { return CountPixels(CaptureScreen(), hide, IsBlack) > 0; }, 3s);
    EXPECT_TRUE(appeared) << "the hide button did not appear with the pointer at " << target.x << "," << target.y;
    SaveScreenshotPng(ShotName(L"hide-button"));

    ClickAt(target.x, target.y);
    const int hidden = HiddenLeft(Side(), kPanelDefaultWidth);
    EXPECT_TRUE(WaitUntil([&] { return PanelLeft(window) == hidden; }, 3s))
        << "the hide button did not hide the panel: left " << PanelLeft(window);

    // Over the panel's place but off the edge zone: only the tray brings it in.
    const POINT rest = RestingSpotOverPanel(Side());
    MovePointer(rest.x, rest.y);
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    const int shown = ShownLeft(Side(), kPanelDefaultWidth);
    EXPECT_TRUE(WaitUntil([&] { return PanelLeft(window) == shown; }, 3s))
        << "the tray double click did not show the panel: left " << PanelLeft(window);
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"after-tray"));
}

TEST_P(Docking, WidthChangedByTheFrameIsReDockedAndSaved) {
    WriteSettings({"Side=" + std::to_string(Side()), "TimeOut=300"});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);

    // The frame's edge toward the inside of the screen, halfway down.
    const RECT frame = WindowRect(window);
    const int grip = Side() == 0 ? frame.right - 2 : frame.left + 1;
    const int drag = Side() == 0 ? 40 : -40;
    const int widened = kPanelDefaultWidth + 40;
    DragWithLeftButton(POINT{grip, 300}, POINT{grip + drag, 300});
    bool byFrame = WaitUntil([&] { return PanelWidth(window) != kPanelDefaultWidth; }, 3s);
    if (!byFrame) {
        // Wine without a window manager may not run a sizing loop for the
        // frame; the resize then comes from outside, as a sizing loop would
        // deliver it, and the panel's own handling of it is what is checked.
        SetWindowPos(window, nullptr, frame.left, frame.top, widened, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecordProperty("resized_by", byFrame ? "frame drag" : "SetWindowPos");
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window) == widened; }, 3s))
        << "width " << PanelWidth(window) << " instead of " << widened
        << (byFrame ? " after dragging the frame" : " after SetWindowPos");

    const int shown = ShownLeft(Side(), widened);
    EXPECT_TRUE(WaitUntil([&] { return PanelLeft(window) == shown && PanelTop(window) == -4; }, 3s))
        << "not re-docked: left " << PanelLeft(window) << " (want " << shown << "), top " << PanelTop(window);
    EXPECT_EQ(ClientHeightOf(window), ScreenHeight() + 4);
    // The strip follows the width: the close button sits at the new corner.
    EXPECT_TRUE(WaitForCloseCross(window, Side())) << "no close cross at the new corner";
    SaveScreenshotPng(ShotName(L"widened"));

    const POINT rest = RestingSpotOverPanel(Side(), widened);
    MovePointer(rest.x, rest.y);
    ASSERT_TRUE(panel.Close());
    const auto ini = ReadIni();
    ASSERT_TRUE(ini && ini->count(L"Keelstrip")) << "no section Keelstrip saved";
    EXPECT_EQ(SettingValue(ini->at(L"Keelstrip"), L"Width"), std::to_wstring(widened));
}

INSTANTIATE_TEST_SUITE_P(Sides, Docking, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Left" : "Right"; });

}  // namespace
}  // namespace e2e
