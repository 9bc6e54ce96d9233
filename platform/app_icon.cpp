#include "platform/app_icon.h"

#include "platform/application.h"
#include "platform/display_scale.h"
#include "platform/window_screen.h"

namespace tilerack::win {

namespace {

// GetSystemMetricsForDpi came with Windows 10 1607; before it the system's
// metric scaled from the system's scale is what a window of `dpi` shows.
int IconMetric(int metric, int dpi) {
    using ForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<ForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (forDpi) return forDpi(metric, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

}  // namespace

int SmallIconSize(int dpi) { return IconMetric(SM_CXSMICON, dpi); }
int LargeIconSize(int dpi) { return IconMetric(SM_CXICON, dpi); }

UniqueIcon LoadAppIcon(int pixels) {
    // Not LR_SHARED: a shared icon is handed out at the size it was first
    // loaded at, whatever size is asked for later.
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(Application::Instance().Module(), L"MAINICON", IMAGE_ICON, pixels, pixels, 0)));
}

UniqueIcon LoadTrayIcon() {
    // The notification area stands on the primary taskbar.
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return LoadAppIcon(SmallIconSize(ScreenOfWindow(taskbar).dpi));
}

void WindowIcons::Apply(HWND window, int dpi) {
    UniqueIcon small = LoadAppIcon(SmallIconSize(dpi));
    UniqueIcon large = LoadAppIcon(LargeIconSize(dpi));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
    small_ = std::move(small);
    large_ = std::move(large);
}

}  // namespace tilerack::win
