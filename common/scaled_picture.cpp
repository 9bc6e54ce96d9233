#include "common/scaled_picture.h"

#include <optional>

#include "common/covered_picture.h"

namespace tilerack {

void DrawPictureAtScale(TBitmap& target, int x, int y, const TBitmap& picture, DpiScale scale, bool keyed) {
    if (picture.Empty()) return;
    if (scale.IsBase()) {
        if (keyed)
            DrawGlyphImage(target, x, y, picture, 0, 1);
        else
            target.Draw(x, y, picture);
        return;
    }
    const int width = scale.Scale(picture.Width()), height = scale.Scale(picture.Height());
    if (keyed)
        DrawGlyphImageScaled(target.Rows(), x, y, picture, 0, 1, width, height);
    else
        DrawCovered(target.Rows(), x, y, ScaleSmooth(CoverPicture(picture, 0, picture.Width(), std::nullopt), width, height));
}

TBitmap ScaledSmoothly(const TBitmap& picture, int width, int height) {
    TBitmap out(width, height);
    DrawCovered(out.Rows(), 0, 0,
                ScaleSmooth(CoverPicture(picture, 0, picture.Width(), std::nullopt), width, height));
    return out;
}

}  // namespace tilerack
