// Minimal PNG encoder for test screenshots: 8-bit RGB, the image data held in
// uncompressed ("stored") deflate blocks, so no compression library is needed.
#pragma once

#include <cstdint>
#include <vector>

namespace e2e {

// `rgb` holds `height` rows top to bottom, each `width` pixels of red, green,
// blue with no padding. Returns the complete PNG file.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

}  // namespace e2e
