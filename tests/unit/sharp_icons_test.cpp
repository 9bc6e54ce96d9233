// Sharp file icons: which stored picture counts as the file's icon, the size
// made for each scale, the order items are asked for in, and the button
// drawing the sharp picture in place of the enlarged stored one.
#include "panel/sharp_icons.h"

#include <gtest/gtest.h>

#include "items/shortcut.h"
#include "panel/flat_button.h"

namespace tilerack {
namespace {

TBitmap FileIconLike(Color fill) {
    TBitmap icon(32, 32);
    icon.Fill(Rgb(224, 224, 244));  // the panel colour round the icon
    for (int y = 4; y < 28; ++y)
        for (int x = 6; x < 26; ++x) icon.SetPixel(x, y, fill);
    return icon;
}

TEST(SharpIcons, PictureSideIsTheScaledSideAboveOneHundredPercentOnly) {
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(96), 32, 32), 0);
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(120), 32, 32), 40);
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(144), 32, 32), 48);
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(192), 32, 32), 64);
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(192), 16, 16), 32);
    // Nothing square to replace: drawn as stored.
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(192), 32, 16), 0);
    EXPECT_EQ(SharpPictureSide(DpiScale::Of(192), 0, 0), 0);
}

TEST(SharpIcons, OnlyAnExactCopyOfTheFileIconCounts) {
    const TBitmap madeNow = FileIconLike(Rgb(200, 40, 40));
    TBitmap stored = madeNow;
    EXPECT_TRUE(IsFileIconPicture(stored, madeNow));

    // One channel of one pixel off: the user's own picture.
    stored.SetPixel(31, 31, Rgb(224, 224, 245));
    EXPECT_FALSE(IsFileIconPicture(stored, madeNow));
    // Another icon of the same size (the file's icon changed since).
    EXPECT_FALSE(IsFileIconPicture(FileIconLike(Rgb(40, 200, 40)), madeNow));
    // The same pixels loaded from a picture file carry its header extras.
    stored = madeNow;
    stored.xPelsPerMeter = 3780;
    EXPECT_FALSE(IsFileIconPicture(stored, madeNow));
    stored = madeNow;
    stored.palette = {0, 0, 0, 0};
    EXPECT_FALSE(IsFileIconPicture(stored, madeNow));
    // Another size, and nothing at all.
    TBitmap bigger(48, 48);
    EXPECT_FALSE(IsFileIconPicture(bigger, madeNow));
    EXPECT_FALSE(IsFileIconPicture(TBitmap(), TBitmap()));
}

TEST(SharpIcons, ItemsOnScreenAreAskedFirstTopDownAndTheRestOnlyForTheMenu) {
    using S = SharpState;
    const std::vector<bool> onScreen{true, true, false, true, false, false};
    const std::vector<S> states{S::Unasked, S::Sharp, S::Unasked, S::Unasked, S::Unasked, S::Asked};
    EXPECT_EQ(SharpRequestOrder(onScreen, states, false), (std::vector<size_t>{0, 3}));
    EXPECT_EQ(SharpRequestOrder(onScreen, states, true), (std::vector<size_t>{0, 3, 2, 4}));
    // Once asked, never again until forgotten.
    const std::vector<S> asked{S::Asked, S::Sharp, S::Kept, S::Asked, S::Asked, S::Asked};
    EXPECT_TRUE(SharpRequestOrder(onScreen, asked, true).empty());
    EXPECT_TRUE(SharpRequestOrder({}, {}, true).empty());
}

class SharpButton : public ::testing::Test {
protected:
    void SetUp() override {
        item_.Icon = FileIconLike(Rgb(200, 40, 40));
        button_.item = &item_;
        button_.painter = &painter_;
        button_.numGlyphs = ItemGlyphPainter::kImages;
        sharp_ = TBitmap(64, 64);
        sharp_.Fill(Rgb(224, 224, 244));
        for (int y = 8; y < 56; ++y)
            for (int x = 12; x < 52; ++x) sharp_.SetPixel(x, y, Rgb(10, 20, 30));
    }
    TBitmap Drawn(int side, ButtonLook look = {}) {
        TBitmap target(side, side);
        target.Fill(Rgb(1, 2, 3));
        button_.DrawImageSized(target.Rows(), 0, 0, side, side, look);
        return target;
    }

    TShortCut item_;
    TItemButton button_;
    ItemGlyphPainter painter_;
    TBitmap sharp_;
};

TEST_F(SharpButton, DrawsTheSharpPictureWhereItsSizeIsTheSizeDrawn) {
    button_.sharp = sharp_;
    button_.sharpState = SharpState::Sharp;
    const TBitmap drawn = Drawn(64);
    // Drawn as is: its own pixels, its panel colour see-through like the stored picture's.
    EXPECT_EQ(drawn.Pixel(12, 8), Rgb(10, 20, 30));
    EXPECT_EQ(drawn.Pixel(51, 55), Rgb(10, 20, 30));
    EXPECT_EQ(drawn.Pixel(11, 8), Rgb(1, 2, 3));
    EXPECT_EQ(drawn.Pixel(0, 63), Rgb(1, 2, 3));
    // Hovered: brightened by the same rule as the stored picture.
    EXPECT_EQ(Drawn(64, ButtonLook{.hot = true}).Pixel(30, 30), Rgb(BrightenChannel(10, kGlyphGain, 32), BrightenChannel(20, kGlyphGain, 10),
                                          BrightenChannel(30, kGlyphGain, 24)));
    // At another size the stored picture is drawn, smoothly enlarged.
    const TBitmap other = Drawn(48);
    EXPECT_EQ(other.Pixel(24, 24), Rgb(200, 40, 40));
    EXPECT_EQ(&button_.PictureFor(48, 48), &item_.Icon);
}

TEST_F(SharpButton, KeepsTheStoredPictureUnlessSharpAndForgetsOnRequest) {
    button_.sharp = sharp_;
    for (SharpState state : {SharpState::Unasked, SharpState::Asked, SharpState::Kept}) {
        button_.sharpState = state;
        EXPECT_EQ(&button_.PictureFor(64, 64), &item_.Icon);
        EXPECT_EQ(Drawn(64).Pixel(32, 32), Rgb(200, 40, 40));
    }
    button_.sharpState = SharpState::Sharp;
    EXPECT_EQ(&button_.PictureFor(64, 64), &button_.sharp);
    button_.ForgetSharpPicture();
    EXPECT_EQ(button_.sharpState, SharpState::Unasked);
    EXPECT_TRUE(button_.sharp.Empty());
    EXPECT_EQ(Drawn(64).Pixel(32, 32), Rgb(200, 40, 40));
}

}  // namespace
}  // namespace tilerack
