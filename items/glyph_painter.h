#pragma once
// Generated glyph pictures: a random bevelled tile with one "Webdings" symbol
// drawn over it with a black shadow.
#include <string>

#include "common/bitmap.h"
#include "common/random.h"

namespace tilerack {

struct TextSize {
    int width = 0, height = 0;
};

struct ClipRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// Text measuring and drawing on a picture; GDI on Windows, a fake in tests.
class IGlyphTextRenderer {
public:
    virtual ~IGlyphTextRenderer() = default;
    // Measures `text` in the font `face` at `points` points (one line).
    virtual TextSize Measure(const std::string& face, int points, const std::string& text) = 0;
    // Draws `text` with its cell's top-left at (x, y), clipped to `clip`,
    // with a transparent background.
    virtual void Draw(TBitmap& target, const std::string& face, int points, Color color,
                      int x, int y, const ClipRect& clip, const std::string& text) = 0;
};

inline constexpr const char* kGlyphFontFace = "Webdings";
inline constexpr int kGlyphStartPoints = 10;
// The fitting stops here even when the text never reaches the bound, so that a
// font whose measured extent does not grow (missing or broken) cannot hang it.
inline constexpr int kGlyphMaxPoints = 400;

// Fills the tile's background pattern from the six pattern reals (step 3).
void PaintGlyphPattern(TBitmap& bitmap, const double r[6]);

// The font size at which the symbol is drawn: counting up from 10 points, the
// last size whose larger extent stays below width - 2 (9 when 10 already
// reaches it). Never more than kGlyphMaxPoints.
int FitGlyphPoints(IGlyphTextRenderer& renderer, const std::string& text, int width);

// Resizes `bitmap` to width x height at 24 bits and paints a new glyph tile.
// Draws six reals, then an integer below 96, then one below 256.
void DrawRandomGlyph(int width, int height, TBitmap& bitmap, IRandom& random,
                     IGlyphTextRenderer& renderer);

}  // namespace tilerack
