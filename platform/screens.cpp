#include "platform/screens.h"

#include "platform/display_scale.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// GetDpiForMonitor (Windows 8.1 on): looked up only with more than one
// screen, where the screens may differ; a single screen has the system's.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
GetDpiForMonitorFn MonitorDpiFunction() {
    static const GetDpiForMonitorFn function = [] {
        const HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return function;
}

struct Found {
    std::vector<HMONITOR> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    reinterpret_cast<Found*>(data)->monitors.push_back(monitor);
    return TRUE;
}

}  // namespace

std::vector<Screen> ListScreens() {
    Found found;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&found));
    std::vector<Screen> screens;
    const int systemDpi = SystemDpi();
    for (HMONITOR monitor : found.monitors) {
        MONITORINFOEXW info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoW(monitor, &info)) continue;
        Screen s;
        s.bounds = ToRect(info.rcMonitor);
        s.work = ToRect(info.rcWork);
        s.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        s.device = Narrow(info.szDevice);
        s.dpi = systemDpi;
        if (found.monitors.size() > 1) {
            UINT x = 0, y = 0;
            constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
            if (const auto dpiFor = MonitorDpiFunction(); dpiFor && SUCCEEDED(dpiFor(monitor, kEffectiveDpi, &x, &y)) && x > 0)
                s.dpi = static_cast<int>(x);
        }
        screens.push_back(s);
    }
    if (screens.empty()) {
        const Rect all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        screens.push_back(Screen{all, all, systemDpi, true, ""});
    }
    return screens;
}

}  // namespace tilerack::win
