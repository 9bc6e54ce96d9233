#pragma once
// The screen a window stands on, for a window that opens beside it: its
// work area and its display scale.
#include <windows.h>

namespace tilerack::win {

struct WindowScreen {
    RECT workArea{};
    int dpi = 96;
};

// The screen nearest to `window` (the primary one for none): its work area
// and its scale, which is the system's where the system has no scale per
// screen.
WindowScreen ScreenOfWindow(HWND window);

}  // namespace tilerack::win
