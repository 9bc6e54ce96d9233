#include "platform/display_scale.h"

#include <algorithm>

namespace tilerack::win {

namespace {

HMODULE User32() {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32;
}

template <typename Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(User32(), name)));
}

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

RECT AdjustedFrame(DWORD style, DWORD exStyle, int clientHeight, int dpi) {
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, 0, clientHeight};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

}  // namespace

int SystemDpi() {
    static const auto forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    if (forSystem) return static_cast<int>(forSystem());
    WindowDC screen;
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

SIZE DragDistanceFor(int dpi) {
    static const auto metricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    // Read for 96 DPI and scaled here: a system that keeps one unscaled value
    // (Wine) gets the same distance per scale as one that scales it.
    const auto designed = [&](int metric) {
        const int value = metricsForDpi ? metricsForDpi(metric, 96) : MulDiv(GetSystemMetrics(metric), 96, SystemDpi());
        return std::max(value, 1);
    };
    return SIZE{MulDiv(designed(SM_CXDRAG), dpi, 96), MulDiv(designed(SM_CYDRAG), dpi, 96)};
}

int FrameBorder(DWORD style, DWORD exStyle, int dpi) { return -AdjustedFrame(style, exStyle, 0, dpi).left; }

int FrameHeightFor(DWORD style, DWORD exStyle, int clientHeight, int dpi) {
    const RECT frame = AdjustedFrame(style, exStyle, clientHeight, dpi);
    return frame.bottom - frame.top;
}

UniqueFont FontForDpi(HFONT font, int dpi) {
    const int system = SystemDpi();
    if (dpi == system || !font) return UniqueFont();
    LOGFONTW lf{};
    if (!GetObjectW(font, sizeof(lf), &lf)) return UniqueFont();
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, system);
    lf.lfWidth = MulDiv(lf.lfWidth, dpi, system);
    return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace tilerack::win
