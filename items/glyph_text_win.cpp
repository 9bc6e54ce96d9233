#include "items/glyph_text_win.h"

#include <windows.h>

#include "common/random.h"
#include "platform/dib.h"
#include "platform/fonts.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack {

TextSize TGdiGlyphTextRenderer::Measure(const std::string& face, int points, const std::string& text) {
    win::UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    win::UniqueFont font = win::MakePointFont(dc.get(), win::Widen(face), points);
    if (!font) return {};
    win::SelectScope selectFont(dc.get(), font.get());
    const std::wstring wide = win::Widen(text);
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent)) return {};
    return {static_cast<int>(extent.cx), static_cast<int>(extent.cy)};
}

void TGdiGlyphTextRenderer::Draw(TBitmap& target, const std::string& face, int points, Color color, int x, int y,
                                 const ClipRect& clip, const std::string& text) {
    if (target.Empty()) return;
    win::DibCanvas canvas(target.Width(), target.Height());
    if (!canvas.Valid()) return;
    canvas.CopyFrom(target);
    win::UniqueFont font = win::MakePointFont(canvas.dc(), win::Widen(face), points);
    if (!font) return;
    {
        win::SelectScope selectFont(canvas.dc(), font.get());
        SetTextColor(canvas.dc(), static_cast<COLORREF>(color));
        SetBkMode(canvas.dc(), TRANSPARENT);
        const RECT clipRect{clip.left, clip.top, clip.right, clip.bottom};
        const std::wstring wide = win::Widen(text);
        ExtTextOutW(canvas.dc(), x, y, ETO_CLIPPED, &clipRect, wide.c_str(), static_cast<UINT>(wide.size()),
                    nullptr);
    }
    canvas.CopyTo(target);
}

void DrawRandomGlyph(int width, int height, TBitmap& bitmap) {
    TGdiGlyphTextRenderer renderer;
    DrawRandomGlyph(width, height, bitmap, ProgramRandom(), renderer);
}

}  // namespace tilerack
