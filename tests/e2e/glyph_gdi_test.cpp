// The generated glyph tiles drawn with real GDI text, in this process: the
// bevel frame stays whole, a symbol is drawn inside it, every call differs.
#include <deque>
#include <vector>

#include "e2e_harness.h"
#include "items/glyph_painter.h"
#include "items/glyph_text_win.h"
#include "items/random.h"
#include "scenario_support.h"

namespace e2e {
namespace {

using tilerack::TBitmap;

constexpr int kTile = 32;

bool OnFrame(int x, int y) { return x == 0 || y == 0 || x == kTile - 1 || y == kTile - 1; }

int Blue(COLORREF c) { return GetBValue(c); }
int Green(COLORREF c) { return GetGValue(c); }

// Pixels of `glyph` inside the frame that differ from the bare pattern.
int InnerDifferences(const TBitmap& glyph, const TBitmap& pattern) {
    int count = 0;
    for (int y = 1; y < kTile - 1; ++y)
        for (int x = 1; x < kTile - 1; ++x)
            if (glyph.Pixel(x, y) != pattern.Pixel(x, y)) ++count;
    return count;
}

void ExpectWholeBevelFrame(const TBitmap& glyph, const TBitmap& pattern, int tile) {
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            if (!OnFrame(x, y)) continue;
            const COLORREF c = glyph.Pixel(x, y);
            ASSERT_EQ(Hex(c), Hex(pattern.Pixel(x, y))) << "tile " << tile << ": frame pixel " << x << "," << y
                                                        << " was drawn over";
            if (y == 0 || x == 0) {
                ASSERT_EQ(Blue(c), 255) << "tile " << tile << ": top or left edge at " << x << "," << y;
            }
            if (y == kTile - 1 || x == kTile - 1) {
                ASSERT_EQ(Green(c), 0) << "tile " << tile << ": right or bottom edge at " << x << "," << y;
            }
        }
}

TEST(GlyphGdi, ProgramGlyphsKeepTheBevelFrameAndCarryASymbol) {
    tilerack::ProgramRandom().Seed(20240607);
    std::vector<TBitmap> tiles;
    for (int i = 0; i < 20; ++i) {
        // A copy of the generator takes the same draws as the painter will.
        tilerack::TRandom lookahead = tilerack::ProgramRandom();
        double reals[6];
        for (double& r : reals) r = lookahead.NextReal();
        const int code = 32 + lookahead.NextInt(96);

        TBitmap glyph(16, 16);  // the painter resizes whatever it is given
        tilerack::DrawRandomGlyph(kTile, kTile, glyph);
        ASSERT_EQ(glyph.Width(), kTile);
        ASSERT_EQ(glyph.Height(), kTile);
        TBitmap pattern(kTile, kTile);
        tilerack::PaintGlyphPattern(pattern, reals);

        ExpectWholeBevelFrame(glyph, pattern, i);
        const int differences = InnerDifferences(glyph, pattern);
        if (code == 32) {
            EXPECT_EQ(differences, 0) << "tile " << i << ": a blank symbol changed the tile";
        } else if (code < 127) {
            EXPECT_GT(differences, 20) << "tile " << i << ": no symbol drawn for code " << code;
        }
        for (size_t earlier = 0; earlier < tiles.size(); ++earlier)
            EXPECT_FALSE(glyph.SamePixels(tiles[earlier])) << "tiles " << earlier << " and " << i << " are the same";
        tiles.push_back(glyph);
    }

    // Eight tiles side by side, four times their size.
    constexpr int kScale = 4, kShown = 8;
    const int width = kShown * kTile * kScale, height = kTile * kScale;
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] =
                tiles[static_cast<size_t>(x / (kTile * kScale))].Pixel((x / kScale) % kTile, y / kScale);
    EXPECT_TRUE(SavePicturePng(CurrentTestName(), width, height, pixels));
}

// Hands out the draws the painter asks for, checking that it asks for them
// in the order the tiles are made: six reals, then below 96, then below 256.
class ScriptedRandom : public tilerack::IRandom {
public:
    ScriptedRandom(std::vector<double> reals, int symbol, int red)
        : reals_(reals.begin(), reals.end()), ints_{{96, symbol}, {256, red}} {}
    double NextReal() override {
        EXPECT_FALSE(reals_.empty()) << "more than six reals drawn";
        EXPECT_EQ(ints_.size(), 2u) << "a real drawn after an integer";
        if (reals_.empty()) return 0.5;
        const double r = reals_.front();
        reals_.pop_front();
        return r;
    }
    std::int32_t NextInt(std::int32_t n) override {
        EXPECT_TRUE(reals_.empty()) << "an integer drawn before the six reals";
        if (ints_.empty()) {
            ADD_FAILURE() << "more than two integers drawn";
            return 0;
        }
        const auto [bound, value] = ints_.front();
        ints_.pop_front();
        EXPECT_EQ(n, bound);
        return value;
    }
    bool Exhausted() const { return reals_.empty() && ints_.empty(); }

private:
    std::deque<double> reals_;
    std::deque<std::pair<int, int>> ints_;
};

TEST(GlyphGdi, SymbolHasItsFaceColourAndABlackShadowInsideTheFrame) {
    const std::vector<double> reals{0.1, 0.7, 0.2, 0.4, 0.9, 0.3};
    constexpr int kRed = 77;
    ScriptedRandom random(reals, 'W' - 32, kRed);
    tilerack::TGdiGlyphTextRenderer renderer;
    TBitmap glyph;
    tilerack::DrawRandomGlyph(kTile, kTile, glyph, random, renderer);
    EXPECT_TRUE(random.Exhausted()) << "fewer draws than a tile takes";
    TBitmap pattern(kTile, kTile);
    tilerack::PaintGlyphPattern(pattern, reals.data());

    ExpectWholeBevelFrame(glyph, pattern, 0);
    // Inside the frame the pattern's blue is 191: the face (blue 255, green
    // 255) and the shadow (black) cannot be mistaken for it.
    int face = 0, shadow = 0;
    for (int y = 1; y < kTile - 1; ++y)
        for (int x = 1; x < kTile - 1; ++x) {
            const COLORREF c = glyph.Pixel(x, y);
            if (c == RGB(kRed, 255, 255)) ++face;
            if (c == RGB(0, 0, 0)) ++shadow;
        }
    EXPECT_GT(face, 10) << "no pixel in the face colour";
    EXPECT_GT(shadow, 3) << "no black shadow pixel";
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kTile * 4; ++y)
        for (int x = 0; x < kTile * 4; ++x) pixels.push_back(glyph.Pixel(x / 4, y / 4));
    EXPECT_TRUE(SavePicturePng(CurrentTestName(), kTile * 4, kTile * 4, pixels));
}

TEST(GlyphGdi, BlankSymbolLeavesThePatternAlone) {
    const std::vector<double> reals{0.55, 0.05, 0.95, 0.35, 0.65, 0.85};
    ScriptedRandom random(reals, 0, 200);  // code 32, a space
    tilerack::TGdiGlyphTextRenderer renderer;
    TBitmap glyph(kTile, kTile);
    glyph.Fill(RGB(1, 2, 3));
    tilerack::DrawRandomGlyph(kTile, kTile, glyph, random, renderer);
    TBitmap pattern(kTile, kTile);
    tilerack::PaintGlyphPattern(pattern, reals.data());
    EXPECT_TRUE(glyph.SamePixels(pattern)) << InnerDifferences(glyph, pattern) << " pixels differ";
}

}  // namespace
}  // namespace e2e
