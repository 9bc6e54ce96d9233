#include "panel/flat_button.h"

#include <algorithm>

#include "items/shortcut.h"

namespace tilerack {

int TFlatButton::ImageIndex(ButtonLook look) const {
    if (numGlyphs < 5) return 0;
    if (look.pressed && look.hot) return 2;
    return look.hot ? 0 : 4;
}

int TItemButton::ImageWidth() const { return item ? item->Icon.Width() : 0; }

int TItemButton::ImageHeight() const { return item ? item->Icon.Height() : 0; }

void TItemButton::DrawImageSized(PixelRows target, int x, int y, int width, int height, ButtonLook look) const {
    if (!item || !painter || item->Icon.Empty()) return;
    const int index = ImageIndex(look);
    const TBitmap& picture = PictureFor(width, height);
    if (width == picture.Width() && height == picture.Height()) {
        painter->Draw(target, x, y, picture, index);
        return;
    }
    // Images 1 to 4 are the same plain copy; only the first is brightened.
    ScaledImage& scaled = scaled_[index == 0 ? 0 : 1];
    if (scaled.picture.Empty() || scaled.width != width || scaled.height != height) {
        scaled.width = width;
        scaled.height = height;
        scaled.picture = ScaleSmooth(painter->Cover(item->Icon, index), width, height);
    }
    DrawCovered(target, x, y, scaled.picture);
}

void TItemButton::ForgetScaledImages() const {
    for (ScaledImage& s : scaled_) s = ScaledImage{};
}

void TItemButton::ForgetSharpPicture() {
    sharp = TBitmap();
    sharpState = SharpState::Unasked;
}

const TBitmap& TItemButton::PictureFor(int width, int height) const {
    if (sharpState == SharpState::Sharp && sharp.Width() == width && sharp.Height() == height) return sharp;
    static const TBitmap none;
    return item ? item->Icon : none;
}

}  // namespace tilerack
