#pragma once
// Hand assembly of little-endian test files (BMP images, item files), written
// from the published BMP layout and the item file's record table,
// independently of the program's own writer. Shared by the unit and the
// end-to-end tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tilerack::testing {

struct LeBytes {
    std::vector<uint8_t> bytes;

    LeBytes& U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); return *this; }
    LeBytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    LeBytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    LeBytes& Raw(std::initializer_list<uint8_t> raw) { bytes.insert(bytes.end(), raw); return *this; }
    LeBytes& Raw(const std::vector<uint8_t>& raw) {
        bytes.insert(bytes.end(), raw.begin(), raw.end());
        return *this;
    }
    // A text of the item file: signed 32-bit length, then the bytes.
    LeBytes& Text(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
};

// The fields of a BMP with a 14-byte file header and a 40-byte info header.
struct InfoBmp {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint8_t> afterHeader{};  // masks and colour table
    std::vector<uint8_t> pixels{};

    std::vector<uint8_t> Bytes() const {
        const uint32_t offBits = 54 + static_cast<uint32_t>(afterHeader.size());
        LeBytes b;
        b.Raw({'B', 'M'}).U32(offBits + static_cast<uint32_t>(pixels.size())).U16(0).U16(0).U32(offBits);
        b.U32(40).U32(width).U32(height).U16(planes).U16(bitCount).U32(compression).U32(sizeImage);
        b.U32(xPelsPerMeter).U32(yPelsPerMeter).U32(colorsUsed).U32(0);
        b.Raw(afterHeader).Raw(pixels);
        return b.bytes;
    }
};

}  // namespace tilerack::testing
