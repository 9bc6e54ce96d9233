// Feeds arbitrary bytes to the icon collection reader. Besides the
// sanitizers' checks: every picture handed over is 32 x 32 and comes in
// order, a refusal carries one of the reader's own messages, and a read that
// ends without error has handed over as many pictures as it says.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/errors.h"
#include "dialogs/icon_collection.h"

using namespace tilerack;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    int handed = 0;
    const auto add = [&](const TBitmap& picture, int index) {
        if (picture.Width() != 32 || picture.Height() != 32 || index != handed) std::abort();
        ++handed;
    };
    try {
        if (ReadIconCollection(in, add) != handed) std::abort();
    } catch (const TError& e) {
        if (std::strcmp(e.what(), kBitmapInvalid) != 0 && std::strcmp(e.what(), kStreamReadError) != 0 &&
            std::strcmp(e.what(), kInvalidImageSize) != 0)
            std::abort();
    }
    if (in.Position() > size) std::abort();
    return 0;
}
