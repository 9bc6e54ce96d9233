#pragma once
// A windowless flat picture button: the panel paints it over its own
// background and routes the pointer to it. Its glyph holds one or more
// images side by side; the glyph's lower-left pixel is its transparent colour.
#include <cstdint>
#include <functional>
#include <string>

#include "common/bitmap.h"
#include "panel/item_glyph.h"
#include "panel/sharp_icons.h"
#include "panel/strip_layout.h"

namespace tilerack {

class TShortCut;

// A button's identity on the strip, for as long as the button lives; 0 is none.
using ButtonId = uint32_t;
inline constexpr ButtonId kNoButton = 0;

// How the pointer leaves a button: under it (hot) and pressed on it. The
// pointer's router keeps this; the button only draws it.
struct ButtonLook {
    bool hot = false;
    bool pressed = false;
};

class TFlatButton {
public:
    virtual ~TFlatButton() = default;

    ButtonId id = kNoButton;  // given by the strip
    Rect bounds;
    bool visible = true;
    TBitmap glyph;
    int numGlyphs = 1;
    std::string caption;  // code page 1251
    std::string hint;
    bool handCursor = false;
    // A separator's line between groups of items: never started, no tooltip.
    bool separator = false;
    // A folder's button: a mark in its corner opens the folder's menu.
    bool opensMenu = false;
    std::function<void()> onClick;
    // A click by the pointer at a client point, where the button's parts
    // differ (the folder's mark); without it the pointer's click is onClick.
    std::function<void(Point)> onClickAt;

    // Which of the glyph's images a look shows: 0 under the pointer, 2
    // pressed, 4 otherwise (five-image glyphs); one-image glyphs always 0.
    int ImageIndex(ButtonLook look) const;
    // The size of its images as designed (at 96 DPI).
    virtual int ImageWidth() const { return numGlyphs > 0 ? glyph.Width() / numGlyphs : glyph.Width(); }
    virtual int ImageHeight() const { return glyph.Height(); }
    // Draws the image the look shows with its top-left corner at (x, y),
    // width x height, smoothly scaled where that differs from the designed size.
    virtual void DrawImageSized(PixelRows target, int x, int y, int width, int height, ButtonLook look) const {
        DrawGlyphImageScaled(target, x, y, glyph, ImageIndex(look), numGlyphs, width, height);
    }
};

// The button of an item; its tag is the item. Its five-image glyph is drawn
// straight from the item's icon by the panel's painter.
class TItemButton : public TFlatButton {
public:
    TShortCut* item = nullptr;
    const ItemGlyphPainter* painter = nullptr;

    int ImageWidth() const override;
    int ImageHeight() const override;
    void DrawImageSized(PixelRows target, int x, int y, int width, int height, ButtonLook look) const override;
    // Forgets the scaled pictures kept for drawing: the icon or the scale changed.
    void ForgetScaledImages() const;

    // The item's file icon made at the size the scale draws its picture
    // (sharp_icons.h): drawn in place of the stored picture while it is
    // `Sharp` and of the size drawn.
    TBitmap sharp;
    SharpState sharpState = SharpState::Unasked;
    uint64_t sharpJob = 0;  // the worker's job while `Asked`
    // Back to the stored picture, to be asked for again (the icon, the scale
    // or the panel colour changed).
    void ForgetSharpPicture();
    // The picture to draw `width` x `height` from: the sharp one where it
    // has that size, otherwise the stored one.
    const TBitmap& PictureFor(int width, int height) const;

private:
    // The brightened and the plain image at the size last drawn, scaled once
    // rather than at every paint.
    struct ScaledImage {
        int width = 0, height = 0;
        CoveredPicture picture;
    };
    mutable ScaledImage scaled_[2];
};

}  // namespace tilerack
