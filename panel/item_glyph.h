#pragma once
// Pictures of the strip: the five-image glyph of an item button and the
// arrow glyphs of the hide and menu buttons.
#include <array>
#include <cstdint>

#include "common/bitmap.h"
#include "common/covered_picture.h"
#include "common/panel_settings.h"

namespace tilerack {

inline constexpr double kGlyphGain = 1.07;

// The glyph of an item button: five images of the item's icon side by side,
// the first brightened: every pixel whose colour differs from the icon's
// top-left pixel gets blue*gain+24, green*gain+10, red*gain+32, rounded half
// to even, at most 255. Images 2 to 5 are plain copies. Like any glyph it is
// drawn without the pixels of its lower-left colour, the first image's.
//
// The painter draws an image of that glyph straight from the icon: buttons
// keep no glyph of their own, so a long list costs no picture memory beyond
// its icons, and a button scrolled into view looks exactly like one shown
// from the start.
class ItemGlyphPainter {
public:
    static constexpr int kImages = 5;

    explicit ItemGlyphPainter(double gain = kGlyphGain);

    // Draws image `index` (0 to 4) of the glyph of `icon` at (x, y), clipped.
    void Draw(PixelRows target, int x, int y, const TBitmap& icon, int index) const;
    // Image `index` as colour and coverage: the pixels Draw leaves out are
    // see-through. What a larger scale scales smoothly.
    CoveredPicture Cover(const TBitmap& icon, int index) const;

private:
    std::array<std::array<uint8_t, 256>, 3> brighter_;  // blue, green, red
};

// The brightening of one channel value (exposed for tests).
int BrightenChannel(int value, double gain, int add);

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
ArrowGlyphs BuildArrowGlyphs(const TBitmap& bright, PanelSide side);

}  // namespace tilerack
