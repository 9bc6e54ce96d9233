#include "platform/fonts.h"

#include "platform/display_scale.h"

namespace tilerack::win {

UniqueFont MakeFont(const std::wstring& face, int pixels, BYTE charset, int weight, bool italic) {
    // A negative height asks for the character height rather than the cell's.
    return UniqueFont(CreateFontW(-pixels, 0, 0, 0, weight, italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

UniqueFont MakeStatusFont(int dpi) {
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return UniqueFont(CreateFontIndirectW(&metrics.lfStatusFont));
    // Older systems give the metrics at the system's scale only.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return UniqueFont();
    LOGFONTW& lf = metrics.lfStatusFont;
    const int system = SystemDpi();
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, system);
    lf.lfWidth = MulDiv(lf.lfWidth, dpi, system);
    return UniqueFont(CreateFontIndirectW(&lf));
}

UniqueFont MakePointFont(HDC dc, const std::wstring& face, int points, int weight, bool italic) {
    return MakePointFont(GetDeviceCaps(dc, LOGPIXELSY), face, points, weight, italic);
}

UniqueFont MakePointFont(int dpi, const std::wstring& face, int points, int weight, bool italic) {
    return MakeFont(face, MulDiv(points, dpi, 72), DEFAULT_CHARSET, weight, italic);
}

}  // namespace tilerack::win
