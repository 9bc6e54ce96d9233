// Writes the icon collection file "icons.dat" from 32 x 32 pictures given as
// raw 8-bit RGBA pixels (top row first) on standard input, one after the
// other, through the program's own image writer.
//
// Pictures have no transparency in the picker, and the panel's buttons leave
// out the pixels of a picture's bottom-left colour. So each picture is
// flattened onto one key colour, a white that the artwork itself does not
// use (its own opaque pixels of that colour become pure white), and the
// bottom-left pixel carries the key: on the panel exactly the background
// becomes see-through, while white paper in a picture stays.
//
//   make_icons_dat OUTPUT < pictures.rgba
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "common/bmp_codec.h"
#include "common/byte_stream.h"

using namespace tilerack;

namespace {

constexpr int kSize = 32;
constexpr size_t kFrameBytes = kSize * kSize * 4;
constexpr Color kKey = Rgb(255, 255, 254);

uint8_t Over(uint8_t colour, uint8_t key, uint8_t alpha) {
    return static_cast<uint8_t>((colour * alpha + key * (255 - alpha) + 127) / 255);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT < pictures.rgba\n", argv[0]);
        return 2;
    }
    std::vector<uint8_t> input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (input.empty() || input.size() % kFrameBytes != 0) {
        std::fprintf(stderr, "input is not a whole number of 32 x 32 RGBA pictures (%zu bytes)\n", input.size());
        return 1;
    }
    const int count = static_cast<int>(input.size() / kFrameBytes);
    ByteWriter out;
    out.I32(count);
    int coveredCorners = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t* frame = input.data() + i * kFrameBytes;
        TBitmap picture(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const uint8_t* p = frame + (y * kSize + x) * 4;
                Color c = Rgb(Over(p[0], RedOf(kKey), p[3]), Over(p[1], GreenOf(kKey), p[3]),
                              Over(p[2], BlueOf(kKey), p[3]));
                if (p[3] == 255 && c == kKey) c = Rgb(255, 255, 255);
                picture.SetPixel(x, y, c);
            }
        if (frame[((kSize - 1) * kSize) * 4 + 3] != 0) ++coveredCorners;
        picture.SetPixel(0, kSize - 1, kKey);
        WriteEmbeddedBitmap(out, picture);
    }
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.Bytes().data()), static_cast<std::streamsize>(out.Bytes().size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d pictures, %zu bytes (%d had a covered bottom-left corner)\n", argv[1], count,
                out.Bytes().size(), coveredCorners);
    return 0;
}
