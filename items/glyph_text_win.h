#pragma once
// The glyph tile's text measuring and drawing done with GDI.
#include <string>

#include "items/glyph_painter.h"

namespace tilerack {

// Measures and draws through a memory DC; Draw hands the picture's pixels to
// GDI in a DIB section and copies the result back.
class TGdiGlyphTextRenderer : public IGlyphTextRenderer {
public:
    TextSize Measure(const std::string& face, int points, const std::string& text) override;
    void Draw(TBitmap& target, const std::string& face, int points, Color color, int x, int y,
              const ClipRect& clip, const std::string& text) override;
};

// Paints a new glyph tile from the program's generator with GDI text.
void DrawRandomGlyph(int width, int height, TBitmap& bitmap);

}  // namespace tilerack
