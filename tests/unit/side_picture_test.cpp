#include "dialogs/side_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace tilerack {
namespace {

bool IsDark(Color c) { return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 100 && c != kSideStripColor; }

// How many dark pixels each column holds between the strip and the far edge.
std::vector<int> DarkColumnHeights(const TBitmap& bmp) {
    std::vector<int> heights(bmp.Width(), 0);
    for (int x = 0; x < bmp.Width(); ++x)
        for (int y = 4; y < bmp.Height() - 4; ++y) heights[x] += IsDark(bmp.Pixel(x, y)) ? 1 : 0;
    return heights;
}

TEST(SidePicture, LeftPictureHasTheStripAtTheLeftEdgeAndThreeHeadsPointingToIt) {
    const TBitmap left = DrawSidePicture(PanelSide::Left);
    ASSERT_EQ(left.Width(), kSidePictureSize);
    ASSERT_EQ(left.Height(), kSidePictureSize);
    for (int y = 8; y < 56; y += 8) {
        EXPECT_EQ(left.Pixel(6, y), kSideStripColor) << "y " << y;
        EXPECT_NE(left.Pixel(kSidePictureSize - 7, y), kSideStripColor) << "y " << y;
    }
    // Away from the strip each head grows, then stops: three rising runs,
    // each starting narrow at its tip.
    const std::vector<int> h = DarkColumnHeights(left);
    int heads = 0;
    for (int x = 16; x < kSidePictureSize - 4; ++x) {
        if (h[x] > 0 && h[x - 1] == 0) {
            ++heads;
            EXPECT_LE(h[x], 3) << "a head's tip at column " << x << " is not narrow";
            EXPECT_GT(h[x + 4], h[x]) << "the head at column " << x << " does not widen away from the strip";
        }
    }
    EXPECT_EQ(heads, 3);
}

TEST(SidePicture, RightPictureIsTheMirrorOfTheLeft) {
    const TBitmap left = DrawSidePicture(PanelSide::Left), right = DrawSidePicture(PanelSide::Right);
    ASSERT_EQ(right.Width(), left.Width());
    for (int y = 0; y < left.Height(); ++y)
        for (int x = 0; x < left.Width(); ++x)
            ASSERT_EQ(right.Pixel(left.Width() - 1 - x, y), left.Pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace tilerack
