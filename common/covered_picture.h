#pragma once
// Pictures drawn larger than designed. A keyed picture (one colour of it is
// see-through) is turned into colour plus coverage first, scaled with a
// smoothing filter on premultiplied colour, and drawn blending its edges with
// what lies under it: the see-through colour never bleeds into the picture's
// edge, and the edges are smooth instead of blocky.
#include <cstdint>
#include <optional>
#include <vector>

#include "common/bitmap.h"

namespace tilerack {

struct CoveredPicture {
    int width = 0;
    int height = 0;
    // Blue, green, red and coverage (0 see-through to 255 opaque) per pixel,
    // rows top-down without padding.
    std::vector<uint8_t> pixels;

    CoveredPicture() = default;
    CoveredPicture(int w, int h);
    bool Empty() const { return width <= 0 || height <= 0; }
    uint8_t* At(int x, int y) { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }
    const uint8_t* At(int x, int y) const { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }
};

// The `width` columns of `source` from column `left` on; pixels of colour
// `key` are see-through, all others opaque. Without a key all are opaque.
CoveredPicture CoverPicture(const TBitmap& source, int left, int width, std::optional<Color> key);

// Scaled to width x height: bilinear on premultiplied colour, so see-through
// pixels add nothing to the colour of their neighbours. The same size gives
// an exact copy.
CoveredPicture ScaleSmooth(const CoveredPicture& source, int width, int height);

// Draws the picture with its top-left corner at (x, y), clipped: opaque
// pixels are copied, see-through ones left out, partly covered ones blended
// with the target.
void DrawCovered(PixelRows target, int x, int y, const CoveredPicture& picture);

// Back to a keyed picture for what only knows a see-through colour (an image
// list's mask): pixels covered less than half become `key`; covered pixels
// that happen to be `key` are moved one step off it.
TBitmap FlattenToKey(const CoveredPicture& picture, Color key);

// Image `index` of a glyph of `count` images side by side, drawn at
// width x height with the glyph's lower-left colour see-through: a glyph
// made at 96 DPI drawn at a larger scale.
void DrawGlyphImageScaled(PixelRows target, int x, int y, const TBitmap& glyph, int index, int count, int width,
                          int height);

}  // namespace tilerack
