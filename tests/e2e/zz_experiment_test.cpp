#include "e2e_harness.h"
#include "scenario_support.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"
namespace e2e { namespace {
class ZZ : public PanelTest, public ::testing::WithParamInterface<int> {};
TEST_P(ZZ, Tooltip) {
    ShortRecord r; r.fileName = "notepad.exe"; r.caption = "Блокнот"; r.hint = "Первая\r\nвторая"; r.image = FramedIconBmp(RGB(255,0,255), RGB(200,40,40));
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), BuildShortsFile({r, r}).bytes));
    MovePointer(20, 600);
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    Sleep(1000);
    if (GetParam() & 1) { MovePointer(600, 400); WaitUntil([&] { return PanelLeft(window) < -4; }, 5s); MovePointer(0, 300); WaitUntil([&] { return PanelLeft(window) == -4; }, 5s); }
    if (GetParam() & 2) { MoveWithInput(20, 600); }
    if (GetParam() & 4) { MoveTrayWindowAway(); }
    for (int i = 0; i < 10; ++i) { MoveWithInput(20 + i % 2, 30 + 34 * ((GetParam() & 8) ? 1 : 0)); Sleep(100); }
    bool shown = WaitUntil([&] { for (HWND tip : TopLevelWindows(panel.Pid(), L"tooltips_class32")) if (IsWindowVisible(tip)) return true; return false; }, 3s);
    printf("RESULT param %d tooltip %d\n", GetParam(), shown);
}
INSTANTIATE_TEST_SUITE_P(V, ZZ, ::testing::Values(0, 1, 2, 4, 8, 15));
}}
