// Temporary diagnostics (removed before hand-over).
#include <windows.h>
#include "e2e_harness.h"
#include "screen_capture.h"
namespace e2e {
namespace {
HWND FindTip(DWORD pid) {
    struct S { DWORD pid; HWND found = nullptr; } s{pid};
    EnumWindows([](HWND w, LPARAM c) -> BOOL {
        auto* s = reinterpret_cast<S*>(c);
        DWORD o = 0; GetWindowThreadProcessId(w, &o);
        if (o == s->pid && IsWindowVisible(w) && WindowClass(w) == L"tooltips_class32") { s->found = w; return FALSE; }
        return TRUE; }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
bool Tip(HWND window, DWORD pid) {
    const POINT c = Centre(ClientRectOnScreen(window, CloseButtonRect(window, 0)));
    MoveWithInput(c.x, c.y);
    HWND tip = nullptr;
    bool ok = WaitUntil([&] { return (tip = FindTip(pid)) != nullptr; }, 5s);
    MoveWithInput(500, 400);
    WaitUntil([&] { return FindTip(pid) == nullptr; }, 3s);
    const POINT spot = RestingSpotOverPanel(0);
    MoveWithInput(spot.x, spot.y);
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    ReachesLeft(window, -4);
    return ok;
}
using TuningProbe = PanelTest;
TEST_F(TuningProbe, TooltipTwice) {
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Tip(window, panel.Pid())) << "first";
    EXPECT_TRUE(Tip(window, panel.Pid())) << "second";
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Tip(window, panel.Pid())) << "third after dblclk";
}
}  // namespace
}  // namespace e2e
