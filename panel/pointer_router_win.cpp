#include "panel/pointer_router_win.h"

namespace tilerack {

TFlatButton* PointerRouter::Move(POINT p) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = panel_;
        trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
    }
    TFlatButton* over = hitTest_(p);
    if (over != hot_) {
        if (hot_) hot_->hot = false;
        hot_ = over;
        if (over) over->hot = true;
        repaint_();
    }
    return over;
}

void PointerRouter::Leave() {
    trackingLeave_ = false;
    if (pressed_) return;  // captured: the button keeps its state until release
    if (hot_) {
        hot_->hot = false;
        hot_ = nullptr;
        repaint_();
    }
}

void PointerRouter::Press(TFlatButton* over) {
    if (!over) return;
    pressed_ = over;
    over->pressed = true;
    SetCapture(panel_);
    repaint_();
}

void PointerRouter::Release(POINT p) {
    TFlatButton* pressed = pressed_;
    pressed_ = nullptr;
    if (GetCapture() == panel_) ReleaseCapture();
    if (!pressed) return;
    pressed->pressed = false;
    repaint_();
    if (hitTest_(p) == pressed && pressed->onClick) pressed->onClick();
}

void PointerRouter::Forget(const TFlatButton* button) {
    if (hot_ == button) hot_ = nullptr;
    if (pressed_ == button) pressed_ = nullptr;
}

}  // namespace tilerack
