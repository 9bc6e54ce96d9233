// The hints of the strip's buttons: the very first hover after the start
// shows a hint, each hover over a button shows its hint again, and an item's
// hint of two lines shows as two lines.
#include "dialog_driver.h"
#include "e2e_harness.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

class StripHints : public PanelTest {
protected:
    // Rests the pointer on `clientRect` until a hint shows; its text, or
    // nothing. The pointer then leaves to a spot over the panel's empty area.
    std::optional<std::wstring> HoverHint(const PanelProcess& panel, HWND window, RECT clientRect) {
        const POINT spot = RestingSpotOverPanel(0);
        MoveWithInput(spot.x, spot.y);
        // The hint of the previous hover must have gone, or its text would be read.
        if (!WaitUntil([&] { return FindTopWindow(panel.Pid(), L"tooltips_class32") == nullptr; }, 5s)) {
            ADD_FAILURE() << "the previous hint stayed with the pointer off the buttons";
            return std::nullopt;
        }
        const POINT centre = Centre(ClientRectOnScreen(window, clientRect));
        MoveWithInput(centre.x, centre.y);
        HWND tip = nullptr;
        const bool shown =
            WaitUntil([&] { return (tip = FindTopWindow(panel.Pid(), L"tooltips_class32")) != nullptr; }, 5s);
        std::optional<std::wstring> text;
        if (shown) text = WindowText(tip);
        MoveWithInput(spot.x, spot.y);
        return text;
    }
};

TEST_F(StripHints, EveryHoverShowsTheHintAgain) {
    ShortRecord item{.fileName = "C:\\x.exe", .caption = "Икс", .hint = "первая строка\r\nвторая строка",
                     .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 0, 200))};
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), BuildShortsFile({item}).bytes));
    WriteSettings({"TimeOut=60000"});  // the panel stays while the pointer is away
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    for (int round = 0; round < 3; ++round) {
        const auto close = HoverHint(panel, window, CloseButtonRect(window, 0));
        ASSERT_TRUE(close.has_value()) << "round " << round << ": no hint over the close button";
        EXPECT_EQ(*close, L"Закрыть");
        const auto hint = HoverHint(panel, window, ItemButtonRect(window, 0));
        ASSERT_TRUE(hint.has_value()) << "round " << round << ": no hint over the item";
        EXPECT_EQ(*hint, L"первая строка\r\nвторая строка");
    }
}

// The hint control is made when the pointer first comes over the panel: the
// move that brings it there in one step must already count as the hover.
TEST_F(StripHints, TheFirstHoverAfterTheStartShowsTheHint) {
    ShortRecord item{.fileName = "C:\\x.exe", .caption = "Икс", .hint = "Игрек",
                     .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 0, 200))};
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), BuildShortsFile({item}).bytes));
    WriteSettings({"TimeOut=60000"});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(FindTopWindow(panel.Pid(), L"tooltips_class32"), nullptr) << "a hint shows before any hover";
    const POINT centre = Centre(ClientRectOnScreen(window, ItemButtonRect(window, 0)));
    MoveWithInput(centre.x, centre.y);
    HWND tip = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tip = FindTopWindow(panel.Pid(), L"tooltips_class32")) != nullptr; }, 5s))
        << "no hint at the first hover; the window under the pointer: "
        << Narrow(WindowClass(WindowFromPoint(centre)));
    EXPECT_EQ(WindowText(tip), L"Игрек");
}

}  // namespace
}  // namespace e2e
