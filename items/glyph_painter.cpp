#include "items/glyph_painter.h"

#include <algorithm>
#include <cmath>

namespace tilerack {

void PaintGlyphPattern(TBitmap& bitmap, const double r[6]) {
    const double p1 = 32 * r[0];
    const double d1 = 8 * r[1] - 3 * r[2];
    const double d2 = 8 * r[3] - 3 * r[4];
    const double p2 = 32 * r[5];
    const int w = bitmap.Width(), h = bitmap.Height();

    BitmapUpdate update(bitmap);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const int red = static_cast<int>(
                std::trunc(127 * std::sin((x + p1) / (d1 + 5) + (y + p1 + 1) / (d1 + 6)) + 127));
            int green = static_cast<int>(
                std::trunc(127 * std::cos((y + p2) / (d2 + 5) + (x + p2 + 1) / (d2 + 6)) + 127));
            if (x == w - 1 || y == h - 1) green = 0;
            const int blue = (x == 0 || y == 0) ? 255 : 191;
            bitmap.SetPixel(x, y, Rgb(red, green, blue));
        }
    }
}

int FitGlyphPoints(IGlyphTextRenderer& renderer, const std::string& text, int width) {
    const int bound = width - 2;
    int points = kGlyphStartPoints;
    for (;;) {
        const TextSize size = renderer.Measure(kGlyphFontFace, points, text);
        if (std::max(size.width, size.height) >= bound) return points - 1;
        if (points == kGlyphMaxPoints) return points;
        ++points;
    }
}

void DrawRandomGlyph(int width, int height, TBitmap& bitmap, IRandom& random,
                     IGlyphTextRenderer& renderer) {
    BitmapUpdate update(bitmap);
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
    const int w = bitmap.Width(), h = bitmap.Height();

    double r[6];
    for (double& value : r) value = random.NextReal();
    PaintGlyphPattern(bitmap, r);

    const std::string text(1, static_cast<char>(32 + random.NextInt(96)));
    const int points = FitGlyphPoints(renderer, text, w);
    // The clip keeps the one-pixel bevel frame free of the glyph.
    const ClipRect clip{1, 1, w - 1, h - 1};
    renderer.Draw(bitmap, kGlyphFontFace, points, Rgb(0, 0, 0), 2, 2, clip, text);
    const Color face = 0x00FFFF00u + static_cast<Color>(random.NextInt(256));
    renderer.Draw(bitmap, kGlyphFontFace, points, face, 1, 1, clip, text);
}

}  // namespace tilerack
