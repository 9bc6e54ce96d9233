#include "panel/background_blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace tilerack {
namespace {

constexpr Color kPanelColour = 0x00F4E0E0;  // RGB(224, 224, 244)

// The blend of one byte worked out in 64 bits and then wrapped to 32, as a
// 32-bit signed machine computes it.
uint8_t ExpectedByte(int value, int opacity, int colour) {
    const int64_t wide = int64_t{value} * opacity + (int64_t{100} - opacity) * colour;
    const auto sum32 = static_cast<int32_t>(static_cast<uint32_t>(wide));
    return static_cast<uint8_t>(sum32 / 100);
}

// Every byte value occurs in every channel of every row.
TBitmap PatternPicture(int width, int height) {
    TBitmap bmp(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) bmp.Row(y)[x * 3 + c] = static_cast<uint8_t>(x + 85 * c + 7 * y);
    return bmp;
}

std::vector<BlendKernel> SupportedKernels() {
    std::vector<BlendKernel> kernels;
    for (BlendKernel k : {BlendKernel::Tables, BlendKernel::Ssse3, BlendKernel::Avx2, BlendKernel::Avx512})
        if (BlendKernelSupported(k)) kernels.push_back(k);
    return kernels;
}

// Compares the blended picture with the formula, padding bytes included.
void ExpectBlendOf(const TBitmap& before, const TBitmap& after, Color colour, int opacity) {
    const int channel[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
    for (int y = 0; y < before.Height(); ++y) {
        for (int i = 0; i < before.Stride(); ++i) {
            const uint8_t was = before.Row(y)[i];
            const uint8_t expected = i < before.Width() * 3 ? ExpectedByte(was, opacity, channel[i % 3]) : was;
            ASSERT_EQ(after.Row(y)[i], expected)
                << "opacity " << opacity << ", row " << y << ", byte " << i << ", width " << before.Width();
        }
    }
}

TEST(BackgroundBlend, HalfOpacityMixesScreenAndPanelColour) {
    TBitmap bmp(2, 1);
    bmp.SetPixel(0, 0, Rgb(0, 0, 0));
    bmp.SetPixel(1, 0, Rgb(255, 255, 255));
    BlendBackground(bmp, kPanelColour, 50);
    EXPECT_EQ(bmp.Pixel(0, 0), Rgb(112, 112, 122));
    EXPECT_EQ(bmp.Pixel(1, 0), Rgb(239, 239, 249));
}

TEST(BackgroundBlend, OpacityZeroIsSolidColourAndHundredIsTheCapture) {
    const TBitmap capture = PatternPicture(37, 5);
    TBitmap solid = capture;
    BlendBackground(solid, kPanelColour, 0);
    for (int y = 0; y < solid.Height(); ++y)
        for (int x = 0; x < solid.Width(); ++x) ASSERT_EQ(solid.Pixel(x, y), kPanelColour);

    TBitmap bare = capture;
    BlendBackground(bare, kPanelColour, 100);
    EXPECT_TRUE(bare.SamePixels(capture));
}

TEST(BackgroundBlend, OpacitiesOutOfRangeKeepTheLowEightBits) {
    TBitmap bmp(1, 1);
    bmp.SetPixel(0, 0, Rgb(255, 255, 255));
    BlendBackground(bmp, Rgb(0, 0, 0), 200);  // 510 -> 0xFE
    EXPECT_EQ(bmp.Pixel(0, 0), Rgb(254, 254, 254));

    bmp.SetPixel(0, 0, Rgb(255, 255, 255));
    BlendBackground(bmp, Rgb(0, 0, 0), -100);  // -255 -> 0x01
    EXPECT_EQ(bmp.Pixel(0, 0), Rgb(1, 1, 1));
}

TEST(BackgroundBlend, EveryKernelMatchesTheFormulaForEveryByteAndOpacity) {
    const TBitmap before = PatternPicture(256, 3);
    const std::vector<int> extremes = {INT_MIN, -1000000, 1000, 1000000, INT_MAX};
    for (BlendKernel kernel : SupportedKernels()) {
        SCOPED_TRACE(static_cast<int>(kernel));
        std::vector<int> opacities = extremes;
        for (int a = -5; a <= 105; ++a) opacities.push_back(a);
        for (int opacity : opacities) {
            if (opacity == 0 || opacity == 100) continue;  // fill and keep, tested above
            TBitmap after = before;
            BlendBackgroundUsing(kernel, after, kPanelColour, opacity);
            ExpectBlendOf(before, after, kPanelColour, opacity);
        }
    }
}

TEST(BackgroundBlend, EveryKernelHandlesAnyWidthAndLeavesRowPaddingAlone) {
    // Widths around the vector block sizes, with and without row padding.
    for (int width : {1, 2, 3, 5, 15, 16, 17, 31, 32, 33, 63, 64, 65, 96, 97, 127, 128, 129, 200}) {
        const TBitmap before = PatternPicture(width, 4);
        for (BlendKernel kernel : SupportedKernels()) {
            SCOPED_TRACE(static_cast<int>(kernel));
            for (int opacity : {1, 37, 99}) {
                TBitmap after = before;
                BlendBackgroundUsing(kernel, after, Rgb(12, 200, 255), opacity);
                ExpectBlendOf(before, after, Rgb(12, 200, 255), opacity);
            }
        }
    }
}

TEST(BackgroundBlend, EmptyPictureIsLeftAlone) {
    TBitmap empty;
    BlendBackground(empty, kPanelColour, 50);
    EXPECT_TRUE(empty.Empty());
}

// What the panel paints: the capture blended in its first columns, as it is
// beyond them, and the panel colour where it does not reach (a taller or
// wider window than the capture, or a capture not yet taken).
TEST(BackgroundBlend, PaintedBackgroundBlendsItsColumnsAndFillsBeyondTheCapture) {
    const TBitmap capture = PatternPicture(9, 5);
    const int channel[3] = {BlueOf(kPanelColour), GreenOf(kPanelColour), RedOf(kPanelColour)};
    for (int opacity : {0, 1, 37, 50, 99, 100, 150}) {
        for (int blendedColumns : {0, 4, 9, 20}) {
            for (auto [w, h] : {std::pair{6, 3}, {9, 5}, {12, 8}}) {
                TBitmap target(w, h);
                target.Fill(Rgb(9, 99, 199));
                PaintBackground(target.Rows(), capture, blendedColumns, kPanelColour, opacity);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        for (int c = 0; c < 3; ++c) {
                            uint8_t expected = static_cast<uint8_t>(channel[c]);
                            if (x < capture.Width() && y < capture.Height()) {
                                const uint8_t was = capture.Row(y)[x * 3 + c];
                                expected = x < blendedColumns ? ExpectedByte(was, opacity, channel[c]) : was;
                            }
                            ASSERT_EQ(target.Row(y)[x * 3 + c], expected)
                                << "opacity " << opacity << ", blended " << blendedColumns << ", " << w << "x" << h
                                << " at " << x << "," << y << " channel " << c;
                        }
            }
        }
    }
    TBitmap target(3, 2);
    PaintBackground(target.Rows(), TBitmap(), 0, kPanelColour, 50);
    EXPECT_EQ(target.Pixel(2, 1), kPanelColour);
}

// A screen capture reads part of its canvas and blackens the rest; the
// canvas's rows then become the capture in one copy.
TEST(CaptureRows, OnlyThePartReadKeepsItsPixelsAndRowPaddingStaysAlone) {
    TBitmap canvas(7, 5);  // 21 bytes a row, padded to 24
    for (int y = 0; y < 5; ++y) {
        canvas.Row(y)[21] = canvas.Row(y)[22] = canvas.Row(y)[23] = 0xAB;
        for (int x = 0; x < 7; ++x) canvas.SetPixel(x, y, Rgb(255, x, y));
    }
    BlackenOutside(canvas.Rows(), 2, 1, 5, 4);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const bool read = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(canvas.Pixel(x, y), read ? Rgb(255, x, y) : Rgb(0, 0, 0)) << x << "," << y;
        }
        EXPECT_EQ(canvas.Row(y)[23], 0xAB) << "row " << y;
    }
    // Read parts reaching past the canvas, or empty: clipped, or all black.
    canvas.Fill(Rgb(1, 2, 3));
    BlackenOutside(canvas.Rows(), -4, -1, 40, 50);
    EXPECT_EQ(canvas.Pixel(0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(6, 4), Rgb(1, 2, 3));
    BlackenOutside(canvas.Rows(), 9, 0, 12, 5);
    EXPECT_EQ(canvas.Pixel(6, 2), Rgb(0, 0, 0));
}

TEST(CaptureRows, AssignedRowsBecomeThePictureWithOneNoticeAndItsHeaderKept) {
    const int width = 5, height = 3, stride = TBitmap::StrideFor(width);
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7);
    TBitmap picture(2, 9);
    picture.xPelsPerMeter = 3780;
    int notices = 0;
    picture.OnChange = [&notices] { ++notices; };
    picture.AssignRows(width, height, rows.data());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(picture.Width(), width);
    EXPECT_EQ(picture.Height(), height);
    EXPECT_EQ(picture.xPelsPerMeter, 3780);
    ASSERT_EQ(picture.ByteSize(), rows.size());
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), picture.Bits()));
    EXPECT_EQ(picture.Pixel(4, 2), Rgb(rows[2 * stride + 14], rows[2 * stride + 13], rows[2 * stride + 12]));
    picture.AssignRows(0, 0, nullptr);
    EXPECT_TRUE(picture.Empty());
}

}  // namespace
}  // namespace tilerack
