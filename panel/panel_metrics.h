#pragma once
// Every size of the panel for one display scale, in the screen's real
// pixels: the sizes it was designed with on a 96-DPI screen, scaled. At 96
// DPI they are the designed sizes exactly.
#include "common/dpi_scale.h"

namespace tilerack {

struct PanelMetrics {
    DpiScale scale;

    // The strip.
    int itemPitch = 34;      // height of an item button, and the step between them
    int hideHeight = 11;     // the hide bar
    int closeSize = 11;      // the close button, square
    int menuWidth = 24;      // the menu button
    int menuHeight = 11;
    int menuBottomGap = 16;  // from the menu button's bottom to the client's
    int hideMinWidth = 5;
    int hideMaxWidth = 73;
    int itemGap = 1;         // between the hide bar and the first item
    int bottomMargin = 2;    // an item shows while its bottom stays this far above the frame's
    int itemInset = 1;       // an item button is this much narrower than the client
    int captionGap = 1;      // between a picture and its caption
    int captionInset = 4;    // room a caption leaves free in its button
    int pressShift = 1;      // a pressed button's content moves down and right
    int focusInset = 2;      // the focus mark inside a button's edge
    int fontHeight = 11;     // character height of the captions
    int picture = 32;        // the item pictures, stored 32 x 32
    int minWidth = 24;       // the narrowest panel
    int captureExtra = 32;   // columns captured beyond the panel's width

    // The docked frame and the pointer watch.
    int frameOverhang = 4;   // the frame's border, standing past the screen edge
    int edgeReach = 2;       // columns at the edge where a resting pointer brings the panel
    int topMargin = 5;       // rows at the top that never count as resting at the edge
    int nearMargin = 16;     // how far the near zone reaches past the panel's inner edge
    int hiddenGapLeft = 1;   // a hidden panel's frame stands this far off the left edge
    int hiddenGapRight = 3;  // ... and this far off the right edge
    int revealReach = 32;    // the strip buttons' reveal: reach from the button's top
    int revealMargin = 24;   // ... and beyond the button's side

    // The metrics of `scale`; `frameBorder` is the docked frame's real
    // border at that scale, which the frame overhangs the screen edge by
    // (4 at 96 DPI; a system may widen it less than the scale).
    static constexpr PanelMetrics For(DpiScale scale, int frameBorder) {
        PanelMetrics m;
        m.scale = scale;
        int* sizes[] = {&m.itemPitch,     &m.hideHeight,   &m.closeSize,    &m.menuWidth,     &m.menuHeight,
                        &m.menuBottomGap, &m.hideMinWidth, &m.hideMaxWidth, &m.itemGap,       &m.bottomMargin,
                        &m.itemInset,     &m.captionGap,   &m.captionInset, &m.pressShift,    &m.focusInset,
                        &m.fontHeight,    &m.picture,      &m.minWidth,     &m.captureExtra,  &m.edgeReach,
                        &m.topMargin,     &m.nearMargin,   &m.hiddenGapLeft, &m.hiddenGapRight, &m.revealReach,
                        &m.revealMargin};
        for (int* size : sizes) *size = scale.Scale(*size);
        m.frameOverhang = frameBorder > 0 ? frameBorder : scale.Scale(m.frameOverhang);
        return m;
    }
};

// The designed sizes: the panel on a 96-DPI screen.
inline constexpr PanelMetrics kDesignMetrics{};

}  // namespace tilerack
