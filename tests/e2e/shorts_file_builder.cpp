#include "shorts_file_builder.h"

namespace e2e {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    Put32(out, static_cast<std::uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<std::uint8_t> Bmp24Image(int width, int height, std::uint32_t seed) {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * 24 + 31) / 32) * 4;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> image;
    image.push_back('B');
    image.push_back('M');
    Put32(image, 54 + pixelBytes);  // bfSize
    Put16(image, 0);
    Put16(image, 0);
    Put32(image, 54);  // bfOffBits
    Put32(image, 40);  // biSize
    Put32(image, static_cast<std::uint32_t>(width));
    Put32(image, static_cast<std::uint32_t>(height));
    Put16(image, 1);   // planes
    Put16(image, 24);  // bit count
    Put32(image, 0);   // uncompressed
    Put32(image, pixelBytes);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Smooth gradients plus a little noise: every byte value matters.
            state = state * 1664525u + 1013904223u;
            image.push_back(static_cast<std::uint8_t>(x * 8 + (state >> 29)));
            image.push_back(static_cast<std::uint8_t>(y * 8 + seed));
            image.push_back(static_cast<std::uint8_t>((x + y) * 4 + (state >> 24)));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad) image.push_back(0);
    }
    return image;
}

ShortsFile BuildShortsFile(const std::vector<ShortRecord>& records) {
    ShortsFile file;
    Put32(file.bytes, static_cast<std::uint32_t>(records.size()));
    for (const auto& record : records) {
        file.recordOffsets.push_back(file.bytes.size());
        PutText(file.bytes, record.params);
        PutText(file.bytes, record.fileName);
        PutText(file.bytes, record.caption);
        PutText(file.bytes, record.workDir);
        PutText(file.bytes, record.hint);
        file.bytes.push_back(record.trackDrives ? 1 : 0);
        file.slotOffsets.push_back(file.bytes.size());
        Put32(file.bytes, record.buttonSlot);
        file.imageOffsets.push_back(file.bytes.size());
        file.bytes.insert(file.bytes.end(), record.image.begin(), record.image.end());
    }
    return file;
}

std::vector<std::uint8_t> WithSlotsCleared(std::vector<std::uint8_t> bytes,
                                           const std::vector<std::size_t>& slotOffsets) {
    for (std::size_t offset : slotOffsets)
        for (std::size_t i = offset; i < offset + 4 && i < bytes.size(); ++i) bytes[i] = 0;
    return bytes;
}

}  // namespace e2e
