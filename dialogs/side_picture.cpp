#include "dialogs/side_picture.h"

#include "common/bitmap.h"

namespace tilerack {

namespace {

constexpr Color kBezel = Rgb(72, 72, 72);
constexpr Color kDesktop = Rgb(212, 226, 240);
constexpr Color kStripEdge = Rgb(112, 160, 255);
constexpr Color kArrow = Rgb(24, 24, 64);

constexpr int kInset = 3;  // the bezel's width
constexpr int kStripWidth = 11;
constexpr int kArrowWidth = 9;  // a head grows one pixel up and down per column
constexpr int kArrowTips[] = {19, 31, 43};
constexpr int kMiddle = kSidePictureSize / 2;

void FillRect(TBitmap& bmp, int left, int top, int right, int bottom, Color c) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) bmp.SetPixel(x, y, c);
}

// A solid arrow head whose tip is at (tipX, kMiddle), pointing left.
void ArrowHeadLeft(TBitmap& bmp, int tipX) {
    for (int dx = 0; dx < kArrowWidth; ++dx)
        FillRect(bmp, tipX + dx, kMiddle - dx, tipX + dx + 1, kMiddle + dx + 1, kArrow);
}

}  // namespace

TBitmap DrawSidePicture(PanelSide side) {
    TBitmap bmp(kSidePictureSize, kSidePictureSize);
    const int inner = kSidePictureSize - kInset;
    bmp.Fill(kBezel);
    FillRect(bmp, kInset, kInset, inner, inner, kDesktop);
    FillRect(bmp, kInset, kInset, kInset + kStripWidth, inner, kSideStripColor);
    FillRect(bmp, kInset + kStripWidth - 1, kInset, kInset + kStripWidth, inner, kStripEdge);
    for (int tip : kArrowTips) ArrowHeadLeft(bmp, tip);
    if (side == PanelSide::Right) MirrorBitmap(bmp);
    return bmp;
}

}  // namespace tilerack
