#include "dialogs/icon_collection.h"

#include <algorithm>
#include <cstdint>

#include "common/bmp_codec.h"
#include "common/errors.h"
#include "dialogs/icon_picker_rules.h"

namespace tilerack {

namespace {

// The source span [first, last) that target cell `i` of `target` cells covers
// along a side of `source` pixels (never empty).
void Span(int i, int source, int target, int& first, int& last) {
    first = static_cast<int>(static_cast<int64_t>(i) * source / target);
    last = static_cast<int>(static_cast<int64_t>(i + 1) * source / target);
    if (last <= first) last = first + 1;
}

}  // namespace

TBitmap ScaleToSquare(const TBitmap& picture, int size) {
    if (picture.Empty()) return TBitmap();
    if (picture.Width() == size && picture.Height() == size) return picture;
    TBitmap scaled(size, size);
    for (int y = 0; y < size; ++y) {
        int top, bottom;
        Span(y, picture.Height(), size, top, bottom);
        for (int x = 0; x < size; ++x) {
            int left, right;
            Span(x, picture.Width(), size, left, right);
            uint64_t sum[3] = {0, 0, 0};
            for (int sy = top; sy < bottom; ++sy) {
                const uint8_t* row = picture.Row(sy);
                for (int sx = left; sx < right; ++sx)
                    for (int c = 0; c < 3; ++c) sum[c] += row[sx * 3 + c];
            }
            const uint64_t count = static_cast<uint64_t>(bottom - top) * (right - left);
            uint8_t* out = scaled.Row(y) + x * 3;
            // Rounded to the nearest value.
            for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
        }
    }
    return scaled;
}

int ReadIconCollection(ByteReader& in, const std::function<void(const TBitmap& picture, int index)>& add) {
    const int32_t count = in.I32();
    TBitmap picture;
    int index = 0;
    for (; index < count; ++index) {
        // The image reader takes the end of the data for an empty picture;
        // here a missing picture is a file cut short.
        if (in.AtEnd()) throw TError(kStreamReadError);
        ReadEmbeddedBitmap(in, picture);
        if (picture.Width() < kPickerIconSize || picture.Height() < kPickerIconSize) throw TError(kInvalidImageSize);
        if (picture.Width() == kPickerIconSize && picture.Height() == kPickerIconSize)
            add(picture, index);
        else
            add(ScaleToSquare(picture, kPickerIconSize), index);
    }
    return index;
}

}  // namespace tilerack
