#pragma once
// The pointer over the panel's windowless buttons: which one is under the
// pointer (hot), which one the left button went down on (pressed, the mouse
// captured meanwhile), and its click when the button comes up over it again.
#include <windows.h>

#include <functional>

#include "panel/flat_button.h"

namespace tilerack {

class PointerRouter {
public:
    using HitTest = std::function<TFlatButton*(POINT clientPoint)>;
    PointerRouter(HitTest hitTest, std::function<void()> repaint)
        : hitTest_(std::move(hitTest)), repaint_(std::move(repaint)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // WM_MOUSEMOVE: returns the button under the pointer.
    TFlatButton* Move(POINT p);
    // WM_MOUSELEAVE.
    void Leave();
    // The left button went down on `over` (a press on no button does nothing).
    void Press(TFlatButton* over);
    // The left button came up at `p`: the pressed button's click, when it is
    // still under the pointer.
    void Release(POINT p);
    // Before a button goes away.
    void Forget(const TFlatButton* button);

private:
    HitTest hitTest_;
    std::function<void()> repaint_;
    HWND panel_ = nullptr;
    TFlatButton* hot_ = nullptr;
    TFlatButton* pressed_ = nullptr;
    bool trackingLeave_ = false;
};

}  // namespace tilerack
