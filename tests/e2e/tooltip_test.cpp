// The hints of the strip's buttons: the very first hover after the start
// shows a hint, each hover over a button shows its hint again, and an item's
// hint of two lines shows as two lines.
#include "e2e_harness.h"

namespace e2e {
namespace {

class StripHints : public PanelTest {
protected:
    // The panel shown with one item whose hint is `hint`.
    HWND Start(const std::string& hint) {
        const ShortRecord item{.fileName = "C:\\x.exe", .caption = "Икс", .hint = hint, .trackDrives = true,
                               .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 0, 200))};
        // The panel stays while the pointer is away.
        return StartPanel({.items = std::vector<ShortRecord>{item}, .settings = {"TimeOut=60000"}});
    }
};

TEST_F(StripHints, EveryHoverShowsTheHintAgain) {
    ASSERT_NE(Start("первая строка\r\nвторая строка"), nullptr);
    for (int round = 0; round < 3; ++round) {
        const auto close = HoverHint(*panel_, window_, CloseButtonRect(window_, Side::Left));
        ASSERT_TRUE(close.has_value()) << "round " << round << ": no hint over the close button";
        EXPECT_EQ(close->text, L"Закрыть");
        const auto hint = HoverHint(*panel_, window_, ItemButtonRect(window_, 0));
        ASSERT_TRUE(hint.has_value()) << "round " << round << ": no hint over the item";
        EXPECT_EQ(hint->text, L"первая строка\r\nвторая строка");
    }
}

// The hint control is made when the pointer first comes over the panel: the
// move that brings it there in one step must already count as the hover.
TEST_F(StripHints, TheFirstHoverAfterTheStartShowsTheHint) {
    ASSERT_NE(Start("Игрек"), nullptr);
    ASSERT_EQ(FindHint(*panel_), nullptr) << "a hint shows before any hover";
    const POINT centre = ItemCentre(window_, 0);
    MoveWithInput(centre.x, centre.y);
    HWND tip = WaitFor([&] { return FindHint(*panel_); }, 5s);
    ASSERT_NE(tip, nullptr) << "no hint at the first hover; the window under the pointer: "
                            << Narrow(WindowClass(WindowFromPoint(centre)));
    EXPECT_EQ(WindowText(tip), L"Игрек");
}

}  // namespace
}  // namespace e2e
