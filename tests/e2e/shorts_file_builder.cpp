#include "shorts_file_builder.h"

#include <algorithm>
#include <functional>

#include "tests/unit/le_bytes.h"

namespace e2e {

namespace {

using tilerack::testing::InfoBmp;
using tilerack::testing::LeBytes;

// A 24-bit bottom-up image; `colour` gives 0x00BBGGRR for each pixel.
std::vector<std::uint8_t> Bmp24Image(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour) {
    const int stride = (width * 3 + 3) / 4 * 4;
    InfoBmp bmp{.width = width, .height = height, .sizeImage = static_cast<std::uint32_t>(stride * height)};
    for (int y = height - 1; y >= 0; --y) {  // bottom-up rows of blue, green, red
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            bmp.pixels.insert(bmp.pixels.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                                 static_cast<std::uint8_t>(c)});
        }
        bmp.pixels.resize(bmp.pixels.size() + stride - width * 3, 0);
    }
    return bmp.Bytes();
}

}  // namespace

std::vector<std::uint8_t> Bmp24Image(std::uint32_t seed) {
    return Bmp24Image(32, 32, [seed](int x, int y) {
        // Smooth gradients plus a little noise: every byte value matters.
        const std::uint32_t noise = (static_cast<std::uint32_t>(x * 32 + y) + seed * 1013904223u) * 2654435761u;
        const std::uint32_t blue = x * 8 + (noise >> 29), green = y * 8 + seed, red = (x + y) * 4 + (noise >> 24);
        return ((blue & 0xFF) << 16) | ((green & 0xFF) << 8) | (red & 0xFF);
    });
}

std::vector<std::uint8_t> FramedIconBmp(std::uint32_t key, std::uint32_t fill) {
    const std::uint32_t rim = (fill >> 1) & 0x7F7F7F;
    return Bmp24Image(32, 32, [=](int x, int y) {
        const int edge = std::min(std::min(x, y), std::min(31 - x, 31 - y));
        return edge < 2 ? key : edge < 4 ? rim : fill;
    });
}

std::vector<std::uint8_t> KeyedSquareBmp(std::uint32_t key, std::uint32_t fill, int ring) {
    return Bmp24Image(32, 32, [=](int x, int y) {
        const int edge = std::min(std::min(x, y), std::min(31 - x, 31 - y));
        return edge < ring ? key : fill;
    });
}

ShortsFile BuildShortsFile(const std::vector<ShortRecord>& records) {
    ShortsFile file;
    LeBytes b;
    b.U32(static_cast<std::uint32_t>(records.size()));
    for (const auto& record : records) {
        file.recordOffsets.push_back(b.bytes.size());
        b.Text(record.params).Text(record.fileName).Text(record.caption).Text(record.workDir).Text(record.hint);
        b.U8(record.trackDrives ? 1 : 0);
        file.slotOffsets.push_back(b.bytes.size());
        b.U32(record.buttonSlot);
        file.imageOffsets.push_back(b.bytes.size());
        b.Raw(record.image);
    }
    file.bytes = b.bytes;
    return file;
}

bool SameApartFromSlots(const std::vector<std::uint8_t>& saved, const ShortsFile& original) {
    if (saved.size() != original.bytes.size()) return false;
    std::vector<std::uint8_t> expected = original.bytes;
    for (std::size_t offset : original.slotOffsets) std::copy_n(saved.begin() + offset, 4, expected.begin() + offset);
    return saved == expected;
}

}  // namespace e2e
