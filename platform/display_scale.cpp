#include "platform/display_scale.h"

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
