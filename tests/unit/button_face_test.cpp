#include "panel/button_face.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

// An item button of a 102-pixel-wide panel at 96 DPI: 100 x 34 at (1, 12).
constexpr Rect kItem{1, 12, 100, 34};
constexpr Extent kClient{102, 700};
constexpr Extent kPicture{32, 32};

FaceRequest Request(Rect bounds, Extent picture, std::optional<Extent> caption = std::nullopt) {
    FaceRequest r;
    r.bounds = bounds;
    r.picture = picture;
    r.caption = caption;
    return r;
}

TEST(ButtonFace, PictureAndCaptionAreCentredAcrossAsOneBlockAndEachDown) {
    const ButtonFace f = PlanButtonFace(Request(kItem, kPicture, Extent{40, 13}), kClient, kDesignMetrics);
    // The block: 32 + 1 + 40 = 73 wide, (100 - 73) / 2 = 13 from the left.
    EXPECT_EQ(f.picture, (Rect{14, 13, 32, 32}));
    ASSERT_TRUE(f.hasCaption);
    EXPECT_EQ(f.caption, (Rect{47, 22, 40, 13}));  // 1 past the picture, (34 - 13) / 2 down

    // No caption, or one that measured nothing: the picture alone is centred.
    EXPECT_EQ(PlanButtonFace(Request(kItem, kPicture), kClient, kDesignMetrics).picture, (Rect{35, 13, 32, 32}));
    EXPECT_FALSE(PlanButtonFace(Request(kItem, kPicture), kClient, kDesignMetrics).hasCaption);
    EXPECT_EQ(PlanButtonFace(Request(kItem, kPicture, Extent{0, 13}), kClient, kDesignMetrics).picture.left, 35);
}

TEST(ButtonFace, CaptionIsCutToItsRoomAndToTheButtonsHeight) {
    // Room beside a 32-pixel picture in 100: 100 - 32 - 1 gap - 4 left free.
    EXPECT_EQ(CaptionRoom(100, 32, kDesignMetrics), 63);
    EXPECT_EQ(CaptionRoom(20, 32, kDesignMetrics), 1);  // never less than 1
    const ButtonFace f = PlanButtonFace(Request(kItem, kPicture, Extent{200, 50}), kClient, kDesignMetrics);
    EXPECT_EQ(f.caption, (Rect{36, 12, 63, 34}));
    EXPECT_EQ(f.picture.left, 3);  // block 32 + 1 + 63 = 96
}

TEST(ButtonFace, APressUnderThePointerMovesThePartsAndSinksTheEdge) {
    FaceRequest r = Request(kItem, kPicture, Extent{40, 13});
    EXPECT_EQ(PlanButtonFace(r, kClient, kDesignMetrics).edge, FaceEdge::None);
    r.look = {.hot = true};
    const ButtonFace hot = PlanButtonFace(r, kClient, kDesignMetrics);
    EXPECT_EQ(hot.edge, FaceEdge::Raised);
    EXPECT_EQ(hot.picture, (Rect{14, 13, 32, 32}));
    r.look = {.hot = true, .pressed = true};
    const ButtonFace pressed = PlanButtonFace(r, kClient, kDesignMetrics);
    EXPECT_EQ(pressed.edge, FaceEdge::Sunken);
    EXPECT_EQ(pressed.picture, (Rect{15, 14, 32, 32}));
    EXPECT_EQ(pressed.caption, (Rect{48, 23, 40, 13}));
    // Pressed, then the pointer left it: up again, raised.
    r.look = {.hot = false, .pressed = true};
    const ButtonFace left = PlanButtonFace(r, kClient, kDesignMetrics);
    EXPECT_EQ(left.edge, FaceEdge::Raised);
    EXPECT_EQ(left.picture, (Rect{14, 13, 32, 32}));
}

TEST(ButtonFace, TheKeyboardFocusGetsAnEdgeAndAMarkInsideIt) {
    FaceRequest r = Request(kItem, kPicture);
    r.focused = true;
    const ButtonFace f = PlanButtonFace(r, kClient, kDesignMetrics);
    EXPECT_TRUE(f.focusMark);
    EXPECT_EQ(f.edge, FaceEdge::Raised);
    EXPECT_EQ(f.focus, (Rect{3, 14, 96, 30}));
    r.look = {.hot = true, .pressed = true};
    EXPECT_EQ(PlanButtonFace(r, kClient, kDesignMetrics).edge, FaceEdge::Sunken);
    EXPECT_FALSE(PlanButtonFace(Request(kItem, kPicture), kClient, kDesignMetrics).focusMark);
}

TEST(ButtonFace, AnItemsPictureStaysInsideItsButtonAStripButtonsInTheClient) {
    // A 48-pixel picture in a narrow panel's 30-pixel button.
    const Rect narrow{1, 12, 30, 34};
    const ButtonFace item = PlanButtonFace(Request(narrow, Extent{48, 48}), Extent{32, 700}, kDesignMetrics);
    EXPECT_EQ(item.clip, narrow);
    EXPECT_EQ(item.picture.left, -8);  // centred, reaching past both sides
    FaceRequest close = Request(Rect{21, 0, 11, 11}, Extent{8, 9});
    close.fixed = true;
    EXPECT_EQ(PlanButtonFace(close, Extent{32, 700}, kDesignMetrics).clip, (Rect{0, 0, 32, 700}));
}

TEST(ButtonFace, GapShiftAndFocusInsetFollowTheScale) {
    const PanelMetrics m = PanelMetrics::For(DpiScale::Of(192), 8);
    FaceRequest r = Request(Rect{2, 24, 200, 68}, Extent{64, 64}, Extent{80, 26});
    r.look = {.hot = true, .pressed = true};
    r.focused = true;
    const ButtonFace f = PlanButtonFace(r, Extent{204, 1400}, m);
    // The block: 64 + 2 + 80 = 146, (200 - 146) / 2 = 27 in, moved 2 by the press.
    EXPECT_EQ(f.picture, (Rect{31, 28, 64, 64}));
    EXPECT_EQ(f.caption, (Rect{97, 47, 80, 26}));
    EXPECT_EQ(f.focus, (Rect{6, 28, 192, 60}));
    EXPECT_EQ(CaptionRoom(200, 64, m), 200 - 64 - 2 - 8);
}

}  // namespace
}  // namespace tilerack
