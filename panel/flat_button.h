#pragma once
// A windowless flat picture button: the panel paints it over its own
// background and routes the pointer to it. Its glyph holds one or more
// images side by side; the glyph's lower-left pixel is its transparent colour.
#include <cstdint>
#include <functional>
#include <string>

#include "common/bitmap.h"
#include "panel/strip_layout.h"

namespace tilerack {

class TShortCut;

class TFlatButton {
public:
    virtual ~TFlatButton() = default;

    Rect bounds;
    bool visible = true;
    bool hot = false;      // the pointer is over it
    bool pressed = false;  // the left button went down on it and is still down
    TBitmap glyph;
    int numGlyphs = 1;
    std::string caption;  // code page 1251
    std::string hint;
    bool wordWrap = false;
    bool handCursor = false;
    std::function<void()> onClick;
    uint32_t toolId = 0;  // its tooltip's id
    bool toolAdded = false;

    // Which of the glyph's images the state shows: 0 under the pointer, 2
    // pressed, 4 otherwise (five-image glyphs); one-image glyphs always 0.
    int ImageIndex() const;
    int ImageWidth() const { return numGlyphs > 0 ? glyph.Width() / numGlyphs : glyph.Width(); }
};

// The button of an item; its tag is the item.
class TItemButton : public TFlatButton {
public:
    TShortCut* item = nullptr;
    // The glyph (five images made from the item's icon) exists only while the
    // button has a place on the strip: most buttons of a long list never show.
    bool glyphReady = false;
};

}  // namespace tilerack
