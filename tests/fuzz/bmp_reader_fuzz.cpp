// Feeds arbitrary bytes to the embedded bitmap reader. Besides the sanitizers'
// checks: a refused image must be refused with one of the reader's own
// messages, and an accepted one must survive the writer and the reader again.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/bmp_codec.h"
#include "common/errors.h"

using namespace tilerack;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    TBitmap picture;
    try {
        ReadEmbeddedBitmap(in, picture);
    } catch (const TError& e) {
        if (std::strcmp(e.what(), kBitmapInvalid) != 0 && std::strcmp(e.what(), kStreamReadError) != 0)
            std::abort();
        return 0;
    }
    if (in.Position() > size) std::abort();
    // The round trip is checked on pictures of icon size and somewhat beyond;
    // copying the largest accepted pictures three times over would only slow
    // the search down.
    if (static_cast<int64_t>(picture.Width()) * picture.Height() > 256 * 256) return 0;

    ByteWriter out;
    WriteEmbeddedBitmap(out, picture);
    ByteReader again(out.Bytes());
    TBitmap copy;
    ReadEmbeddedBitmap(again, copy);
    if (!again.AtEnd() || !copy.SamePixels(picture) || copy.palette != picture.palette ||
        copy.xPelsPerMeter != picture.xPelsPerMeter || copy.yPelsPerMeter != picture.yPelsPerMeter)
        std::abort();
    return 0;
}
