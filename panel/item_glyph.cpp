#include "panel/item_glyph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace tilerack {

int BrightenChannel(int value, double gain, int add) {
    // nearbyint under the default rounding mode rounds halves to even.
    const double brightened = std::nearbyint(value * gain + add);
    return static_cast<int>(std::clamp(brightened, 0.0, 255.0));
}

ItemGlyphPainter::ItemGlyphPainter(double gain) {
    constexpr int kAdd[3] = {24, 10, 32};
    for (int channel = 0; channel < 3; ++channel)
        for (int v = 0; v < 256; ++v)
            brighter_[channel][v] = static_cast<uint8_t>(BrightenChannel(v, gain, kAdd[channel]));
}

namespace {

// Visits the pixels image `index` of the glyph of `icon` shows, with their
// colour, and those it leaves out.
template <typename Visit>
void VisitGlyphImage(const TBitmap& icon, int index, const std::array<std::array<uint8_t, 256>, 3>& brighter,
                     int rowFrom, int rowTo, int colFrom, int colTo, Visit&& visit) {
    const uint8_t* topLeft = icon.Row(0);
    auto isBackground = [topLeft](const uint8_t* p) {
        return p[0] == topLeft[0] && p[1] == topLeft[1] && p[2] == topLeft[2];
    };
    // The colour left out: the first image's lower-left pixel.
    uint8_t key[3];
    const uint8_t* lowerLeft = icon.Row(icon.Height() - 1);
    const bool keyBrightened = !isBackground(lowerLeft);
    for (int c = 0; c < 3; ++c) key[c] = keyBrightened ? brighter[c][lowerLeft[c]] : lowerLeft[c];

    const bool bright = index == 0;
    for (int row = rowFrom; row < rowTo; ++row) {
        const uint8_t* src = icon.Row(row);
        for (int col = colFrom; col < colTo; ++col) {
            const uint8_t* p = src + col * 3;
            uint8_t v[3] = {p[0], p[1], p[2]};
            if (bright && !isBackground(p))
                for (int c = 0; c < 3; ++c) v[c] = brighter[c][v[c]];
            const bool shown = !(v[0] == key[0] && v[1] == key[1] && v[2] == key[2]);
            visit(col, row, v, shown);
        }
    }
}

}  // namespace

void ItemGlyphPainter::Draw(PixelRows target, int x, int y, const TBitmap& icon, int index) const {
    if (icon.Empty()) return;
    const int w = icon.Width(), h = icon.Height();
    VisitGlyphImage(icon, index, brighter_, std::max(0, -y), std::min(h, target.height - y), std::max(0, -x),
                    std::min(w, target.width - x), [&](int col, int row, const uint8_t* v, bool shown) {
                        if (!shown) return;
                        uint8_t* q = target.Row(y + row) + (x + col) * 3;
                        q[0] = v[0];
                        q[1] = v[1];
                        q[2] = v[2];
                    });
}

CoveredPicture ItemGlyphPainter::Cover(const TBitmap& icon, int index) const {
    CoveredPicture out(icon.Width(), icon.Height());
    if (icon.Empty()) return out;
    VisitGlyphImage(icon, index, brighter_, 0, icon.Height(), 0, icon.Width(),
                    [&](int col, int row, const uint8_t* v, bool shown) {
                        uint8_t* q = out.At(col, row);
                        q[0] = v[0];
                        q[1] = v[1];
                        q[2] = v[2];
                        q[3] = shown ? 255 : 0;
                    });
    return out;
}

TBitmap MakeBrightArrows() {
    // Three arrowheads pointing right: '.' background, 'K' black, 'W' white.
    static constexpr std::array<const char*, 9> kRows = {
        ".K....K....K....",
        "KWK..KWK..KWK...",
        "KWWK.KWWK.KWWK..",
        "KWWWKKWWWKKWWWK.",
        "KWWWWKWWWWKWWWWK",
        "KWWWKKWWWKKWWWK.",
        "KWWK.KWWK.KWWK..",
        "KWK..KWK..KWK...",
        ".K....K....K....",
    };
    TBitmap bright(16, static_cast<int>(kRows.size()));
    BitmapUpdate update(bright);
    for (int y = 0; y < bright.Height(); ++y)
        for (int x = 0; x < bright.Width(); ++x) {
            const char c = kRows[y][x];
            bright.SetPixel(x, y, c == 'K' ? Rgb(0, 0, 0) : c == 'W' ? Rgb(255, 255, 255) : kBrightBackground);
        }
    return bright;
}

TBitmap MakeCloseCross() {
    // Black columns of each row from the top; the cross is symmetric.
    static constexpr std::array<std::array<int, 4>, 4> kArms = {{
        {0, 1, 6, 7}, {1, 2, 5, 6}, {2, 3, 4, 5}, {3, 4, 3, 4},
    }};
    TBitmap cross(8, 9);
    BitmapUpdate update(cross);
    cross.Fill(Rgb(192, 192, 192));
    for (int i = 0; i < 4; ++i)
        for (int x : kArms[i]) {
            cross.SetPixel(x, 1 + i, Rgb(0, 0, 0));
            cross.SetPixel(x, 7 - i, Rgb(0, 0, 0));
        }
    return cross;
}

ArrowGlyphs BuildArrowGlyphs(const TBitmap& bright, PanelSide side) {
    ArrowGlyphs glyphs;
    glyphs.menu = bright;
    glyphs.hide.SetSize(4 * bright.Width(), bright.Height());
    for (int i = 0; i < 4; ++i) glyphs.hide.Draw(i * bright.Width(), 0, bright);
    // The hide arrows point towards the screen edge, the menu arrows away.
    MirrorBitmap(side == PanelSide::Left ? glyphs.hide : glyphs.menu);
    return glyphs;
}

}  // namespace tilerack
