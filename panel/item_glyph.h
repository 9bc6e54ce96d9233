#pragma once
// Pictures of the strip: the five-image glyph of an item button and the
// arrow glyphs of the hide and menu buttons.
#include "common/bitmap.h"

namespace tilerack {

inline constexpr double kGlyphGain = 1.07;

// The five images of an item button side by side, each a copy of `icon`; the
// first brightened: every pixel whose colour differs from the glyph's top-left
// pixel gets blue*gain+24, green*gain+10, red*gain+32, rounded half to even,
// at most 255. Images 2 to 5 are plain copies.
TBitmap BuildItemGlyph(const TBitmap& icon, double gain = kGlyphGain);

// The brightening of one channel value (exposed for tests).
int BrightenChannel(int value, double gain, int add);

// Mirrors a picture left to right in place.
void MirrorBitmap(TBitmap& bitmap);

// The 16 x 9 arrow picture "BRIGHT": three arrowheads pointing right on the
// background colour RGB(32, 32, 0).
TBitmap MakeBrightArrows();
inline constexpr Color kBrightBackground = Rgb(32, 32, 0);

// The 8 x 9 close cross: black on silver RGB(192, 192, 192).
TBitmap MakeCloseCross();

struct ArrowGlyphs {
    TBitmap menu;  // one copy of the arrows, mirrored on the right side
    TBitmap hide;  // four copies side by side, mirrored on the left side
};
// Builds both glyphs for a side from the arrow picture.
ArrowGlyphs BuildArrowGlyphs(const TBitmap& bright, int side);

}  // namespace tilerack
