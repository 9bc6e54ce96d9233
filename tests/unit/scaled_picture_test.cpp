#include "common/scaled_picture.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

constexpr Color kKey = Rgb(255, 0, 255);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kFace = Rgb(0, 200, 0);

// An 8 x 8 picture: a see-through border two pixels wide (its lower-left
// colour) around a red square, with one blue pixel in the square.
TBitmap KeyedSquare() {
    TBitmap picture(8, 8);
    picture.Fill(kKey);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) picture.SetPixel(x, y, kRed);
    picture.SetPixel(3, 3, Rgb(0, 0, 255));
    return picture;
}

TBitmap Face(int w, int h) {
    TBitmap frame(w, h);
    frame.Fill(kFace);
    return frame;
}

TEST(PictureAtScale, BaseScaleDrawsEveryPixelAsItIs) {
    const TBitmap picture = KeyedSquare();
    for (const bool keyed : {false, true}) {
        TBitmap frame = Face(12, 12);
        DrawPictureAtScale(frame, 3, 2, picture, DpiScale{}, keyed);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool inside = x >= 3 && x < 11 && y >= 2 && y < 10;
                const Color source = inside ? picture.Pixel(x - 3, y - 2) : kFace;
                const Color expected = keyed && source == kKey ? kFace : source;
                EXPECT_EQ(frame.Pixel(x, y), expected) << "keyed " << keyed << " at " << x << "," << y;
            }
    }
}

TEST(PictureAtScale, KeyedPictureAtDoubleScaleIsSmoothWithoutAFringeOfTheKey) {
    TBitmap picture(8, 8);
    picture.Fill(kKey);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) picture.SetPixel(x, y, kRed);
    TBitmap frame = Face(24, 24);
    DrawPictureAtScale(frame, 4, 4, picture, DpiScale::Of(192), /*keyed=*/true);

    int blended = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const Color c = frame.Pixel(x, y);
            // Only red and the face meet: any blue is the key leaking in.
            EXPECT_EQ(BlueOf(c), 0) << "at " << x << "," << y;
            const bool inPicture = x >= 4 && x < 20 && y >= 4 && y < 20;
            if (!inPicture) {
                EXPECT_EQ(c, kFace) << "outside the scaled picture at " << x << "," << y;
            }
            if (c != kRed && c != kFace) ++blended;
        }
    // The red square became 8 x 8 at (4 + 4, 4 + 4): its middle is solid,
    // the see-through corner untouched.
    EXPECT_EQ(frame.Pixel(11, 11), kRed);
    EXPECT_EQ(frame.Pixel(12, 12), kRed);
    EXPECT_EQ(frame.Pixel(4, 4), kFace);
    // Edges blend instead of stepping from red to the face in whole blocks.
    EXPECT_GT(blended, 0);
}

TEST(PictureAtScale, OpaquePictureAtDoubleScaleCoversItsAreaSmoothly) {
    const TBitmap picture = KeyedSquare();
    TBitmap frame = Face(20, 20);
    DrawPictureAtScale(frame, 2, 2, picture, DpiScale::Of(192), /*keyed=*/false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inPicture = x >= 2 && x < 18 && y >= 2 && y < 18;
            // Opaque: the key colour is drawn like any other, the face shows
            // only outside the picture.
            EXPECT_EQ(GreenOf(frame.Pixel(x, y)) == 200, !inPicture) << "at " << x << "," << y;
        }
    EXPECT_EQ(frame.Pixel(2, 2), kKey);
    EXPECT_EQ(frame.Pixel(17, 17), kKey);
}

TEST(PictureAtScale, ScaledSmoothlyCopiesAtItsOwnSizeAndBlendsWhenLarger) {
    const TBitmap picture = KeyedSquare();
    const TBitmap same = ScaledSmoothly(picture, 8, 8);
    EXPECT_TRUE(same.SamePixels(picture));

    // A hard step from black to white, made three times wider: the columns
    // at the step take grey values in between, rising left to right.
    TBitmap step(4, 1);
    step.Fill(Rgb(0, 0, 0));
    step.SetPixel(2, 0, Rgb(255, 255, 255));
    step.SetPixel(3, 0, Rgb(255, 255, 255));
    const TBitmap wide = ScaledSmoothly(step, 12, 3);
    ASSERT_EQ(wide.Width(), 12);
    ASSERT_EQ(wide.Height(), 3);
    EXPECT_EQ(wide.Pixel(0, 1), Rgb(0, 0, 0));
    EXPECT_EQ(wide.Pixel(11, 1), Rgb(255, 255, 255));
    int between = 0;
    for (int x = 1; x < 12; ++x) {
        EXPECT_GE(RedOf(wide.Pixel(x, 1)), RedOf(wide.Pixel(x - 1, 1))) << "column " << x;
        const int r = RedOf(wide.Pixel(x, 1));
        if (r > 0 && r < 255) ++between;
    }
    EXPECT_GE(between, 2);
}

}  // namespace
}  // namespace tilerack
