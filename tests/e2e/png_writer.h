// Minimal PNG encoder for test screenshots: 8-bit RGB, the image data held in
// uncompressed ("stored") deflate blocks, so no compression library is needed.
#pragma once

#include <cstdint>
#include <vector>

#include "common/bitmap.h"

namespace e2e {

std::vector<std::uint8_t> EncodePng(const tilerack::TBitmap& picture);

}  // namespace e2e
