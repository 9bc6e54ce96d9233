#include "dialogs/picker_pictures.h"

#include "common/covered_picture.h"
#include "common/scaled_picture.h"
#include "dialogs/icon_collection.h"
#include "dialogs/icon_picker_rules.h"

namespace tilerack {

namespace {
constexpr Color kWhite = Rgb(255, 255, 255);
}

TBitmap PickerSourcePicture(const TBitmap& picture) {
    if (picture.Width() == kPickerIconSize && picture.Height() == kPickerIconSize) return picture;
    return ScaleToSquare(picture, kPickerIconSize);
}

TBitmap PickerShownPicture(const TBitmap& source, std::optional<Color> key, int size) {
    // At its own size the smoothing would copy every pixel as it is.
    if (source.Width() == size && source.Height() == size) return source;
    if (!key) return ScaledSmoothly(source, size, size);
    return FlattenToKey(ScaleSmooth(CoverPicture(source, 0, source.Width(), key), size, size), *key);
}

TBitmap PickerChosenPicture(const TBitmap& source, std::optional<Color> key) {
    TBitmap chosen(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            const Color c = source.Pixel(x, y);
            chosen.SetPixel(x, y, key && c == *key ? kWhite : c);
        }
    return chosen;
}

}  // namespace tilerack
