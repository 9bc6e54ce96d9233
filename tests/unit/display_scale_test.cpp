// Sizes at other display scales: the scale's rounding, the panel's metrics,
// the strip and the pointer watch laid out with them, and pictures drawn
// larger with their see-through colour kept exact.
#include <gtest/gtest.h>

#include <climits>

#include "common/covered_picture.h"
#include "common/dpi_scale.h"
#include "panel/background_blend.h"
#include "panel/item_glyph.h"
#include "panel/panel_metrics.h"
#include "panel/pointer_watch.h"
#include "panel/strip_focus.h"
#include "panel/strip_layout.h"

namespace tilerack {
namespace {

TEST(DpiScale, PicturesAndTheDefaultWidthAtTheUsualScales) {
    EXPECT_EQ(DpiScale::Of(96).Scale(32), 32);
    EXPECT_EQ(DpiScale::Of(120).Scale(32), 40);
    EXPECT_EQ(DpiScale::Of(144).Scale(32), 48);
    EXPECT_EQ(DpiScale::Of(192).Scale(32), 64);
    EXPECT_EQ(DpiScale::Of(120).Scale(64), 80);
    EXPECT_EQ(DpiScale::Of(192).Scale(64), 128);
    // Halves round away from zero: 11 * 1.25 = 13.75, 34 * 1.25 = 42.5, 1 * 1.5 = 1.5.
    EXPECT_EQ(DpiScale::Of(120).Scale(11), 14);
    EXPECT_EQ(DpiScale::Of(120).Scale(34), 43);
    EXPECT_EQ(DpiScale::Of(144).Scale(1), 2);
    EXPECT_EQ(DpiScale::Of(144).Scale(-1), -2);
}

TEST(DpiScale, StoredWidthsComeBackUnchangedFromEveryScale) {
    for (int dpi : {96, 100, 120, 125, 144, 168, 192, 240, 288, 480})
        for (int width = -300; width <= 5000; ++width)
            ASSERT_EQ(DpiScale::Of(dpi).Unscale(DpiScale::Of(dpi).Scale(width)), width) << dpi << " " << width;
}

TEST(DpiScale, OddScalesAreKeptInRangeAndHugeSizesDoNotOverflow) {
    EXPECT_EQ(DpiScale::Of(0).dpi, 96);
    EXPECT_EQ(DpiScale::Of(-5).dpi, 96);
    EXPECT_EQ(DpiScale::Of(72).dpi, 96);
    EXPECT_EQ(DpiScale::Of(100000).dpi, DpiScale::kMaxDpi);
    EXPECT_EQ(DpiScale::Of(192).Scale(INT_MAX), INT_MAX);
    EXPECT_EQ(DpiScale::Of(192).Scale(INT_MIN), INT_MIN);
    EXPECT_EQ(DpiScale::Of(192).Unscale(INT_MAX), INT_MAX / 2 + 1);
}

TEST(PanelMetrics, At96TheyAreTheDesignedSizes) {
    const PanelMetrics m = PanelMetrics::For(DpiScale::Of(96), 4);
    EXPECT_EQ(m.itemPitch, kItemButtonHeight);
    EXPECT_EQ(m.hideHeight, kHideButtonHeight);
    EXPECT_EQ(m.closeSize, kCloseButtonSize);
    EXPECT_EQ(m.menuWidth, kMenuButtonWidth);
    EXPECT_EQ(m.menuBottomGap, kMenuButtonBottomGap);
    EXPECT_EQ(m.picture, 32);
    EXPECT_EQ(m.minWidth, 24);
    EXPECT_EQ(m.frameOverhang, 4);
    EXPECT_EQ(m.fontHeight, 11);
}

TEST(PanelMetrics, At200PercentEverySizeDoublesButTheFrameIsTheSystems) {
    const PanelMetrics m = PanelMetrics::For(DpiScale::Of(192), 5);
    EXPECT_EQ(m.itemPitch, 68);
    EXPECT_EQ(m.picture, 64);
    EXPECT_EQ(m.hideHeight, 22);
    EXPECT_EQ(m.menuWidth, 48);
    EXPECT_EQ(m.nearMargin, 32);
    EXPECT_EQ(m.edgeReach, 4);
    EXPECT_EQ(m.fontHeight, 22);
    EXPECT_EQ(m.frameOverhang, 5);  // the border Wine gives such a frame at 192 DPI
    // Without a border of its own the overhang is the designed one, scaled.
    EXPECT_EQ(PanelMetrics::For(DpiScale::Of(192), 0).frameOverhang, 8);
}

TEST(ScaledStrip, ItemsStackAtTheScaledPitchBelowTheScaledHideBar) {
    const PanelMetrics m = PanelMetrics::For(DpiScale::Of(144), 5);
    const StripButtons b = PlaceStripButtons(86, 778, PanelSide::Left, m);
    EXPECT_EQ(b.close, (Rect{86 - 17, 0, 17, 17}));
    EXPECT_EQ(b.hide, (Rect{0, 0, 69, 17}));
    EXPECT_EQ(b.menu, (Rect{86 - 36, 778 - 17 - 24, 36, 17}));
    const auto slots = LayoutItemSlots(3, 778, b.hide.Bottom(), m);
    EXPECT_EQ(slots[0].top, 17 + 2);
    EXPECT_EQ(slots[2].top, 19 + 2 * 51);
    // Bottom 19 + 15 * 51 = 784 is past 778 - 3: fourteen fit.
    EXPECT_EQ(FittingItemCount(778, b.hide.Bottom(), m), 14);
    EXPECT_TRUE(LayoutItemSlots(14, 778, b.hide.Bottom(), m)[13].visible);
    EXPECT_FALSE(LayoutItemSlots(15, 778, b.hide.Bottom(), m)[14].visible);
    // Scrolled by the keyboard, the pitch is the scaled one too.
    EXPECT_EQ(LayoutItemSlotsFrom(20, 2, 778, b.hide.Bottom(), m)[2].top, 19);
}

TEST(ScaledWatch, ZonesAndPlacesFollowTheScale) {
    const PanelMetrics m = PanelMetrics::For(DpiScale::Of(192), 5);
    EXPECT_EQ(ShownLeft(PanelSide::Left, 1024, 128, 0, m), -5);
    EXPECT_EQ(ShownLeft(PanelSide::Right, 1024, 128, 0, m), 1024 - 128 + 5);
    EXPECT_EQ(HiddenLeft(PanelSide::Left, 1024, 128, 0, m), -130);
    EXPECT_EQ(HiddenLeft(PanelSide::Right, 1024, 128, 0, m), 1030);
    EXPECT_TRUE(InEdgeZone(PanelSide::Left, {4, 10}, 1024, m));
    EXPECT_FALSE(InEdgeZone(PanelSide::Left, {5, 10}, 1024, m));
    EXPECT_FALSE(InEdgeZone(PanelSide::Left, {0, 9}, 1024, m));
    EXPECT_TRUE(InEdgeZone(PanelSide::Right, {1020, 10}, 1024, m));
    EXPECT_TRUE(InNearZone(PanelSide::Left, {128 + 31, 400}, 1024, 128, m));
    EXPECT_FALSE(InNearZone(PanelSide::Left, {128 + 32, 400}, 1024, 128, m));
    // At 96 DPI the same pointer is far from a panel of the same width.
    EXPECT_FALSE(InNearZone(PanelSide::Left, {128 + 16, 400}, 1024, 128));

    PointerWatch watch;
    EXPECT_EQ(watch.Tick(PanelSide::Left, true, 0, {3, 300}, 1024, 128, m), WatchAction::ShowSequence);
    EXPECT_EQ(watch.Tick(PanelSide::Left, true, 0, {3, 300}, 1024, 128), WatchAction::None);
}

// A 32 x 32 picture: a red square in a green see-through surround, its
// lower-left pixel green.
TBitmap RedSquareOnKey() {
    TBitmap picture(32, 32);
    picture.Fill(Rgb(0, 255, 0));
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x) picture.SetPixel(x, y, Rgb(255, 0, 0));
    return picture;
}

TEST(CoveredPicture, TheSameSizeIsAnExactCopyOfTheKeyedDrawing) {
    const TBitmap picture = RedSquareOnKey();
    TBitmap keyed(40, 40), covered(40, 40);
    keyed.Fill(Rgb(1, 2, 3));
    covered.Fill(Rgb(1, 2, 3));
    DrawGlyphImage(keyed, 3, 5, picture, 0, 1);
    DrawCovered(covered.Rows(), 3, 5, ScaleSmooth(CoverPicture(picture, 0, 32, Rgb(0, 255, 0)), 32, 32));
    EXPECT_TRUE(keyed.SamePixels(covered));
}

TEST(CoveredPicture, ScaledLargerTheKeyNeverBleedsIntoTheEdge) {
    for (int size : {40, 48, 64}) {
        const CoveredPicture scaled =
            ScaleSmooth(CoverPicture(RedSquareOnKey(), 0, 32, Rgb(0, 255, 0)), size, size);
        ASSERT_EQ(scaled.width, size);
        int partly = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint8_t* p = scaled.At(x, y);
                if (p[3] == 0) continue;
                // Every covered pixel is pure red however little it is covered.
                ASSERT_EQ(p[0], 0) << size << ": " << x << "," << y;
                ASSERT_EQ(p[1], 0) << size << ": " << x << "," << y;
                ASSERT_EQ(p[2], 255) << size << ": " << x << "," << y;
                if (p[3] < 255) ++partly;
            }
        EXPECT_GT(partly, 0) << "the edge is smoothed at " << size;
        // The square's middle is opaque, the corners see-through.
        EXPECT_EQ(scaled.At(size / 2, size / 2)[3], 255);
        EXPECT_EQ(scaled.At(0, 0)[3], 0);
        EXPECT_EQ(scaled.At(size - 1, size - 1)[3], 0);
    }
}

TEST(CoveredPicture, DrawingBlendsPartlyCoveredPixelsWithTheTarget) {
    CoveredPicture p(3, 1);
    const uint8_t pixels[] = {200, 100, 0, 255, 200, 100, 0, 0, 200, 100, 0, 128};
    std::copy(std::begin(pixels), std::end(pixels), p.pixels.begin());
    TBitmap target(3, 1);
    target.Fill(Rgb(0, 0, 0));
    DrawCovered(target.Rows(), 0, 0, p);
    EXPECT_EQ(target.Pixel(0, 0), Rgb(0, 100, 200));
    EXPECT_EQ(target.Pixel(1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(target.Pixel(2, 0), Rgb(0, 50, 100));
    // Clipped at every side without touching memory outside the target:
    // only the half-covered pixel lands, on (0, 0).
    target.Fill(Rgb(0, 0, 0));
    DrawCovered(target.Rows(), -2, 0, p);
    DrawCovered(target.Rows(), 2, -1, p);
    DrawCovered(target.Rows(), 0, 1, p);
    EXPECT_EQ(target.Pixel(0, 0), Rgb(0, 50, 100));
    EXPECT_EQ(target.Pixel(1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(target.Pixel(2, 0), Rgb(0, 0, 0));
}

TEST(CoveredPicture, FlattenedForAMaskTheKeyMarksExactlyTheUncoveredPixels) {
    CoveredPicture p(3, 1);
    // Covered but exactly the key colour; barely covered; see-through.
    const uint8_t pixels[] = {0, 255, 0, 255, 9, 9, 9, 127, 9, 9, 9, 0};
    std::copy(std::begin(pixels), std::end(pixels), p.pixels.begin());
    const TBitmap flat = FlattenToKey(p, Rgb(0, 255, 0));
    EXPECT_NE(flat.Pixel(0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(flat.Pixel(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(flat.Pixel(2, 0), Rgb(0, 255, 0));
}

TEST(ScaledGlyph, ItemPictureKeepsItsBrighteningAndItsKeyAtEveryScale) {
    TBitmap icon = RedSquareOnKey();
    icon.SetPixel(0, 0, Rgb(0, 255, 0));  // the top-left colour is the background: not brightened
    const ItemGlyphPainter painter;
    // The same size: the covered image draws what the painter draws.
    for (int index : {0, 2, 4}) {
        TBitmap drawn(32, 32), covered(32, 32);
        drawn.Fill(Rgb(7, 7, 7));
        covered.Fill(Rgb(7, 7, 7));
        painter.Draw(drawn.Rows(), 0, 0, icon, index);
        DrawCovered(covered.Rows(), 0, 0, painter.Cover(icon, index));
        EXPECT_TRUE(drawn.SamePixels(covered)) << "image " << index;
    }
    // Larger: the middle carries the brightened red, the corner stays the target's.
    TBitmap large(64, 64);
    large.Fill(Rgb(7, 7, 7));
    DrawCovered(large.Rows(), 0, 0, ScaleSmooth(painter.Cover(icon, 0), 64, 64));
    EXPECT_EQ(large.Pixel(32, 32), Rgb(BrightenChannel(255, kGlyphGain, 32), 10, 24));
    EXPECT_EQ(large.Pixel(1, 1), Rgb(7, 7, 7));
}

}  // namespace
}  // namespace tilerack

namespace tilerack {
namespace {

// A capture one pixel high whose columns carry their screen column.
TBitmap ColumnsFrom(int screenLeft, int width, int mark) {
    TBitmap capture(width, 1);
    for (int x = 0; x < width; ++x) capture.SetPixel(x, 0, Rgb(mark, (screenLeft + x) & 0xFF, 0));
    return capture;
}

TEST(JoinedCapture, TheCaptureMadeWhileThePanelWasAwayWinsWhereItReaches) {
    // The panel widened at the left edge: the old capture reached 96
    // columns, the new panel needs 192; the fresh capture shows the panel
    // itself in its first columns.
    const TBitmap kept = ColumnsFrom(0, 96, 1), fresh = ColumnsFrom(0, 192, 2);
    const TBitmap joined = JoinCaptures({{&fresh, 0}, {&kept, 0}}, 0, 192, 1);
    EXPECT_EQ(joined.Pixel(0, 0), Rgb(1, 0, 0));
    EXPECT_EQ(joined.Pixel(95, 0), Rgb(1, 95, 0));
    EXPECT_EQ(joined.Pixel(96, 0), Rgb(2, 96, 0));
    EXPECT_EQ(joined.Pixel(191, 0), Rgb(2, 191, 0));
}

TEST(JoinedCapture, AtTheRightEdgeTheColumnsBesideTheOldCaptureFillTheOldBorder) {
    // Old client from screen column 968, the 32 columns left of it kept
    // beside it; the new client starts at 906; the fresh capture from 864.
    const TBitmap kept = ColumnsFrom(968, 88, 1), beside = ColumnsFrom(936, 32, 3), fresh = ColumnsFrom(864, 224, 2);
    const TBitmap joined = JoinCaptures({{&fresh, 864}, {&beside, 936}, {&kept, 968}}, 906, 182, 2);
    EXPECT_EQ(joined.Pixel(0, 0), Rgb(2, 906 & 0xFF, 0));
    EXPECT_EQ(joined.Pixel(936 - 906, 0), Rgb(3, 936 & 0xFF, 0));
    EXPECT_EQ(joined.Pixel(967 - 906, 0), Rgb(3, 967 & 0xFF, 0));  // under the old frame's border
    EXPECT_EQ(joined.Pixel(968 - 906, 0), Rgb(1, 968 & 0xFF, 0));
    // Where no capture reaches, and rows below them: black.
    EXPECT_EQ(joined.Pixel(181, 0), Rgb(2, (906 + 181) & 0xFF, 0));  // past the kept capture
    const TBitmap wider = JoinCaptures({{&kept, 968}}, 906, 182, 2);
    EXPECT_EQ(wider.Pixel(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(joined.Pixel(10, 1), Rgb(0, 0, 0));
}

TEST(JoinedCapture, ColumnsReadLaterFillOnlyTheirPlaceInTheCapture) {
    // A capture from column 0, 160 wide, whose last 64 columns were left
    // black; they are read later from column 96 on, one row more than the
    // capture has. Columns reaching past either side are not copied.
    TBitmap capture = ColumnsFrom(0, 160, 1);
    for (int x = 96; x < 160; ++x) capture.SetPixel(x, 0, Rgb(0, 0, 0));
    TBitmap later(80, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 80; ++x) later.SetPixel(x, y, Rgb(2, (96 + x) & 0xFF, y));
    CopyCapturedColumns(capture, 0, later, 96);
    EXPECT_EQ(capture.Width(), 160);
    EXPECT_EQ(capture.Height(), 1);
    EXPECT_EQ(capture.Pixel(95, 0), Rgb(1, 95, 0));
    EXPECT_EQ(capture.Pixel(96, 0), Rgb(2, 96, 0));
    EXPECT_EQ(capture.Pixel(159, 0), Rgb(2, 159, 0));
    // From the left of the capture: only its own columns change.
    const TBitmap before = ColumnsFrom(-20, 30, 3);
    CopyCapturedColumns(capture, 0, before, -20);
    EXPECT_EQ(capture.Pixel(0, 0), Rgb(3, 0, 0));
    EXPECT_EQ(capture.Pixel(9, 0), Rgb(3, 9, 0));
    EXPECT_EQ(capture.Pixel(10, 0), Rgb(1, 10, 0));
}

}  // namespace
}  // namespace tilerack
