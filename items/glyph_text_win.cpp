#include "items/glyph_text_win.h"

#include <windows.h>

#include <cstring>

#include "items/random.h"
#include "items/wide_text_win.h"

namespace tilerack {

namespace {

class UniqueDC {
public:
    explicit UniqueDC(HDC dc) : dc_(dc) {}
    ~UniqueDC() { if (dc_) DeleteDC(dc_); }
    UniqueDC(const UniqueDC&) = delete;
    UniqueDC& operator=(const UniqueDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
private:
    HDC dc_;
};

template <typename Handle>
class UniqueGdiObject {
public:
    explicit UniqueGdiObject(Handle handle) : handle_(handle) {}
    ~UniqueGdiObject() { if (handle_) DeleteObject(handle_); }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
private:
    Handle handle_;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;

// Puts the DC's previous object back before the selected one is deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() { if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font of `points` points at the DC's vertical resolution; the negative
// height asks for the character height rather than the cell height.
HFONT CreatePointFont(HDC dc, const std::string& face, int points) {
    const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    const std::wstring wideFace = WideFromCp1251(face);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, wideFace.c_str());
}

}  // namespace

TextSize TGdiGlyphTextRenderer::Measure(const std::string& face, int points,
                                        const std::string& text) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    UniqueFont font(CreatePointFont(dc.get(), face, points));
    if (!font) return {};
    SelectGuard selectFont(dc.get(), font.get());
    const std::wstring wide = WideFromCp1251(text);
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent))
        return {};
    return {static_cast<int>(extent.cx), static_cast<int>(extent.cy)};
}

void TGdiGlyphTextRenderer::Draw(TBitmap& target, const std::string& face, int points,
                                 Color color, int x, int y, const ClipRect& clip,
                                 const std::string& text) {
    if (target.Empty()) return;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return;

    // A top-down 24-bit DIB has exactly the picture's row layout.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = target.Width();
    info.bmiHeader.biHeight = -target.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return;
    std::memcpy(bits, target.Bits(), target.ByteSize());

    UniqueFont font(CreatePointFont(dc.get(), face, points));
    if (!font) return;
    {
        SelectGuard selectBitmap(dc.get(), dib.get());
        SelectGuard selectFont(dc.get(), font.get());
        SetTextColor(dc.get(), static_cast<COLORREF>(color));
        SetBkMode(dc.get(), TRANSPARENT);
        const RECT clipRect{clip.left, clip.top, clip.right, clip.bottom};
        const std::wstring wide = WideFromCp1251(text);
        ExtTextOutW(dc.get(), x, y, ETO_CLIPPED, &clipRect, wide.c_str(),
                    static_cast<UINT>(wide.size()), nullptr);
        GdiFlush();
    }
    std::memcpy(target.Bits(), bits, target.ByteSize());
    target.Changed();
}

void DrawRandomGlyph(int width, int height, TBitmap& bitmap) {
    TGdiGlyphTextRenderer renderer;
    DrawRandomGlyph(width, height, bitmap, ProgramRandom(), renderer);
}

}  // namespace tilerack
