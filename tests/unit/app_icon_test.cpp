// The program's icon file as committed (res/mainicon.ico, written by
// scripts/make-app-icon.py): every size Windows asks for, 32 bits with
// alpha, and the drawing of the old 32 x 32 icon.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadIconFile() {
    std::ifstream f(std::string(TILERACK_SOURCE_DIR) + "/res/mainicon.ico", std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + i);
    return v;
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b.at(at)) << 24) | (b.at(at + 1) << 16) | (b.at(at + 2) << 8) | b.at(at + 3);
}

struct Entry {
    int size = 0, bitCount = 0;
    size_t offset = 0, bytes = 0;
};

std::vector<Entry> Entries(const std::vector<uint8_t>& file) {
    std::vector<Entry> entries;
    const int count = static_cast<int>(Le(file, 4, 2));
    for (int i = 0; i < count; ++i) {
        const size_t at = 6 + 16 * static_cast<size_t>(i);
        entries.push_back({file.at(at) ? file.at(at) : 256, static_cast<int>(Le(file, at + 6, 2)),
                           Le(file, at + 12, 4), Le(file, at + 8, 4)});
    }
    return entries;
}

// Pixel (x, y) from the top of a 32-bit bitmap image as 0xAARRGGBB.
uint32_t BitmapPixel(const std::vector<uint8_t>& file, const Entry& e, int x, int y) {
    const size_t row = static_cast<size_t>(e.size - 1 - y);
    return Le(file, e.offset + 40 + (row * e.size + x) * 4, 4);
}

TEST(AppIcon, HoldsEverySizeAt32BitsWithItsOwnImages) {
    const std::vector<uint8_t> file = ReadIconFile();
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Le(file, 0, 2), 0u);
    EXPECT_EQ(Le(file, 2, 2), 1u);  // an icon, not a cursor
    const std::vector<Entry> entries = Entries(file);
    std::vector<int> sizes;
    for (const Entry& e : entries) sizes.push_back(e.size);
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.size);
        EXPECT_EQ(e.bitCount, 32);
        ASSERT_LE(e.offset + e.bytes, file.size());
        if (e.size == 256) {
            // PNG: signature, then IHDR with the size, 8 bits, RGBA.
            EXPECT_EQ(Be32(file, e.offset), 0x89504E47u);
            EXPECT_EQ(Be32(file, e.offset + 16), 256u);
            EXPECT_EQ(Be32(file, e.offset + 20), 256u);
            EXPECT_EQ(file.at(e.offset + 24), 8);
            EXPECT_EQ(file.at(e.offset + 25), 6);
            continue;
        }
        EXPECT_EQ(Le(file, e.offset, 4), 40u);
        EXPECT_EQ(Le(file, e.offset + 4, 4), uint32_t(e.size));
        EXPECT_EQ(Le(file, e.offset + 8, 4), uint32_t(2 * e.size));  // colour and mask
        EXPECT_EQ(Le(file, e.offset + 14, 2), 32u);
        const size_t maskStride = (e.size + 31) / 32 * 4;
        EXPECT_EQ(e.bytes, 40u + e.size * e.size * 4 + maskStride * e.size);
        // The corners are see-through, the middle of the panel is not, and
        // the AND mask agrees with the alpha everywhere.
        EXPECT_EQ(BitmapPixel(file, e, 0, 0) >> 24, 0u);
        EXPECT_EQ(BitmapPixel(file, e, e.size / 2, e.size / 2) >> 24, 255u);
        const size_t maskAt = e.offset + 40 + static_cast<size_t>(e.size) * e.size * 4;
        for (int y = 0; y < e.size; ++y)
            for (int x = 0; x < e.size; ++x) {
                const bool masked = file.at(maskAt + (e.size - 1 - y) * maskStride + x / 8) & (0x80 >> (x % 8));
                ASSERT_EQ(masked, (BitmapPixel(file, e, x, y) >> 24) == 0) << x << "," << y;
            }
    }
}

TEST(AppIcon, Its32PixelImageIsTheClassicPanelWithThreeTiles) {
    const std::vector<uint8_t> file = ReadIconFile();
    const std::vector<Entry> entries = Entries(file);
    ASSERT_EQ(entries.size(), 8u);
    const Entry& e = entries[3];
    ASSERT_EQ(e.size, 32);
    struct Probe {
        int x, y;
        uint32_t argb;
    };
    const std::array<Probe, 10> probes{{
        {5, 15, 0x00000000},   // beside the panel
        {6, 15, 0xFF808080},   // its grey frame
        {7, 15, 0xFFC0C0C0},   // its face
        {9, 4, 0xFF000000},    // the first tile's black frame
        {15, 5, 0xFFFFFFFF},   // its highlight
        {15, 7, 0xFFFF0000},   // red
        {15, 15, 0xFF0000FF},  // blue
        {15, 23, 0xFF00FF00},  // green
        {25, 30, 0xFF808080},  // the frame's far corner
        {26, 30, 0x00000000},
    }};
    for (const Probe& p : probes) {
        const uint32_t pixel = BitmapPixel(file, e, p.x, p.y);
        EXPECT_EQ(p.argb >> 24 ? pixel : pixel & 0xFF000000, p.argb) << p.x << "," << p.y;
    }
}

}  // namespace
