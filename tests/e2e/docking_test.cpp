// Docking at either screen edge: the shown and hidden places, sliding out
// when the pointer stays away and in when it rests at the edge, the hide
// button, the tray double click and re-docking after the width changes.
#include "e2e_harness.h"

namespace e2e {
namespace {

class Docking : public PanelTest, public ::testing::WithParamInterface<Side> {
protected:
    Side DockedSide() const { return GetParam(); }
    std::wstring ShotName(const wchar_t* step) const { return CurrentTestName() + L"." + step; }
    // The panel shown at this side with the delay `timeOut`.
    HWND Start(int timeOut) {
        return StartPanel(
            {.side = DockedSide(), .settings = {SideSetting(DockedSide()), "TimeOut=" + std::to_string(timeOut)}});
    }
};

TEST_P(Docking, SlidesOutWhenThePointerStaysAwayAndInWhenItRestsAtTheEdge) {
    HWND window = Start(300);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PanelTop(window), -4);
    EXPECT_EQ(PanelWidth(window), kPanelDefaultWidth);
    EXPECT_EQ(ClientHeightOf(window), ScreenHeight() + 4);

    MovePointerAway();
    EXPECT_TRUE(ReachesHidden(window, DockedSide())) << "did not slide out";
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"hidden"));

    MovePointer(EdgeX(DockedSide()), 300);
    EXPECT_TRUE(ReachesShown(window, DockedSide())) << "did not slide in with the pointer at the edge";
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"shown"));
}

TEST_P(Docking, HideButtonHidesAndTrayDoubleClickBringsItBack) {
    HWND window = Start(300);
    ASSERT_NE(window, nullptr);

    // The hide button shows only while the pointer is near it; its arrows
    // have black outlines, which the blended background never has.
    const RECT hide = ClientRectOnScreen(window, HideButtonRect(window, DockedSide()));
    EXPECT_EQ(CountPixels(CaptureScreen(), hide, IsBlack), 0) << "the hide button shows with the pointer away";
    const POINT target = Centre(hide);
    MoveWithInput(target.x, target.y);
    EXPECT_TRUE(WaitUntil([&] { return CountPixels(CaptureScreen(), hide, IsBlack) > 0; }, 3s))
        << "the hide button did not appear with the pointer at " << target.x << "," << target.y;
    SaveScreenshotPng(ShotName(L"hide-button"));

    ClickOn(window, target);
    EXPECT_TRUE(ReachesHidden(window, DockedSide())) << "the hide button did not hide the panel";

    // Over the panel's place but off the edge zone: only the tray brings it in.
    EXPECT_TRUE(BringIn(window, DockedSide())) << "the tray double click did not show the panel";
    EXPECT_EQ(PanelTop(window), -4);
    SaveScreenshotPng(ShotName(L"after-tray"));
}

TEST_P(Docking, WidthChangedByTheFrameIsReDockedAndSaved) {
    // The drag ends beyond the near zone of the panel's old width: a long
    // delay keeps the panel shown until the new width has taken effect.
    HWND window = Start(60000);
    ASSERT_NE(window, nullptr);

    const int widened = kPanelDefaultWidth + 40;
    const std::string resizedBy = WidenByFrame(window, DockedSide(), 40);
    ASSERT_EQ(resizedBy.find("drag: "), std::string::npos) << resizedBy;
    RecordProperty("resized_by", resizedBy);
    ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window) == widened; }, 3s))
        << "width " << PanelWidth(window) << " instead of " << widened;

    EXPECT_TRUE(ReachesShown(window, DockedSide(), widened)) << "not re-docked";
    EXPECT_EQ(PanelTop(window), -4);
    EXPECT_EQ(ClientHeightOf(window), ScreenHeight() + 4);
    // The strip follows the width: the close button sits at the new corner.
    EXPECT_TRUE(WaitForCloseCross(window, DockedSide())) << "no close cross at the new corner";
    SaveScreenshotPng(ShotName(L"widened"));

    RestPointerOverPanel(DockedSide(), widened);
    ASSERT_TRUE(panel_->Close());
    ASSERT_TRUE(SettingsSaved()) << "no section Keelstrip saved";
    EXPECT_EQ(SavedSetting(L"Width"), std::to_wstring(widened));
}

INSTANTIATE_TEST_SUITE_P(Sides, Docking, kBothSides, SideName);

}  // namespace
}  // namespace e2e
