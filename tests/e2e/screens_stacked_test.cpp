// The panel on a screen below the primary, as run-screens-e2e.sh sets the
// two screens up with E2E_SCREENS_LAYOUT=stacked: the primary 800 x 600 and
// a second screen of the same size under it. The strip's end is that
// screen's bottom, not the primary's: a drag held in the middle of a long
// strip does not scroll it.
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "platform/text.h"

namespace e2e {
namespace {

constexpr wchar_t kStackedHeads[] = L"800x600+0+0,800x600+0+600";
constexpr RECT kLower{0, 600, 800, 1200};

class ScreensStacked : public PanelTest {
protected:
    void SetUp() override {
        if (EnvironmentValue(L"E2E_SCREENS") != kStackedHeads)
            GTEST_SKIP() << "runs in the stacked two-screen pass (E2E_SCREENS_LAYOUT=stacked run-screens-e2e.sh)";
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "Wine does not show the two screens";
        PanelTest::SetUp();
    }
};

TEST_F(ScreensStacked, ADragHeldInTheMiddleOfALongStripOnTheLowerScreenDoesNotScrollIt) {
    if (WindowManager().empty()) GTEST_SKIP() << "a drag at the X server needs the window manager";
    const int fitting = (kLower.bottom - kLower.top - 16) / 34;
    const int count = fitting * 2;
    const std::wstring probe = scratch_->AddProbe();
    std::vector<ShortRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back({.params = "item-" + std::to_string(i),
                           .fileName = tilerack::win::Narrow(probe),
                           .hint = "Проба " + std::to_string(i),
                           .image = FramedIconBmp(RGB(255, 0, 255), RGB(40, (i * 7) % 256, 200))});
    ASSERT_NE(StartPanel({.items = records,
                          .settings = {"TimeOut=60000", "Monitor=lower,0,600,800,600"},
                          .pointer = POINT{30, 900},
                          .shownLeft = -4}),
              nullptr);
    ASSERT_GE(WindowRect(window_).top, kLower.top) << "the panel is not on the lower screen";

    const POINT from = ItemCentre(window_, 0);
    const POINT middle{from.x, (kLower.top + kLower.bottom) / 2};
    std::vector<std::string> words{"mousemove", std::to_string(from.x), std::to_string(from.y), "sleep", "0.15",
                                   "mousedown", "1", "sleep", "0.15"};
    const std::vector<std::string> moves = XMoveSteps(from, middle, 10, 0.05);
    words.insert(words.end(), moves.begin(), moves.end());
    // Long enough for several scroll steps, were the strip to scroll.
    words.insert(words.end(), {"sleep", "2", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), static_cast<size_t>(count));
    int landed = -1;
    for (int i = 0; i < count; ++i)
        if (saved[i].params == "item-0") landed = i;
    EXPECT_GT(landed, 0) << "the item did not move";
    EXPECT_LT(landed, fitting) << "the strip scrolled: the item landed among those that were not shown";
}

}  // namespace
}  // namespace e2e
