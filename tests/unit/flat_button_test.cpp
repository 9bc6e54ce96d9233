#include "panel/flat_button.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

TEST(FlatButtonState, FiveImageGlyphShowsImageByState) {
    TFlatButton b;
    b.numGlyphs = 5;
    EXPECT_EQ(b.ImageIndex({}), 4);
    EXPECT_EQ(b.ImageIndex({.hot = true}), 0);
    EXPECT_EQ(b.ImageIndex({.hot = true, .pressed = true}), 2);
    // pressed, then dragged off: shown up again
    EXPECT_EQ(b.ImageIndex({.hot = false, .pressed = true}), 4);
    b.numGlyphs = 1;
    EXPECT_EQ(b.ImageIndex({.hot = true}), 0);
}

TEST(GlyphDrawing, LowerLeftColourIsTransparent) {
    // Two 2x2 images; the key is the glyph's lower-left pixel (red).
    TBitmap glyph(4, 2);
    const Color key = Rgb(255, 0, 0);
    glyph.Fill(key);
    glyph.SetPixel(0, 0, Rgb(1, 2, 3));  // image 0, top-left
    glyph.SetPixel(3, 0, Rgb(4, 5, 6));  // image 1, top-right
    TBitmap target(3, 3);
    target.Fill(Rgb(9, 9, 9));
    DrawGlyphImage(target, 1, 1, glyph, 1, 2);
    EXPECT_EQ(target.Pixel(2, 1), Rgb(4, 5, 6));
    EXPECT_EQ(target.Pixel(1, 1), Rgb(9, 9, 9));  // key pixels leave the target alone
    EXPECT_EQ(target.Pixel(1, 2), Rgb(9, 9, 9));
    DrawGlyphImage(target, 0, 0, glyph, 0, 2);
    EXPECT_EQ(target.Pixel(0, 0), Rgb(1, 2, 3));
}

TEST(GlyphDrawing, ClippedAtEveryEdge) {
    TBitmap glyph(3, 3);
    glyph.Fill(Rgb(0, 0, 0));
    glyph.SetPixel(0, 2, Rgb(7, 7, 7));  // key
    glyph.SetPixel(2, 2, Rgb(0, 0, 0));
    TBitmap target(2, 2);
    target.Fill(Rgb(50, 50, 50));
    DrawGlyphImage(target, -2, -2, glyph, 0, 1);  // only the glyph's (2, 2) lands, on (0, 0)
    EXPECT_EQ(target.Pixel(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(target.Pixel(1, 1), Rgb(50, 50, 50));
    DrawGlyphImage(target, 1, 1, glyph, 0, 1);
    EXPECT_EQ(target.Pixel(1, 1), Rgb(0, 0, 0));
    DrawGlyphImage(target, 5, 5, glyph, 0, 1);  // entirely outside: nothing happens
    DrawGlyphImage(target, 0, 0, TBitmap(), 0, 1);
}

}  // namespace
}  // namespace tilerack
