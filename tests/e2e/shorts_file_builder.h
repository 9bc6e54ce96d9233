// Builds item files ("shorts.dat") byte by byte from the record layout, so the
// tests can hand the program exactly the bytes they mean and compare what it
// writes back, and reads the files it writes by the same layout, apart from
// the program's own reader and writer, so a fault in either shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// Texts are code page 1251 bytes, exactly as they are stored.
struct ShortRecord {
    std::string params{};
    std::string fileName{};
    std::string caption{};
    std::string workDir{};
    std::string hint{};
    bool trackDrives = false;
    std::uint32_t buttonSlot = 0;
    std::vector<std::uint8_t> image{};  // a complete BMP file image
};

// A 32 x 32 24-bit BMP file image with a colour pattern derived from `seed`.
std::vector<std::uint8_t> Bmp24Image(std::uint32_t seed);
// The same size: a 2-pixel ring of `key` (the transparent colour, as the corner
// pixels), a 2-pixel dark rim and a `fill` body, easy to find on the screen.
std::vector<std::uint8_t> FramedIconBmp(std::uint32_t key, std::uint32_t fill);
// The same size: a `fill` square inside a `ring` pixels wide ring of `key`
// alone, so a picture drawn larger shows where its colour meets what lies under it.
std::vector<std::uint8_t> KeyedSquareBmp(std::uint32_t key, std::uint32_t fill, int ring);

struct ShortsFile {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> recordOffsets;  // where each record starts
    std::vector<std::size_t> slotOffsets;    // where each 4-byte button slot is
    std::vector<std::size_t> imageOffsets;   // where each embedded image starts
};

ShortsFile BuildShortsFile(const std::vector<ShortRecord>& records);

// True when `saved` holds the bytes of `original` apart from the button
// slots, which hold a value of the writing run only.
bool SameApartFromSlots(const std::vector<std::uint8_t>& saved, const ShortsFile& original);

// The records of an item file, each image as its bytes; `error` says where
// the file breaks the layout (a text longer than what follows, an image
// without "BM" or with a size field that is not its length, bytes after the
// last record), with the records before that point.
struct ShortsReading {
    std::vector<ShortRecord> records;
    std::string error;
    bool Damaged() const { return !error.empty(); }
};
ShortsReading ReadShortsFile(const std::vector<std::uint8_t>& bytes);

// The pixels of a stored 24-bit uncompressed image, top row first, each
// 0x00BBGGRR; 0 x 0 for an empty image or any other kind.
struct StoredPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t Pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
StoredPicture PictureOf(const std::vector<std::uint8_t>& image);

}  // namespace e2e
