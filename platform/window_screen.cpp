#include "platform/window_screen.h"

#include "platform/display_scale.h"

namespace tilerack::win {

namespace {

// MDT_EFFECTIVE_DPI of GetDpiForMonitor.
constexpr int kEffectiveDpi = 0;
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// The scale of one screen. GetDpiForMonitor lives in shcore.dll, which the
// program otherwise never needs: loaded the first time a dialog opens. Only
// a system that scales windows per screen (GetDpiForWindow) has per-screen
// scales worth asking for.
int MonitorDpi(HMONITOR monitor) {
    static const bool perScreen = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow") != nullptr;
    static const auto forMonitor = [] {
        HMODULE shcore = perScreen ? LoadLibraryW(L"shcore.dll") : nullptr;
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return SystemDpi();
}

}  // namespace

WindowScreen ScreenOfWindow(HWND window) {
    HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    WindowScreen screen;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        screen.workArea = info.rcWork;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen.workArea, 0);
    }
    screen.dpi = MonitorDpi(monitor);
    return screen;
}

}  // namespace tilerack::win
