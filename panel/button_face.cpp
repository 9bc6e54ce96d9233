#include "panel/button_face.h"

#include <algorithm>

namespace tilerack {

int CaptionRoom(int buttonWidth, int pictureWidth, const PanelMetrics& m) {
    return std::max(buttonWidth - pictureWidth - m.captionGap - m.captionInset, 1);
}

ButtonFace PlanButtonFace(const FaceRequest& r, Extent client, const PanelMetrics& m) {
    const Rect& b = r.bounds;
    // A caption wider or taller than its room is cut to it.
    Extent caption;
    if (r.caption) {
        caption.width = std::min(r.caption->width, CaptionRoom(b.width, r.picture.width, m));
        caption.height = std::min(r.caption->height, b.height);
    }
    // Picture, gap and caption as one block centred across the button; the
    // picture and the caption each centred down it. A press moves both.
    const int block = r.picture.width + (caption.width > 0 ? m.captionGap + caption.width : 0);
    const int shift = r.look.pressed && r.look.hot ? m.pressShift : 0;
    ButtonFace face;
    face.picture = Rect{b.left + (b.width - block) / 2 + shift, b.top + (b.height - r.picture.height) / 2 + shift,
                        r.picture.width, r.picture.height};
    // An item's picture wider than a narrow panel's button stays inside it.
    face.clip = r.fixed ? Rect{0, 0, client.width, client.height} : b;
    face.hasCaption = r.caption.has_value();
    if (face.hasCaption)
        face.caption = Rect{face.picture.Right() + m.captionGap, b.top + (b.height - caption.height) / 2 + shift,
                            caption.width, caption.height};
    face.focusMark = r.focused;
    if (r.look.hot || r.look.pressed || r.focused)
        face.edge = r.look.pressed && r.look.hot ? FaceEdge::Sunken : FaceEdge::Raised;
    if (r.focused)
        face.focus = Rect{b.left + m.focusInset, b.top + m.focusInset, b.width - 2 * m.focusInset,
                          b.height - 2 * m.focusInset};
    return face;
}

}  // namespace tilerack
