#include "panel/flat_button.h"

#include <algorithm>

namespace tilerack {

int TFlatButton::ImageIndex() const {
    if (numGlyphs < 5) return 0;
    if (pressed && hot) return 2;
    return hot ? 0 : 4;
}

void DrawGlyphImage(TBitmap& target, int x, int y, const TBitmap& glyph, int index, int count) {
    if (glyph.Empty() || count <= 0) return;
    const int w = glyph.Width() / count;
    const int h = glyph.Height();
    const uint8_t* key = glyph.Row(h - 1);  // the lower-left pixel
    const int sx0 = index * w;
    for (int row = std::max(0, -y); row < h && y + row < target.Height(); ++row) {
        const uint8_t* src = glyph.Row(row);
        uint8_t* dst = target.Row(y + row);
        for (int col = std::max(0, -x); col < w && x + col < target.Width(); ++col) {
            const uint8_t* p = src + (sx0 + col) * 3;
            if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
            uint8_t* q = dst + (x + col) * 3;
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
    }
}

}  // namespace tilerack
