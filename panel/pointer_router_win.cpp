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
    TFlatButton* over = strip_.HitTest(p.x, p.y);
    const ButtonId id = over ? over->id : kNoButton;
    if (id != hot_) {
        hot_ = id;
        repaint_();
    }
    return over;
}

void PointerRouter::Leave() {
    trackingLeave_ = false;
    if (pressed_ != kNoButton) return;  // captured: the button keeps its state until release
    if (hot_ != kNoButton) {
        hot_ = kNoButton;
        repaint_();
    }
}

void PointerRouter::Press(TFlatButton* over) {
    if (!over) return;
    pressed_ = over->id;
    SetCapture(panel_);
    repaint_();
}

void PointerRouter::Release(POINT p) {
    const ButtonId pressed = pressed_;
    pressed_ = kNoButton;
    if (GetCapture() == panel_) ReleaseCapture();
    if (pressed == kNoButton) return;
    repaint_();
    TFlatButton* b = strip_.HitTest(p.x, p.y);
    if (!b || b->id != pressed) return;
    if (b->onClickAt) b->onClickAt(Point{p.x, p.y});
    else if (b->onClick) b->onClick();
}

void PointerRouter::Abandon() {
    const bool had = pressed_ != kNoButton;
    pressed_ = kNoButton;
    if (GetCapture() == panel_) ReleaseCapture();
    if (had) repaint_();
}

void PointerRouter::ButtonRemoving(const TFlatButton& b) {
    if (hot_ == b.id) hot_ = kNoButton;
    if (pressed_ == b.id) pressed_ = kNoButton;
}

}  // namespace tilerack
