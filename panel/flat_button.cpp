#include "panel/flat_button.h"

#include <algorithm>

#include "items/shortcut.h"

namespace tilerack {

int TFlatButton::ImageIndex() const {
    if (numGlyphs < 5) return 0;
    if (pressed && hot) return 2;
    return hot ? 0 : 4;
}

int TItemButton::ImageWidth() const { return item ? item->Icon.Width() : 0; }

int TItemButton::ImageHeight() const { return item ? item->Icon.Height() : 0; }

void TItemButton::DrawImage(PixelRows target, int x, int y) const {
    if (item && painter) painter->Draw(target, x, y, item->Icon, ImageIndex());
}

}  // namespace tilerack
