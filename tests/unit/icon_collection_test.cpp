#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/errors.h"
#include "dialogs/icon_collection.h"
#include "le_bytes.h"

namespace tilerack {
namespace {

using testing::InfoBmp;
using testing::LeBytes;

// A 24-bit picture whose every pixel is `colour`, assembled by hand.
std::vector<uint8_t> SolidBmp(int width, int height, Color colour) {
    InfoBmp bmp;
    bmp.width = width;
    bmp.height = height;
    const int stride = ((width * 24 + 31) / 32) * 4;
    bmp.pixels.assign(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = bmp.pixels.data() + static_cast<size_t>(y) * stride + x * 3;
            p[0] = static_cast<uint8_t>(BlueOf(colour));
            p[1] = static_cast<uint8_t>(GreenOf(colour));
            p[2] = static_cast<uint8_t>(RedOf(colour));
        }
    return bmp.Bytes();
}

std::vector<uint8_t> Collection(int32_t count, const std::vector<std::vector<uint8_t>>& pictures) {
    LeBytes b;
    b.U32(static_cast<uint32_t>(count));
    for (const auto& p : pictures) b.Raw(p);
    return b.bytes;
}

struct Read {
    std::vector<TBitmap> pictures;
    std::string error;  // empty when the whole file was read
};

Read ReadAll(const std::vector<uint8_t>& bytes) {
    Read out;
    ByteReader in(bytes);
    try {
        const int n = ReadIconCollection(in, [&](const TBitmap& picture, int index) {
            EXPECT_EQ(index, static_cast<int>(out.pictures.size())) << "pictures handed over out of order";
            out.pictures.push_back(picture);
        });
        EXPECT_EQ(n, static_cast<int>(out.pictures.size()));
    } catch (const TError& e) {
        out.error = e.what();
    }
    return out;
}

constexpr Color kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255), kGrey = Rgb(90, 90, 90);

void ExpectSolid(const TBitmap& p, Color colour, const std::string& what) {
    ASSERT_EQ(p.Width(), 32) << what;
    ASSERT_EQ(p.Height(), 32) << what;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(p.Pixel(x, y), colour) << what << " at " << x << "," << y;
}

TEST(IconCollection, PicturesAreHandedOverInFileOrder) {
    const Read r = ReadAll(Collection(3, {SolidBmp(32, 32, kRed), SolidBmp(32, 32, kGreen), SolidBmp(32, 32, kBlue)}));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.pictures.size(), 3u);
    ExpectSolid(r.pictures[0], kRed, "picture 0");
    ExpectSolid(r.pictures[1], kGreen, "picture 1");
    ExpectSolid(r.pictures[2], kBlue, "picture 2");
}

TEST(IconCollection, EmptyAndNegativeCountsReadAsNoPictures) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        const Read r = ReadAll(Collection(count, {SolidBmp(32, 32, kRed)}));
        EXPECT_EQ(r.error, "") << "count " << count;
        EXPECT_TRUE(r.pictures.empty()) << "count " << count;
    }
}

TEST(IconCollection, ShortOrCutFilesEndWithAStreamReadErrorAfterTheGoodPictures) {
    // Shorter than the count.
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{1, 0, 0}}) {
        const Read r = ReadAll(bytes);
        EXPECT_EQ(r.error, kStreamReadError) << bytes.size() << " bytes";
        EXPECT_TRUE(r.pictures.empty());
    }
    // More pictures counted than present: the ones there are stay.
    Read r = ReadAll(Collection(5, {SolidBmp(32, 32, kRed), SolidBmp(32, 32, kGreen)}));
    EXPECT_EQ(r.error, kStreamReadError);
    ASSERT_EQ(r.pictures.size(), 2u);
    ExpectSolid(r.pictures[1], kGreen, "last picture present");
    // A picture cut inside its headers.
    std::vector<uint8_t> cut = SolidBmp(32, 32, kBlue);
    cut.resize(30);
    r = ReadAll(Collection(2, {SolidBmp(32, 32, kRed), cut}));
    EXPECT_EQ(r.error, kStreamReadError);
    EXPECT_EQ(r.pictures.size(), 1u);
}

TEST(IconCollection, DamagedPictureStopsTheReadAfterTheOnesBefore) {
    std::vector<uint8_t> damaged = SolidBmp(32, 32, kBlue);
    damaged[0] = 'X';  // not "BM"
    const Read r = ReadAll(Collection(4, {SolidBmp(32, 32, kRed), SolidBmp(32, 32, kGreen), damaged,
                                          SolidBmp(32, 32, kGrey)}));
    EXPECT_EQ(r.error, kBitmapInvalid);
    ASSERT_EQ(r.pictures.size(), 2u);
    ExpectSolid(r.pictures[0], kRed, "picture 0");
    ExpectSolid(r.pictures[1], kGreen, "picture 1");
}

TEST(IconCollection, PictureNarrowerOrLowerThan32IsAnInvalidSize) {
    for (auto [w, h] : {std::pair{16, 32}, std::pair{32, 31}, std::pair{1, 1}}) {
        const Read r = ReadAll(Collection(3, {SolidBmp(32, 32, kRed), SolidBmp(w, h, kGreen), SolidBmp(32, 32, kBlue)}));
        EXPECT_EQ(r.error, kInvalidImageSize) << w << " x " << h;
        EXPECT_EQ(r.pictures.size(), 1u) << w << " x " << h;
    }
}

TEST(IconCollection, WiderPictureBecomesOne32By32PictureAndLaterOnesKeepTheirPlace) {
    // Left half red, right half blue.
    InfoBmp wide;
    wide.width = 64;
    wide.height = 32;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const Color c = x < 32 ? kRed : kBlue;
            wide.pixels.insert(wide.pixels.end(), {static_cast<uint8_t>(BlueOf(c)), static_cast<uint8_t>(GreenOf(c)),
                                                   static_cast<uint8_t>(RedOf(c))});
        }
    const Read r = ReadAll(Collection(3, {SolidBmp(32, 32, kGrey), wide.Bytes(), SolidBmp(32, 32, kGreen)}));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.pictures.size(), 3u);
    const TBitmap& scaled = r.pictures[1];
    ASSERT_EQ(scaled.Width(), 32);
    ASSERT_EQ(scaled.Height(), 32);
    for (int y = 0; y < 32; ++y) {
        EXPECT_EQ(scaled.Pixel(0, y), kRed);
        EXPECT_EQ(scaled.Pixel(15, y), kRed);
        EXPECT_EQ(scaled.Pixel(16, y), kBlue);
        EXPECT_EQ(scaled.Pixel(31, y), kBlue);
    }
    ExpectSolid(r.pictures[2], kGreen, "picture after the wide one");
}

TEST(IconCollection, PalettePicturesOfTheImageReaderAreAccepted) {
    // 8 bits per pixel, two colours, every pixel colour 1.
    InfoBmp bmp;
    bmp.width = 32;
    bmp.height = 32;
    bmp.bitCount = 8;
    bmp.colorsUsed = 2;
    bmp.afterHeader = {0, 0, 0, 0, 255, 0, 0, 0};  // black, blue
    bmp.pixels.assign(32 * 32, 1);
    const Read r = ReadAll(Collection(1, {bmp.Bytes()}));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.pictures.size(), 1u);
    ExpectSolid(r.pictures[0], kBlue, "palette picture");
}

TEST(ScaleToSquare, ShrinkingAveragesBlocksAndGrowingRepeatsPixels) {
    // 64 x 64 of 2 x 2 blocks whose four pixels are 0, 40, 80, 120 grey.
    TBitmap big(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int v = 40 * ((x % 2) + 2 * (y % 2));
            big.SetPixel(x, y, Rgb(v, v, v));
        }
    const TBitmap small = ScaleToSquare(big, 32);
    ASSERT_EQ(small.Width(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(small.Pixel(x, y), Rgb(60, 60, 60)) << x << "," << y;

    TBitmap tiny(16, 16);
    tiny.Fill(kGrey);
    tiny.SetPixel(0, 0, kRed);
    const TBitmap grown = ScaleToSquare(tiny, 32);
    ASSERT_EQ(grown.Width(), 32);
    EXPECT_EQ(grown.Pixel(0, 0), kRed);
    EXPECT_EQ(grown.Pixel(1, 1), kRed);
    EXPECT_EQ(grown.Pixel(2, 2), kGrey);
    EXPECT_TRUE(ScaleToSquare(TBitmap(), 32).Empty());
}

TEST(ShippedIconCollection, ReadsWholeWithTheKeyColourInEveryBottomLeftCorner) {
    std::ifstream f(std::string(TILERACK_SOURCE_DIR) + "/res/icons/icons.dat", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    const Read r = ReadAll(bytes);
    EXPECT_EQ(r.error, "");
    ASSERT_GE(r.pictures.size(), 150u);
    // The panel keys out a picture's bottom-left colour: every picture's
    // background, and nothing else of it, carries that one near-white.
    const Color key = r.pictures[0].Pixel(0, 31);
    EXPECT_NE(key, Rgb(255, 255, 255)) << "white paper would turn see-through on the panel";
    for (size_t i = 0; i < r.pictures.size(); ++i) {
        EXPECT_EQ(r.pictures[i].Pixel(0, 31), key) << "picture " << i;
        int keyed = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) keyed += r.pictures[i].Pixel(x, y) == key;
        EXPECT_LT(keyed, 32 * 32) << "picture " << i << " is blank";
    }
}

}  // namespace
}  // namespace tilerack
