#pragma once
// Where the parts of one shown button of the strip go: its picture and its
// caption centred as one block, moved by a press, and the edge and focus
// mark the pointer and the keyboard give it. The panel measures every
// button's face first and then draws them (FormPaint).
#include <optional>
#include <vector>

#include "common/geometry.h"
#include "panel/flat_button.h"
#include "panel/panel_metrics.h"

namespace tilerack {

// A width and height in pixels.
struct Extent {
    int width = 0, height = 0;
    bool operator==(const Extent&) const = default;
};

enum class FaceEdge { None, Raised, Sunken };

struct ButtonFace {
    Rect picture;        // the picture, at the size it is drawn
    Rect clip;           // the part of the client area the picture may cover
    bool hasCaption = false;
    Rect caption;        // the caption's box, word-wrapped within its width
    FaceEdge edge = FaceEdge::None;
    bool focusMark = false;
    Rect focus;          // the focus mark, inside the edge
};

struct FaceRequest {
    Rect bounds;                     // the button, in client pixels
    Extent picture;                  // its picture at the scale's size
    // The caption as measured, word-wrapped within CaptionRoom and no
    // taller than the button; none for a button without a caption.
    std::optional<Extent> caption;
    ButtonLook look;
    bool focused = false;            // has the keyboard focus while the panel has it
    bool fixed = false;              // one of the three strip buttons
};

// The width a caption may take beside a picture `pictureWidth` wide in a
// button `buttonWidth` wide (at least 1).
int CaptionRoom(int buttonWidth, int pictureWidth, const PanelMetrics& m);

ButtonFace PlanButtonFace(const FaceRequest& request, Extent client, const PanelMetrics& m);

// A shown button of the strip, how the pointer leaves it and where its parts go.
struct PlacedButton {
    const TFlatButton* button = nullptr;
    ButtonLook look;
    ButtonFace face;
};

}  // namespace tilerack
