#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/bmp_codec.h"
#include "common/errors.h"
#include "le_bytes.h"

namespace tilerack {
namespace {

using testing::InfoBmp;
using testing::LeBytes;

constexpr Color kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kRed = Rgb(255, 0, 0),
                kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255), kYellow = Rgb(255, 255, 0),
                kCyan = Rgb(0, 255, 255), kMagenta = Rgb(255, 0, 255);

// A colour table of white, red, green, blue (blue, green, red, 0 each).
const std::vector<uint8_t> kFourColours = {255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};

std::vector<uint8_t> ReadTestFile(const std::string& name) {
    std::ifstream f(std::string(TILERACK_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

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
    // Bottom-up rows of 96 bytes, blue-green-red per pixel.
    InfoBmp expected{.width = 32, .height = 32, .sizeImage = 3072, .xPelsPerMeter = 2835, .yPelsPerMeter = 1417};
    expected.pixels.assign(3072, 0);
    const std::pair<int, std::vector<uint8_t>> set[] = {{3, {3, 2, 1}}, {93, {255, 0, 0}}, {31 * 96, {0, 0, 255}}};
    for (const auto& [at, bgr] : set) std::copy(bgr.begin(), bgr.end(), expected.pixels.begin() + at);
    EXPECT_EQ(Write(picture), expected.Bytes());
}

TEST(EmbeddedBitmap, WritesRowPaddingAsZerosAndTheColourTable) {
    TBitmap picture(5, 2);
    picture.Fill(kWhite);
    picture.palette = kFourColours;
    InfoBmp expected{.width = 5, .height = 2, .sizeImage = 32, .colorsUsed = 4, .afterHeader = kFourColours};
    for (int row = 0; row < 2; ++row) {  // 15 bytes of pixels padded to 16
        expected.pixels.insert(expected.pixels.end(), 15, 255);
        expected.pixels.push_back(0);
    }
    EXPECT_EQ(Write(picture), expected.Bytes());
}

TEST(EmbeddedBitmap, EmptyPictureIsACompleteZeroByZeroImage) {
    for (const TBitmap& picture : {TBitmap(), TBitmap(5, 0)}) {
        const std::vector<uint8_t> b = Write(picture);
        EXPECT_EQ(b, (InfoBmp{.width = 0, .height = 0}.Bytes()));
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
    const std::vector<uint8_t> original = InfoBmp{.width = 2, .height = 2, .sizeImage = 16, .xPelsPerMeter = 2835,
                                                  .yPelsPerMeter = 2835, .colorsUsed = 4, .afterHeader = kFourColours,
                                                  .pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}}
                                              .Bytes();
    EXPECT_EQ(Write(Read(original)), original);
}

// ---- Reader -------------------------------------------------------------

enum class End { AtTheHeadersEnd, TakesTheRest, CutShort };

// An image file written by an independent writer (tests/data), or built here.
struct ReadCase {
    std::string name;
    std::string file;  // empty for a built image
    InfoBmp bmp;
    std::vector<std::vector<Color>> rows;  // top to bottom
    // The headers alone say where an image ends; run-length images take the
    // rest of the data, as does an image cut short.
    End end = End::AtTheHeadersEnd;
};
void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

// The fixture files hold a gradient (7 x 5), primaries (5 x 3) or a 1-bit pattern (7 x 5).
ReadCase Fixture(const std::string& file, End end = End::AtTheHeadersEnd) {
    static const Color primaries[3][5] = {{kRed, kGreen, kBlue, kWhite, kBlack},
                                          {kYellow, kCyan, kMagenta, kBlack, kWhite},
                                          {kBlack, kRed, kWhite, kBlue, kGreen}};
    const bool primary = file.starts_with("primaries");
    std::vector<std::vector<Color>> rows(primary ? 3 : 5, std::vector<Color>(primary ? 5 : 7));
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            rows[y][x] = primary                       ? primaries[y][x]
                         : file.starts_with("pattern") ? ((x + 2 * y) % 5 < 2 ? kBlack : kWhite)
                                                       : Rgb(40 * x, 60 * y, 20 * (x + y) + 5);
    std::string name = file.substr(0, file.find('.'));
    std::replace(name.begin(), name.end(), '-', '_');
    return {name, file, {}, rows, end};
}

class EmbeddedBitmapRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(EmbeddedBitmapRead, DecodesEveryPixelAndEndsInPlace) {
    const ReadCase& c = GetParam();
    std::vector<uint8_t> bytes = c.file.empty() ? c.bmp.Bytes() : ReadTestFile(c.file);
    ASSERT_FALSE(bytes.empty()) << "missing fixture " << c.file;
    if (c.end != End::CutShort) bytes.push_back(0x77);  // the next record's first byte
    ByteReader in(bytes);
    TBitmap p;
    int changes = 0;
    p.OnChange = [&] { ++changes; };
    ReadEmbeddedBitmap(in, p);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(p.Height(), static_cast<int>(c.rows.size()));
    for (size_t y = 0; y < c.rows.size(); ++y) ExpectRow(p, static_cast<int>(y), c.rows[y]);
    EXPECT_EQ(in.Remaining(), c.end == End::AtTheHeadersEnd ? 1u : 0u);
    EXPECT_TRUE(p.palette.empty()) << "only 24-bit pictures keep a colour table";
}

const LeBytes k565Masks = LeBytes().U32(0xF800).U32(0x07E0).U32(0x001F);

INSTANTIATE_TEST_SUITE_P(
    EmbeddedBitmap, EmbeddedBitmapRead,
    ::testing::Values(
        Fixture("gradient-info24.bmp"), Fixture("gradient-info8.bmp"), Fixture("gradient-info32.bmp"),
        Fixture("gradient-rle8.bmp", End::TakesTheRest), Fixture("gradient-v5-32.bmp"),
        Fixture("gradient-core24.bmp"), Fixture("gradient-core8.bmp"), Fixture("primaries-info4.bmp"),
        Fixture("primaries-core4.bmp"), Fixture("primaries-v5-16-565.bmp"), Fixture("primaries-v5-16-4444.bmp"),
        Fixture("pattern-info1.bmp"), Fixture("pattern-core1.bmp"),
        ReadCase{"TopDownRows", "",
                 {.width = 2, .height = -2, .pixels = {0, 0, 255, 0, 255, 0, 0, 0,  // top row: red, green
                                                       255, 0, 0, 255, 255, 255, 0, 0}},
                 {{kRed, kGreen}, {kBlue, kWhite}}},
        // Half scale (16 of 31) is 132 of 255; the top bit of a 5-5-5 pixel is unused.
        ReadCase{"Default16BitIs555", "",
                 {.width = 5, .bitCount = 16,
                  .pixels = LeBytes().U16(0x7C00).U16(0x03E0).U16(0x001F).U16(0x4210).U16(0x801F).U16(0).bytes},
                 {{kRed, kGreen, kBlue, Rgb(132, 132, 132), kBlue}}},
        ReadCase{"BitFields16AfterInfoHeader", "",
                 {.width = 3, .bitCount = 16, .compression = 3, .afterHeader = k565Masks.bytes,
                  .pixels = LeBytes().U16(0xF800).U16(0x07E0).U16(0x001F).U16(0).bytes},
                 {{kRed, kGreen, kBlue}}},
        // Ten bits a channel, red highest; a 1-bit blue mask turns fully on or off.
        ReadCase{"BitFields32OfAnyWidth", "",
                 {.width = 3, .bitCount = 32, .compression = 3,
                  .afterHeader = LeBytes().U32(0x3FF00000).U32(0x000FFC00).U32(0x00000001).bytes,
                  .pixels = LeBytes().U32(0x3FF00000 | (0x200u << 10)).U32(0x000FFC00 | 1).U32(1).bytes},
                 {{Rgb(255, 128, 0), kCyan, kBlue}}},
        ReadCase{"Default32BitIsBlueGreenRedUnused", "",
                 {.width = 2, .bitCount = 32, .pixels = {10, 20, 30, 99, 0, 0, 255, 0}},
                 {{Rgb(30, 20, 10), kRed}}},
        // Two colours (red, blue) as colours used says; index 7 is unknown.
        ReadCase{"ColourCountFromColoursUsedUnknownIndexBlack", "",
                 {.width = 3, .bitCount = 8, .colorsUsed = 2, .afterHeader = {0, 0, 255, 0, 255, 0, 0, 0},
                  .pixels = {1, 0, 7, 0}},
                 {{kBlue, kRed, kBlack}}},
        ReadCase{"RunLength8WithAbsoluteRunsAndJumps", "",
                 {.width = 4, .height = 3, .bitCount = 8, .compression = 1, .colorsUsed = 4,
                  .afterHeader = kFourColours,
                  .pixels = {0, 3, 1, 2, 3, 0,  // literal red, green, blue, padded to 16 bits
                             1, 0,              // one white
                             0, 0,              // end of line
                             0, 2, 1, 1,        // jump right 1 and up 1: the middle row stays unpainted
                             3, 2,              // three green
                             0, 1,              // end of image
                             5, 1}},            // after the end: ignored
                 {{kBlack, kGreen, kGreen, kGreen}, {kBlack, kBlack, kBlack, kBlack}, {kRed, kGreen, kBlue, kWhite}},
                 End::TakesTheRest},
        ReadCase{"RunLength4", "",
                 {.width = 8, .height = 3, .bitCount = 4, .compression = 2, .colorsUsed = 4,
                  .afterHeader = kFourColours,           // 0 white, 1 red, 2 green, 3 blue
                  .pixels = {3, 0x12,                    // red, green, red
                             0, 3, 0x31, 0x20,           // literal blue, red, green (2 bytes, no padding)
                             2, 0x30,                    // blue, white
                             0, 0,                       // end of line
                             0, 2, 2, 0,                 // jump right 2
                             2, 0x33,                    // blue, blue
                             0, 2, 3, 0,                 // jump right 3, to the last column
                             3, 0x11,                    // red, then two pixels past the edge
                             0, 0,                       // end of line
                             0, 5, 0x12, 0x31, 0x20, 0,  // literal red, green, blue, red, green + padding
                             3, 0x03,                    // white, blue, white
                             0, 1}},                     // end of image
                 {{kRed, kGreen, kBlue, kRed, kGreen, kWhite, kBlue, kWhite},
                  {kBlack, kBlack, kBlue, kBlue, kBlack, kBlack, kBlack, kRed},
                  {kRed, kGreen, kRed, kBlue, kRed, kGreen, kBlue, kWhite}},
                 End::TakesTheRest},
        // What is there is kept, the rest black.
        ReadCase{"ImageCutShort", "",
                 {.width = 2, .height = 2, .pixels = {0, 0, 255, 0, 255, 0, 0, 0,  // bottom row: red, green
                                                      255, 0, 0, 0, 255}},        // blue, part of a pixel
                 {{kBlue, kBlack}, {kRed, kGreen}},
                 End::CutShort}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(EmbeddedBitmap, NothingLeftMeansAnEmptyPicture) {
    TBitmap picture(4, 4);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    ByteReader in(nullptr, 0);
    ReadEmbeddedBitmap(in, picture);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 1);
}

// A bitmap resource is the same image without the 14-byte file header.
TEST(EmbeddedBitmap, PackedDibReadsAsTheFileWithoutItsHeader) {
    // 3 x 2, 4 bits, a colour table of four: rows of 2 bytes padded to 4.
    const InfoBmp bmp{.width = 3, .height = 2, .bitCount = 4, .colorsUsed = 4, .afterHeader = kFourColours,
                      .pixels = {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0}};
    const std::vector<uint8_t> file = bmp.Bytes();
    TBitmap packed;
    ReadPackedDib(file.data() + 14, file.size() - 14, packed);
    const TBitmap whole = Read(file);
    ASSERT_EQ(packed.Width(), 3);
    EXPECT_TRUE(packed.SamePixels(whole));
    EXPECT_EQ(packed.Pixel(0, 1), kWhite);
    EXPECT_EQ(packed.Pixel(1, 1), kRed);
    EXPECT_EQ(packed.Pixel(2, 1), kGreen);
    EXPECT_EQ(packed.Pixel(0, 0), kBlue);

    TBitmap cut;
    EXPECT_THROW(ReadPackedDib(file.data() + 14, 20, cut), TError) << "a header cut short";
}

// ---- Reader: damaged or unsupported images -----------------------------

TEST(EmbeddedBitmap, RefusesBrokenHeadersAsInvalid) {
    auto withHeader = [](auto edit) {
        InfoBmp bmp{.width = 2, .height = 2, .pixels = std::vector<uint8_t>(16, 0)};
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
    const InfoBmp paletted{.bitCount = 8, .afterHeader = std::vector<uint8_t>(256 * 4, 0), .pixels = {0, 0, 0, 0}};
    const std::vector<uint8_t> full = paletted.Bytes();
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 54 + 100}), kStreamReadError);  // colour table
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 30}), kStreamReadError);        // info header
    EXPECT_EQ(ReadError({full.begin(), full.begin() + 10}), kStreamReadError);        // file header

    const auto withMasks = InfoBmp{.bitCount = 16, .compression = 3, .afterHeader = k565Masks.bytes}.Bytes();
    EXPECT_EQ(ReadError({withMasks.begin(), withMasks.begin() + 60}), kStreamReadError);

    const InfoBmp hugeTable{.colorsUsed = 0x40000000};  // far more than the file holds
    EXPECT_EQ(ReadError(hugeTable.Bytes()), kStreamReadError);
}

TEST(EmbeddedBitmap, FailedReadLeavesThePictureUntouched) {
    TBitmap picture(2, 1);
    picture.SetPixel(1, 0, kRed);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    const std::vector<uint8_t> bytes = InfoBmp{.planes = 3}.Bytes();
    ByteReader in(bytes);
    EXPECT_THROW(ReadEmbeddedBitmap(in, picture), TError);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Pixel(1, 0), kRed);
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tilerack
