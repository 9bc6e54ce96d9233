#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "items/bmp_codec.h"
#include "items/errors.h"
#include "le_bytes.h"

namespace tilerack {
namespace {

using testing::InfoBmp;
using testing::LeBytes;
using testing::ReadTestFile;

constexpr Color kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kRed = Rgb(255, 0, 0),
                kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255), kYellow = Rgb(255, 255, 0),
                kCyan = Rgb(0, 255, 255), kMagenta = Rgb(255, 0, 255);

// A colour table of white, red, green, blue (blue, green, red, 0 each).
const std::vector<uint8_t> kFourColours = {255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

TBitmap Read(const std::vector<uint8_t>& bytes) {
    ByteReader in(bytes);
    TBitmap picture;
    ReadEmbeddedBitmap(in, picture);
    return picture;
}

std::vector<uint8_t> Write(const TBitmap& picture) {
    ByteWriter out;
    WriteEmbeddedBitmap(out, picture);
    return out.Bytes();
}

std::string ReadError(const std::vector<uint8_t>& bytes) {
    try {
        Read(bytes);
    } catch (const TError& e) {
        return e.what();
    }
    return "no error";
}

void ExpectRow(const TBitmap& p, int y, const std::vector<Color>& colours) {
    ASSERT_EQ(p.Width(), static_cast<int>(colours.size()));
    for (int x = 0; x < p.Width(); ++x)
        EXPECT_EQ(p.Pixel(x, y), colours[x]) << "pixel " << x << "," << y;
}

// ---- Writer -------------------------------------------------------------

TEST(EmbeddedBitmap, Writes32x32PictureWithTheInfoHeaderFields) {
    TBitmap picture(32, 32);
    picture.SetPixel(0, 0, kRed);      // top-left: last stored row
    picture.SetPixel(31, 31, kBlue);   // bottom-right: end of the first stored row
    picture.SetPixel(1, 31, Rgb(1, 2, 3));
    picture.xPelsPerMeter = 2835;
    picture.yPelsPerMeter = 1417;
    const std::vector<uint8_t> b = Write(picture);

    ASSERT_EQ(b.size(), 3126u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32At(b, 2), 3126u);   // bfSize
    EXPECT_EQ(U16At(b, 6), 0);       // bfReserved1
    EXPECT_EQ(U16At(b, 8), 0);       // bfReserved2
    EXPECT_EQ(U32At(b, 10), 54u);    // bfOffBits
    EXPECT_EQ(U32At(b, 14), 40u);    // biSize
    EXPECT_EQ(U32At(b, 18), 32u);    // biWidth
    EXPECT_EQ(U32At(b, 22), 32u);    // biHeight, bottom-up
    EXPECT_EQ(U16At(b, 26), 1);      // biPlanes
    EXPECT_EQ(U16At(b, 28), 24);     // biBitCount
    EXPECT_EQ(U32At(b, 30), 0u);     // biCompression
    EXPECT_EQ(U32At(b, 34), 3072u);  // biSizeImage = 96 x 32
    EXPECT_EQ(U32At(b, 38), 2835u);  // biXPelsPerMeter
    EXPECT_EQ(U32At(b, 42), 1417u);  // biYPelsPerMeter
    EXPECT_EQ(U32At(b, 46), 0u);     // biClrUsed
    EXPECT_EQ(U32At(b, 50), 0u);     // biClrImportant
    // First stored row is the bottom row, blue-green-red per pixel.
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 57, b.begin() + 60), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54 + 93, b.begin() + 54 + 96), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54 + 31 * 96, b.begin() + 54 + 31 * 96 + 3),
              (std::vector<uint8_t>{0, 0, 255}));
}

TEST(EmbeddedBitmap, WritesRowPaddingAsZerosAndTheColourTable) {
    TBitmap picture(5, 2);
    picture.Fill(kWhite);
    picture.palette = kFourColours;
    const std::vector<uint8_t> b = Write(picture);
    const size_t stride = 16;  // 15 bytes of pixels padded to 16
    ASSERT_EQ(b.size(), 54 + 16 + stride * 2);
    EXPECT_EQ(U32At(b, 2), b.size());
    EXPECT_EQ(U32At(b, 10), 54u + 16u);
    EXPECT_EQ(U32At(b, 34), stride * 2);
    EXPECT_EQ(U32At(b, 46), 4u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.begin() + 70), kFourColours);
    for (size_t row = 0; row < 2; ++row) {
        const size_t start = 70 + row * stride;
        for (size_t i = 0; i < 15; ++i) EXPECT_EQ(b[start + i], 255) << i;
        EXPECT_EQ(b[start + 15], 0);
    }
}

TEST(EmbeddedBitmap, EmptyPictureIsACompleteZeroByZeroImage) {
    for (const TBitmap& picture : {TBitmap(), TBitmap(5, 0)}) {
        const std::vector<uint8_t> b = Write(picture);
        ASSERT_EQ(b.size(), 54u);
        EXPECT_EQ(U32At(b, 2), 54u);
        EXPECT_EQ(U32At(b, 18), 0u);
        EXPECT_EQ(U32At(b, 22), 0u);
        EXPECT_EQ(U32At(b, 34), 0u);
        TBitmap back(3, 3);
        ByteReader in(b);
        ReadEmbeddedBitmap(in, back);
        EXPECT_TRUE(back.Empty());
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(EmbeddedBitmap, RoundTripKeepsPixelsResolutionAndPalette) {
    TBitmap picture(3, 2);
    picture.SetPixel(0, 0, kRed);
    picture.SetPixel(2, 1, Rgb(10, 20, 30));
    picture.xPelsPerMeter = 3780;
    picture.yPelsPerMeter = -5;
    picture.palette = kFourColours;
    const std::vector<uint8_t> bytes = Write(picture);
    const TBitmap back = Read(bytes);
    EXPECT_TRUE(back.SamePixels(picture));
    EXPECT_EQ(back.xPelsPerMeter, 3780);
    EXPECT_EQ(back.yPelsPerMeter, -5);
    EXPECT_EQ(back.palette, kFourColours);
    EXPECT_EQ(Write(back), bytes);
}

TEST(EmbeddedBitmap, HandBuilt24BitImageWithPaletteWritesBackIdentical) {
    InfoBmp bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.sizeImage = 16;
    bmp.xPelsPerMeter = 2835;
    bmp.yPelsPerMeter = 2835;
    bmp.colorsUsed = 4;
    bmp.afterHeader = kFourColours;
    bmp.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const std::vector<uint8_t> original = bmp.Bytes();
    EXPECT_EQ(Write(Read(original)), original);
}

// ---- Reader: images from an independent writer --------------------------

enum class Source { Gradient, Primaries, Pattern };

Color Expected(Source source, int x, int y) {
    static const Color primaries[3][5] = {{kRed, kGreen, kBlue, kWhite, kBlack},
                                          {kYellow, kCyan, kMagenta, kBlack, kWhite},
                                          {kBlack, kRed, kWhite, kBlue, kGreen}};
    switch (source) {
    case Source::Gradient: return Rgb(40 * x, 60 * y, 20 * (x + y) + 5);
    case Source::Primaries: return primaries[y][x];
    case Source::Pattern: return (x + 2 * y) % 5 < 2 ? kBlack : kWhite;
    }
    return kBlack;
}

struct Fixture {
    const char* file;
    Source source;
    bool runLength;
};

class EmbeddedBitmapFixture : public ::testing::TestWithParam<Fixture> {};

TEST_P(EmbeddedBitmapFixture, LoadsEveryPixelAndStopsAtTheImageEnd) {
    const Fixture& f = GetParam();
    std::vector<uint8_t> bytes = ReadTestFile(f.file);
    ASSERT_FALSE(bytes.empty()) << "missing fixture " << f.file;
    const std::vector<uint8_t> trailer = {'n', 'e', 'x', 't'};
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());

    ByteReader in(bytes);
    TBitmap picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    ReadEmbeddedBitmap(in, picture);

    EXPECT_EQ(changes, 1);
    const int width = f.source == Source::Primaries ? 5 : 7;
    const int height = f.source == Source::Primaries ? 3 : 5;
    ASSERT_EQ(picture.Width(), width);
    ASSERT_EQ(picture.Height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(picture.Pixel(x, y), Expected(f.source, x, y)) << "pixel " << x << "," << y;
    // The headers alone say where the image ends; run-length images take the rest.
    EXPECT_EQ(in.Remaining(), f.runLength ? 0u : trailer.size());
    EXPECT_TRUE(picture.palette.empty()) << "only 24-bit pictures keep a colour table";
}

INSTANTIATE_TEST_SUITE_P(
    EmbeddedBitmap, EmbeddedBitmapFixture,
    ::testing::Values(Fixture{"gradient-info24.bmp", Source::Gradient, false},
                      Fixture{"gradient-info8.bmp", Source::Gradient, false},
                      Fixture{"gradient-rle8.bmp", Source::Gradient, true},
                      Fixture{"gradient-info32.bmp", Source::Gradient, false},
                      Fixture{"gradient-v5-32.bmp", Source::Gradient, false},
                      Fixture{"gradient-core24.bmp", Source::Gradient, false},
                      Fixture{"gradient-core8.bmp", Source::Gradient, false},
                      Fixture{"primaries-info4.bmp", Source::Primaries, false},
                      Fixture{"primaries-core4.bmp", Source::Primaries, false},
                      Fixture{"primaries-v5-16-565.bmp", Source::Primaries, false},
                      Fixture{"primaries-v5-16-4444.bmp", Source::Primaries, false},
                      Fixture{"pattern-info1.bmp", Source::Pattern, false},
                      Fixture{"pattern-core1.bmp", Source::Pattern, false}),
    [](const ::testing::TestParamInfo<Fixture>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

// ---- Reader: forms built by hand ---------------------------------------

TEST(EmbeddedBitmap, ReadsTopDownRows) {
    InfoBmp bmp;
    bmp.width = 2;
    bmp.height = -2;
    bmp.pixels = {0, 0, 255, 0, 255, 0, 0, 0,  // top row: red, green
                  255, 0, 0, 255, 255, 255, 0, 0};
    const TBitmap p = Read(bmp.Bytes());
    ASSERT_EQ(p.Height(), 2);
    ExpectRow(p, 0, {kRed, kGreen});
    ExpectRow(p, 1, {kBlue, kWhite});
}

TEST(EmbeddedBitmap, Reads16BitDefaultAs555) {
    InfoBmp bmp;
    bmp.width = 5;
    bmp.bitCount = 16;
    // Half scale (16 of 31) is 132 of 255; the top bit of a 5-5-5 pixel is unused.
    LeBytes px;
    px.U16(0x7C00).U16(0x03E0).U16(0x001F).U16(0x4210).U16(0x8000 | 0x001F).U16(0);
    bmp.pixels = px.bytes;
    ExpectRow(Read(bmp.Bytes()), 0, {kRed, kGreen, kBlue, Rgb(132, 132, 132), kBlue});
}

TEST(EmbeddedBitmap, Reads16BitFieldsAfterInfoHeader) {
    InfoBmp bmp;
    bmp.width = 3;
    bmp.bitCount = 16;
    bmp.compression = 3;
    bmp.afterHeader = LeBytes().U32(0xF800).U32(0x07E0).U32(0x001F).bytes;
    bmp.pixels = LeBytes().U16(0xF800).U16(0x07E0).U16(0x001F).U16(0).bytes;
    std::vector<uint8_t> bytes = bmp.Bytes();
    bytes.push_back(0x77);
    ByteReader in(bytes);
    TBitmap p;
    ReadEmbeddedBitmap(in, p);
    ExpectRow(p, 0, {kRed, kGreen, kBlue});
    EXPECT_EQ(in.Remaining(), 1u);
}

TEST(EmbeddedBitmap, Reads32BitFieldsOfAnyWidth) {
    InfoBmp bmp;
    bmp.width = 3;
    bmp.bitCount = 32;
    bmp.compression = 3;
    // Ten bits a channel, red highest; a 1-bit blue mask turns fully on or off.
    bmp.afterHeader = LeBytes().U32(0x3FF00000).U32(0x000FFC00).U32(0x00000001).bytes;
    bmp.pixels = LeBytes().U32(0x3FF00000 | (0x200u << 10)).U32(0x000FFC00 | 1).U32(0x00000001).bytes;
    ExpectRow(Read(bmp.Bytes()), 0, {Rgb(255, 128, 0), kCyan, kBlue});
}

TEST(EmbeddedBitmap, Reads32BitDefaultAsBlueGreenRedUnused) {
    InfoBmp bmp;
    bmp.width = 2;
    bmp.bitCount = 32;
    bmp.pixels = {10, 20, 30, 99, 0, 0, 255, 0};
    ExpectRow(Read(bmp.Bytes()), 0, {Rgb(30, 20, 10), kRed});
}

TEST(EmbeddedBitmap, ColourCountComesFromColoursUsedAndUnknownIndexesAreBlack) {
    InfoBmp bmp;
    bmp.width = 3;
    bmp.bitCount = 8;
    bmp.colorsUsed = 2;
    bmp.afterHeader = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue
    bmp.pixels = {1, 0, 7, 0};
    ExpectRow(Read(bmp.Bytes()), 0, {kBlue, kRed, kBlack});
}

TEST(EmbeddedBitmap, DecodesRunLength8WithAbsoluteRunsAndJumps) {
    InfoBmp bmp;
    bmp.width = 4;
    bmp.height = 3;
    bmp.bitCount = 8;
    bmp.compression = 1;
    bmp.colorsUsed = 4;
    bmp.afterHeader = kFourColours;
    bmp.pixels = {0, 3, 1, 2, 3, 0,  // literal red, green, blue, padded to 16 bits
                  1, 0,              // one white
                  0, 0,              // end of line
                  0, 2, 1, 1,        // jump right 1 and up 1: the middle row stays unpainted
                  3, 2,              // three green
                  0, 1,              // end of image
                  5, 1};             // after the end: ignored
    std::vector<uint8_t> bytes = bmp.Bytes();
    ByteReader in(bytes);
    TBitmap p;
    ReadEmbeddedBitmap(in, p);
    ExpectRow(p, 2, {kRed, kGreen, kBlue, kWhite});
    ExpectRow(p, 1, {kBlack, kBlack, kBlack, kBlack});
    ExpectRow(p, 0, {kBlack, kGreen, kGreen, kGreen});
    EXPECT_TRUE(in.AtEnd()) << "a run-length image takes every remaining byte";
}

TEST(EmbeddedBitmap, DecodesRunLength4) {
    InfoBmp bmp;
    bmp.width = 8;
    bmp.height = 3;
    bmp.bitCount = 4;
    bmp.compression = 2;
    bmp.colorsUsed = 4;
    bmp.afterHeader = kFourColours;  // 0 white, 1 red, 2 green, 3 blue
    bmp.pixels = {3, 0x12,                 // red, green, red
                  0, 3, 0x31, 0x20,        // literal blue, red, green (2 bytes, no padding)
                  2, 0x30,                 // blue, white
                  0, 0,                    // end of line
                  0, 2, 2, 0,              // jump right 2
                  2, 0x33,                 // blue, blue
                  0, 2, 3, 0,              // jump right 3, to the last column
                  3, 0x11,                 // red, then two pixels past the edge
                  0, 0,                    // end of line
                  0, 5, 0x12, 0x31, 0x20, 0,  // literal red, green, blue, red, green + padding
                  3, 0x03,                 // white, blue, white
                  0, 1};                   // end of image
    const TBitmap p = Read(bmp.Bytes());
    ExpectRow(p, 2, {kRed, kGreen, kRed, kBlue, kRed, kGreen, kBlue, kWhite});
    ExpectRow(p, 1, {kBlack, kBlack, kBlue, kBlue, kBlack, kBlack, kBlack, kRed});
    ExpectRow(p, 0, {kRed, kGreen, kBlue, kRed, kGreen, kWhite, kBlue, kWhite});
}

TEST(EmbeddedBitmap, ImageCutShortKeepsWhatIsThereAndBlackensTheRest) {
    InfoBmp bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.pixels = {0, 0, 255, 0, 255, 0, 0, 0,  // bottom row complete: red, green
                  255, 0, 0, 0, 255};          // top row: blue, then part of a pixel
    std::vector<uint8_t> bytes = bmp.Bytes();
    ByteReader reader(bytes);
    TBitmap p;
    ReadEmbeddedBitmap(reader, p);
    ExpectRow(p, 1, {kRed, kGreen});
    ExpectRow(p, 0, {kBlue, kBlack});
    EXPECT_TRUE(reader.AtEnd());
}

TEST(EmbeddedBitmap, NothingLeftMeansAnEmptyPicture) {
    TBitmap picture(4, 4);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    ByteReader in(nullptr, 0);
    ReadEmbeddedBitmap(in, picture);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 1);
}

// ---- Reader: damaged or unsupported images -----------------------------

TEST(EmbeddedBitmap, RefusesBrokenHeadersAsInvalid) {
    auto withHeader = [](auto edit) {
        InfoBmp bmp;
        bmp.width = 2;
        bmp.height = 2;
        bmp.pixels.assign(16, 0);
        edit(bmp);
        return bmp.Bytes();
    };
    std::vector<uint8_t> notBm = withHeader([](InfoBmp&) {});
    notBm[1] = 'A';
    EXPECT_EQ(ReadError(notBm), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.planes = 2; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.planes = 0; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.compression = 4; })), kBitmapInvalid);  // JPEG
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.compression = 5; })), kBitmapInvalid);  // PNG
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.bitCount = 2; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.bitCount = 0; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.compression = 1; })), kBitmapInvalid);  // RLE8 at 24 bits
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.compression = 3; })), kBitmapInvalid);  // fields at 24 bits
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.width = 0; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.height = 0; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.width = -2; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.width = 5000, b.height = 5000; })), kBitmapInvalid);
    EXPECT_EQ(ReadError(withHeader([](InfoBmp& b) { b.height = INT32_MIN; })), kBitmapInvalid);
    std::vector<uint8_t> oddHeader = withHeader([](InfoBmp&) {});
    oddHeader[14] = 20;  // neither the core header nor an info header
    EXPECT_EQ(ReadError(oddHeader), kBitmapInvalid);
}

TEST(EmbeddedBitmap, HeadersColourTableOrMasksCutShortAreReadErrors) {
    InfoBmp paletted;
    paletted.width = 1;
    paletted.bitCount = 8;
    paletted.afterHeader.assign(256 * 4, 0);
    paletted.pixels = {0, 0, 0, 0};
    const std::vector<uint8_t> full = paletted.Bytes();
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 54 + 100}), kStreamReadError);  // colour table
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 30}), kStreamReadError);        // info header
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 10}), kStreamReadError);        // file header

    InfoBmp fields;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.afterHeader = LeBytes().U32(0xF800).U32(0x07E0).U32(0x001F).bytes;
    const std::vector<uint8_t> withMasks = fields.Bytes();
    EXPECT_EQ(ReadError({withMasks.begin(), withMasks.begin() + 60}), kStreamReadError);

    InfoBmp hugeTable;
    hugeTable.colorsUsed = 0x40000000;  // far more than the file holds
    EXPECT_EQ(ReadError(hugeTable.Bytes()), kStreamReadError);
}

TEST(EmbeddedBitmap, FailedReadLeavesThePictureUntouched) {
    TBitmap picture(2, 1);
    picture.SetPixel(1, 0, kRed);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    InfoBmp bmp;
    bmp.planes = 3;
    std::vector<uint8_t> bytes = bmp.Bytes();
    ByteReader in(bytes);
    EXPECT_THROW(ReadEmbeddedBitmap(in, picture), TError);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Pixel(1, 0), kRed);
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tilerack
