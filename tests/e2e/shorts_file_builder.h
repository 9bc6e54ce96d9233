// Builds item files ("shorts.dat") byte by byte from the record layout, so the
// tests can hand the program exactly the bytes they mean and compare what it
// writes back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// Texts are code page 1251 bytes, exactly as they are stored.
struct ShortRecord {
    std::string params;
    std::string fileName;
    std::string caption;
    std::string workDir;
    std::string hint;
    bool trackDrives = false;
    std::uint32_t buttonSlot = 0;
    std::vector<std::uint8_t> image;  // a complete BMP file image
};

// A 24-bit bottom-up BMP file image with a colour pattern derived from `seed`.
std::vector<std::uint8_t> Bmp24Image(int width, int height, std::uint32_t seed);

struct ShortsFile {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> recordOffsets;  // where each record starts
    std::vector<std::size_t> slotOffsets;    // where each 4-byte button slot is
    std::vector<std::size_t> imageOffsets;   // where each embedded image starts
};

ShortsFile BuildShortsFile(const std::vector<ShortRecord>& records);

// `bytes` with the 4 bytes at each of `slotOffsets` set to zero (the slots
// hold a value of the writing run only); offsets past the end are ignored.
std::vector<std::uint8_t> WithSlotsCleared(std::vector<std::uint8_t> bytes,
                                           const std::vector<std::size_t>& slotOffsets);

}  // namespace e2e
