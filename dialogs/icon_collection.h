#pragma once
// The icon collection file "icons.dat": a signed 32-bit count followed by
// that many embedded bitmap images, each meant to be 32 x 32.
#include <functional>

#include "common/app_texts.h"  // kInvalidImageSize
#include "common/bitmap.h"
#include "common/byte_stream.h"

namespace tilerack {

inline constexpr const char* kIconCollectionFileName = "icons.dat";

// Reads the count and then each picture, handing it to `add` with its index
// before the next one is read. A picture larger than 32 x 32 is handed over
// scaled to 32 x 32, so it stays one picture. The read stops with TError at
// the damage, after the pictures before it were handed over: "Stream read
// error" for a file shorter than the count or fewer pictures than it says,
// the image reader's own errors, "Invalid image size" for a picture narrower
// or lower than 32. A negative count reads as none. Returns the number of
// pictures handed over.
int ReadIconCollection(ByteReader& in, const std::function<void(const TBitmap& picture, int index)>& add);

// The picture at `size` x `size`: each target pixel is the average of the
// source pixels whose centres fall into it when shrinking, the nearest
// source pixel when growing. An empty picture stays empty.
TBitmap ScaleToSquare(const TBitmap& picture, int size);

}  // namespace tilerack
