// The pointer on the strip: its presses, the hand, and drags that arrange items.
#include "panel/strip_pointer_win.h"

namespace tilerack {

StripPointer::StripPointer(ButtonStrip& strip, const PanelMetrics& metrics, Host host)
    : strip_(strip),
      host_(std::move(host)),
      router_(strip, host_.Invalidate),
      tooltips_(strip),
      drag_(strip, metrics,
            ArrangeByDrag::Host{.MoveItemTo = host_.MoveItemTo,
                                .Rows = host_.Rows,
                                .ScrollStripTo = host_.ScrollStripTo,
                                .VisibleBottom = host_.VisibleBottom,
                                .AbandonPointer = [this] { router_.Abandon(); },
                                .Invalidate = host_.Invalidate}) {
    strip_.Watch(&router_);
    strip_.Watch(&tooltips_);
    strip_.Watch(&drag_);
}

void StripPointer::Attach(HWND panel) {
    panel_ = panel;
    router_.Attach(panel);
    tooltips_.Attach(panel);
    drag_.Attach(panel);
}

void StripPointer::OnMouseMove(POINT p) {
    if (drag_.Move(p)) return;
    const TFlatButton* over = router_.Move(p);
    if (over && (over == &strip_.Hide() || over == &strip_.Menu())) host_.SButtonHideMouseMove();
}

void StripPointer::OnLeftDown(POINT p) {
    TFlatButton* over = strip_.HitTest(p.x, p.y);
    host_.FormMouseDown(over, VK_LBUTTON, p);
    router_.Press(over);
    drag_.Press(over, p);
}

void StripPointer::OnLeftUp(POINT p) {
    if (!drag_.Release(p)) router_.Release(p);
}

bool StripPointer::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(panel_, &p);
    const TFlatButton* over = strip_.HitTest(p.x, p.y);
    SetCursor(LoadCursorW(nullptr, over && over->handCursor ? IDC_HAND : IDC_ARROW));
    return true;
}

bool StripPointer::CancelDrag() {
    if (!drag_.Dragging()) return false;
    drag_.Cancel();
    return true;
}

ButtonLook StripPointer::LookOf(const TFlatButton& b) const {
    // The dragged button stays pressed in, wherever the pointer is.
    if (drag_.Drags(b)) return ButtonLook{true, true};
    return router_.LookOf(b);
}

}  // namespace tilerack
