#include "dialogs/picker_pictures.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

constexpr Color kKey = Rgb(255, 0, 255);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

// A 32 x 32 icon on the key colour: a red disc with a dark centre.
TBitmap IconOnKey() {
    TBitmap picture(32, 32);
    picture.Fill(kKey);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 16;
            if (dx * dx + dy * dy < 12 * 12) picture.SetPixel(x, y, kRed);
            if (dx * dx + dy * dy < 3 * 3) picture.SetPixel(x, y, Rgb(40, 0, 0));
        }
    return picture;
}

TEST(PickerPictures, KeptPictureIsAlways32Square) {
    const TBitmap icon = IconOnKey();
    EXPECT_TRUE(PickerSourcePicture(icon).SamePixels(icon));
    TBitmap large(48, 64);
    large.Fill(kRed);
    const TBitmap kept = PickerSourcePicture(large);
    EXPECT_EQ(kept.Width(), 32);
    EXPECT_EQ(kept.Height(), 32);
    EXPECT_EQ(kept.Pixel(5, 20), kRed);
}

TEST(PickerPictures, ShownAtTheKeptSizeIsTheKeptPicture) {
    const TBitmap icon = IconOnKey();
    EXPECT_TRUE(PickerShownPicture(icon, kKey, 32).SamePixels(icon));
    EXPECT_TRUE(PickerShownPicture(icon, std::nullopt, 32).SamePixels(icon));
}

TEST(PickerPictures, ShownLargerKeepsTheKeyExactAndOffEveryCoveredPixel) {
    const TBitmap icon = IconOnKey();
    for (const int size : {40, 48, 64}) {
        const TBitmap shown = PickerShownPicture(icon, kKey, size);
        ASSERT_EQ(shown.Width(), size);
        ASSERT_EQ(shown.Height(), size);
        int keyed = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Color c = shown.Pixel(x, y);
                if (c == kKey) {
                    ++keyed;
                    continue;
                }
                // A covered pixel mixes only the disc's own colours: no blue,
                // which is all the key would bring in.
                EXPECT_EQ(BlueOf(c), 0) << size << " at " << x << "," << y;
                EXPECT_EQ(GreenOf(c), 0) << size << " at " << x << "," << y;
            }
        EXPECT_EQ(shown.Pixel(0, 0), kKey) << size;
        EXPECT_EQ(shown.Pixel(size - 1, size - 1), kKey) << size;
        EXPECT_EQ(shown.Pixel(size / 2 + size / 5, size / 2), kRed) << size;
        // The disc covers about pi * 12^2 of 32^2, scaled: the see-through
        // part keeps its share of the picture within a few percent.
        const double share = static_cast<double>(keyed) / (size * size);
        EXPECT_NEAR(share, 1.0 - 3.14159 * 144 / 1024, 0.04) << size;
    }
}

TEST(PickerPictures, ShownLargerWithoutKeyIsOpaqueAndSmooth) {
    const TBitmap icon = IconOnKey();
    const TBitmap shown = PickerShownPicture(icon, std::nullopt, 64);
    ASSERT_EQ(shown.Width(), 64);
    EXPECT_EQ(shown.Pixel(0, 0), kKey);  // the key is an ordinary colour here
    int between = 0;
    for (int x = 0; x < 64; ++x) {
        const Color c = shown.Pixel(x, 32);
        if (c != kKey && c != kRed && c != Rgb(40, 0, 0)) ++between;
    }
    EXPECT_GT(between, 0);
}

TEST(PickerPictures, ChosenIsTheKeptPictureWhiteWhereSeeThrough) {
    TBitmap icon = IconOnKey();
    icon.SetPixel(1, 1, kWhite);  // white in the picture stays white
    icon.xPelsPerMeter = 3780;
    icon.yPelsPerMeter = 3780;
    icon.palette = {1, 2, 3, 0};

    const TBitmap chosen = PickerChosenPicture(icon, kKey);
    ASSERT_EQ(chosen.Width(), 32);
    ASSERT_EQ(chosen.Height(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Color c = icon.Pixel(x, y);
            EXPECT_EQ(chosen.Pixel(x, y), c == kKey ? kWhite : c) << x << "," << y;
        }
    // A new picture: the source's stored header values are not handed on.
    EXPECT_EQ(chosen.xPelsPerMeter, 0);
    EXPECT_EQ(chosen.yPelsPerMeter, 0);
    EXPECT_TRUE(chosen.palette.empty());

    const TBitmap opaque = PickerChosenPicture(icon, std::nullopt);
    EXPECT_TRUE(opaque.SamePixels(icon));
    EXPECT_EQ(opaque.xPelsPerMeter, 0);
}

}  // namespace
}  // namespace tilerack
