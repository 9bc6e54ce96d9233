#include "panel/item_glyph.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "common/bmp_codec.h"

namespace tilerack {
namespace {

constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

// A picture from rows of letters, each letter one pixel.
TBitmap Picture(const std::vector<std::string>& rows, const std::vector<std::pair<char, Color>>& colours) {
    TBitmap bmp(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            for (const auto& [letter, colour] : colours)
                if (rows[y][x] == letter) bmp.SetPixel(x, y, colour);
    return bmp;
}

// The glyph as the item button's definition states it, built the long way:
// five copies of the icon side by side, in the first every pixel that differs
// from the icon's top-left pixel brightened.
TBitmap ReferenceGlyph(const TBitmap& icon, double gain = kGlyphGain) {
    const int w = icon.Width();
    TBitmap glyph(5 * w, icon.Height());
    for (int image = 0; image < 5; ++image) glyph.Draw(image * w, 0, icon);
    const Color background = icon.Pixel(0, 0);
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < w; ++x) {
            const Color c = icon.Pixel(x, y);
            if (c == background) continue;
            glyph.SetPixel(x, y, Rgb(BrightenChannel(RedOf(c), gain, 32), BrightenChannel(GreenOf(c), gain, 10),
                                     BrightenChannel(BlueOf(c), gain, 24)));
        }
    return glyph;
}

constexpr Color kUntouched = Rgb(7, 77, 177);  // found in no icon below

// What the painter draws of image `index` on a picture of the icon's size.
TBitmap Drawn(const TBitmap& icon, int index, double gain = kGlyphGain) {
    TBitmap target(icon.Width(), icon.Height());
    target.Fill(kUntouched);
    ItemGlyphPainter(gain).Draw(target.Rows(), 0, 0, icon, index);
    return target;
}

// Each case is {value, added, expected}.
void ExpectBrightened(std::initializer_list<std::array<int, 3>> cases) {
    for (const auto& [value, add, expected] : cases)
        EXPECT_EQ(BrightenChannel(value, kGlyphGain, add), expected) << value << " * gain + " << add;
}

TEST(ItemGlyph, BrightenedChannelsMatchTheKnownFigures) {
    // Black and mid grey, then the first values that reach the limit and the ones just below.
    ExpectBrightened({{0, 32, 32}, {0, 10, 10}, {0, 24, 24}, {128, 32, 169}, {128, 10, 147}, {128, 24, 161}});
    ExpectBrightened({{207, 32, 253}, {208, 32, 255}, {228, 10, 254}, {229, 10, 255}, {215, 24, 254},
                      {216, 24, 255}, {255, 32, 255}});
}

TEST(ItemGlyph, HalvesRoundToTheEvenNeighbour) {
    // 150 * 1.07 = 160.5 and 50 * 1.07 = 53.5: one half goes down, one up.
    ExpectBrightened({{150, 24, 184}, {150, 10, 170}, {150, 32, 192}, {50, 24, 78}, {50, 10, 64}, {50, 32, 86}});
}

TEST(ItemGlyph, OnlyTheFirstImageIsBrightenedAndTheBackgroundIsLeftOut) {
    const Color bg = Rgb(1, 2, 3);
    const TBitmap icon = Picture({"bkg", "rbk", "bbb"},
                                 {{'b', bg}, {'k', kBlack}, {'g', Rgb(128, 128, 128)}, {'r', Rgb(208, 229, 216)}});
    const TBitmap bright = Drawn(icon, 0);
    EXPECT_EQ(bright.Pixel(1, 0), Rgb(32, 10, 24));
    EXPECT_EQ(bright.Pixel(2, 0), Rgb(169, 147, 161));
    EXPECT_EQ(bright.Pixel(0, 1), Rgb(255, 255, 255));
    EXPECT_EQ(bright.Pixel(2, 1), Rgb(32, 10, 24));
    // The lower-left pixel is the background: every background pixel is left out.
    for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {0, 2}, {1, 2}, {2, 2}}) EXPECT_EQ(bright.Pixel(x, y), kUntouched);

    for (int i = 1; i < 5; ++i) {
        const TBitmap plain = Drawn(icon, i);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(plain.Pixel(x, y), icon.Pixel(x, y) == bg ? kUntouched : icon.Pixel(x, y))
                    << "image " << i + 1 << " at " << x << "," << y;
    }
}

TEST(ItemGlyph, BlackTopLeftKeepsBlackPixelsInTheFirstImage) {
    const TBitmap icon = Picture({"kww", "wkk"}, {{'k', kBlack}, {'w', Rgb(100, 100, 100)}});
    const TBitmap bright = Drawn(icon, 0);
    const Color lifted = Rgb(139, 117, 131);  // 100 * 1.07 = 107, plus 32 / 10 / 24
    // The lower-left pixel is brightened, so the colour left out is the lifted
    // grey: the black pixels stay, the grey ones drop out.
    for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {2, 1}}) EXPECT_EQ(bright.Pixel(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{1, 0}, {2, 0}, {0, 1}}) EXPECT_EQ(bright.Pixel(x, y), kUntouched) << x << "," << y;
    // In a plain image the key stays the lifted grey, which no plain pixel has.
    EXPECT_EQ(Drawn(icon, 4).Pixel(1, 0), Rgb(100, 100, 100));
    EXPECT_EQ(ReferenceGlyph(icon).Pixel(1, 0), lifted);
}

TEST(ItemGlyph, EveryValueOfEveryChannelIsBrightenedOnItsOwn) {
    // One pixel for each value, the three channels offset from each other so
    // that a channel reading another's table shows.
    TBitmap icon(257, 1);
    icon.SetPixel(0, 0, Rgb(1, 1, 1));  // the background, found nowhere else
    for (int v = 0; v < 256; ++v) icon.SetPixel(v + 1, 0, Rgb(v, (v + 85) & 255, (v + 170) & 255));
    const TBitmap bright = Drawn(icon, 0);
    for (int v = 0; v < 256; ++v) {
        if (Rgb(v, (v + 85) & 255, (v + 170) & 255) == Rgb(1, 1, 1)) continue;
        const Color expected = Rgb(BrightenChannel(v, 1.07, 32), BrightenChannel((v + 85) & 255, 1.07, 10),
                                   BrightenChannel((v + 170) & 255, 1.07, 24));
        ASSERT_EQ(bright.Pixel(v + 1, 0), expected) << "value " << v;
    }
}

// The painter draws exactly what drawing an image of the whole five-image
// glyph draws, clipping included, whatever the icon, gain and state.
TEST(ItemGlyph, PainterDrawsWhatTheFiveImageGlyphDraws) {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const Color palette[] = {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(100, 100, 100), Rgb(139, 117, 131),
                             Rgb(208, 229, 216), Rgb(12, 200, 40), Rgb(1, 2, 3)};
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(next() % 9), h = 1 + static_cast<int>(next() % 7);
        TBitmap icon(w, h);
        // Few colours, so that top-left, lower-left and brightened colours meet often.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) icon.SetPixel(x, y, palette[next() % 7]);
        const double gain = round % 3 == 0 ? 1.0 : kGlyphGain;
        const TBitmap glyph = ReferenceGlyph(icon, gain);
        const ItemGlyphPainter painter(gain);
        for (int index = 0; index < 5; ++index)
            for (auto [x, y] : {std::pair{0, 0}, {-2, 1}, {3, -3}, {5, 4}, {-10, 0}}) {
                TBitmap expected(8, 6), actual(8, 6);
                expected.Fill(kUntouched);
                actual.Fill(kUntouched);
                DrawGlyphImage(expected, x, y, glyph, index, 5);
                painter.Draw(actual.Rows(), x, y, icon, index);
                ASSERT_TRUE(actual.SamePixels(expected))
                    << "round " << round << ", image " << index << ", at " << x << "," << y;
            }
    }
}

TEST(ItemGlyph, EmptyIconDrawsNothing) {
    TBitmap target(4, 4);
    target.Fill(kUntouched);
    ItemGlyphPainter().Draw(target.Rows(), 0, 0, TBitmap(), 0);
    TBitmap untouched(4, 4);
    untouched.Fill(kUntouched);
    EXPECT_TRUE(target.SamePixels(untouched));
}

TEST(ItemGlyph, MirrorReversesEveryRowAndTwiceRestores) {
    TBitmap original(5, 3);  // odd width: rows carry padding
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) original.SetPixel(x, y, Rgb(x * 40, y * 70, x + y));
    TBitmap mirrored = original;
    MirrorBitmap(mirrored);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(mirrored.Pixel(x, y), original.Pixel(4 - x, y));
    MirrorBitmap(mirrored);
    EXPECT_TRUE(mirrored.SamePixels(original));
}

// A picture as rows of letters: 'K' black, 'W' white, '.' `background`.
std::vector<std::string> Letters(const TBitmap& bmp, Color background = kBrightBackground) {
    std::vector<std::string> rows(bmp.Height());
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            const Color c = bmp.Pixel(x, y);
            rows[y] += c == kBlack ? 'K' : c == kWhite ? 'W' : c == background ? '.' : '?';
        }
    return rows;
}

TEST(ItemGlyph, BrightArrowsAreThreeRightPointingHeads) {
    const TBitmap bright = MakeBrightArrows();
    const std::vector<std::string> expected = {
        ".K....K....K....", "KWK..KWK..KWK...", "KWWK.KWWK.KWWK..",
        "KWWWKKWWWKKWWWK.", "KWWWWKWWWWKWWWWK", "KWWWKKWWWKKWWWK.",
        "KWWK.KWWK.KWWK..", "KWK..KWK..KWK...", ".K....K....K....",
    };
    EXPECT_EQ(Letters(bright), expected);
    // Its transparent key is the lower-left pixel.
    EXPECT_EQ(bright.Pixel(0, 8), kBrightBackground);
}

TEST(ItemGlyph, CloseCrossIsABlackDiagonalCrossOnSilver) {
    const std::vector<std::string> expected = {
        "........", "KK....KK", ".KK..KK.", "..KKKK..", "...KK...",
        "..KKKK..", ".KK..KK.", "KK....KK", "........",
    };
    EXPECT_EQ(Letters(MakeCloseCross(), Rgb(192, 192, 192)), expected);
}

TEST(ItemGlyph, ArrowGlyphsPointTowardsTheEdgeForHidingAndAwayForTheMenu) {
    const TBitmap bright = MakeBrightArrows();
    for (int side : {0, 1, 2}) {
        SCOPED_TRACE(side);
        const ArrowGlyphs glyphs = BuildArrowGlyphs(bright, static_cast<PanelSide>(side));
        ASSERT_EQ(glyphs.hide.Width(), 64);
        ASSERT_EQ(glyphs.hide.Height(), 9);
        ASSERT_EQ(glyphs.menu.Width(), 16);
        const bool hideMirrored = side == 0;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(glyphs.hide.Pixel(x, y), bright.Pixel(hideMirrored ? 15 - x % 16 : x % 16, y));
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(glyphs.menu.Pixel(x, y), bright.Pixel(hideMirrored ? x : 15 - x, y));
        }
    }
}

// The arrow picture compiled into the program's resources must be the one the
// strip draws when the resource cannot be loaded.
TEST(ItemGlyphResources, BrightResourceMatchesTheArrowPicture) {
    const std::string path = std::string(TILERACK_SOURCE_DIR) + "/res/bright.bmp";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ByteReader reader(bytes);
    TBitmap resource;
    ReadEmbeddedBitmap(reader, resource);
    EXPECT_EQ(Letters(resource), Letters(MakeBrightArrows()));
    EXPECT_TRUE(resource.SamePixels(MakeBrightArrows()));
}

}  // namespace
}  // namespace tilerack
