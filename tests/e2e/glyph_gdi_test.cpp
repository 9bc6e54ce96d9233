// The generated glyph tiles drawn with real GDI text, in this process: the
// bevel frame stays whole, a symbol is drawn inside it, every call differs.
#include <vector>

#include "e2e_harness.h"
#include "items/glyph_painter.h"
#include "items/glyph_text_win.h"
#include "common/random.h"

namespace e2e {
namespace {

constexpr int kTile = 32;

// Whether the installed Webdings has a glyph for `code`: Wine's own copy holds
// only a few of them (the rest draw as the font's missing-glyph box), the
// Windows one holds all.
HFONT CreateWebdings() {
    return CreateFontW(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Webdings");
}

bool WebdingsHasGlyph(int code) {
    HFONT font = CreateWebdings();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const wchar_t text[2] = {static_cast<wchar_t>(code), 0};
    WORD index = 0;
    const bool found = GetGlyphIndicesW(dc, text, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return found;
}

bool OnFrame(int x, int y) { return x == 0 || y == 0 || x == kTile - 1 || y == kTile - 1; }

// Saves the tiles side by side, four times their size.
bool SaveEnlarged(const std::vector<TBitmap>& tiles) {
    constexpr int kScale = 4;
    TBitmap shown(static_cast<int>(tiles.size()) * kTile * kScale, kTile * kScale);
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
            shown.SetPixel(x, y, tiles[x / (kTile * kScale)].Pixel((x / kScale) % kTile, y / kScale));
    return SavePng(CurrentTestName(), shown);
}

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
                ASSERT_EQ(GetBValue(c), 255) << "tile " << tile << ": top or left edge at " << x << "," << y;
            }
            if (y == kTile - 1 || x == kTile - 1) {
                ASSERT_EQ(GetGValue(c), 0) << "tile " << tile << ": right or bottom edge at " << x << "," << y;
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
            if (WebdingsHasGlyph(' ')) {
                EXPECT_EQ(differences, 0) << "tile " << i << ": a blank symbol changed the tile";
            }
        } else if (code < 127) {
            EXPECT_GT(differences, 20) << "tile " << i << ": no symbol drawn for code " << code;
        }
        for (size_t earlier = 0; earlier < tiles.size(); ++earlier)
            EXPECT_FALSE(glyph.SamePixels(tiles[earlier])) << "tiles " << earlier << " and " << i << " are the same";
        tiles.push_back(glyph);
    }
    EXPECT_TRUE(SaveEnlarged({tiles.begin(), tiles.begin() + 8}));
}

// Hands out the draws of one tile in order: six reals, the symbol (below
// 96), the face's red (below 256). Drawing more throws.
class ScriptedRandom : public tilerack::IRandom {
public:
    ScriptedRandom(const std::vector<double>& reals, int symbol, int red) : reals_(reals), ints_{symbol, red} {}
    double NextReal() override { return reals_.at(realsTaken_++); }
    std::int32_t NextInt(std::int32_t) override { return ints_.at(intsTaken_++); }

private:
    std::vector<double> reals_;
    std::vector<int> ints_;
    size_t realsTaken_ = 0, intsTaken_ = 0;
};

TEST(GlyphGdi, SymbolHasItsFaceColourAndABlackShadowInsideTheFrame) {
    const std::vector<double> reals{0.1, 0.7, 0.2, 0.4, 0.9, 0.3};
    constexpr int kRed = 77;
    // '4' is a solid arrow head in every Webdings, Wine's own small copy too.
    ScriptedRandom random(reals, '4' - 32, kRed);
    tilerack::TGdiGlyphTextRenderer renderer;
    TBitmap glyph;
    tilerack::DrawRandomGlyph(kTile, kTile, glyph, random, renderer);
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
            // Only the black shadow brings the blue below the pattern's 191,
            // also where smoothing mixes it with the pattern.
            if (GetBValue(c) < 120) ++shadow;
        }
    EXPECT_GT(face, 10) << "no pixel in the face colour";
    EXPECT_GT(shadow, 3) << "no black shadow pixel";
    EXPECT_TRUE(SaveEnlarged({glyph}));
}

TEST(GlyphGdi, BlankSymbolLeavesThePatternAlone) {
    if (!WebdingsHasGlyph(' ')) GTEST_SKIP() << "this Webdings has no space glyph (Wine's own copy)";
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

// The symbol font must be the real one, not a substitute that shows letters:
// a Windows user sees Webdings symbols on generated glyphs.
TEST(GlyphFont, WebdingsIsTheFaceGdiSelects) {
    HFONT font = CreateWebdings();
    ASSERT_NE(font, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    EXPECT_STREQ(face, L"Webdings");
    EXPECT_EQ(metrics.tmCharSet, SYMBOL_CHARSET) << "a substitute font was selected";
}

}  // namespace
}  // namespace e2e
