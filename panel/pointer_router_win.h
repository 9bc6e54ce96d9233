#pragma once
// The pointer over the strip's windowless buttons: which one is under the
// pointer (hot), which one the left button went down on (pressed, the mouse
// captured meanwhile), and its click when the button comes up over it again.
// It keeps both by the buttons' identities and forgets a button as the strip
// removes it.
#include <windows.h>

#include <functional>

#include "panel/button_strip.h"

namespace tilerack {

class PointerRouter final : public StripObserver {
public:
    PointerRouter(const ButtonStrip& strip, std::function<void()> repaint)
        : strip_(strip), repaint_(std::move(repaint)) {}

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
    // The press ends without a click (a drag took it over): the capture goes.
    void Abandon();
    // How the pointer leaves a button now.
    ButtonLook LookOf(const TFlatButton& b) const { return ButtonLook{b.id == hot_, b.id == pressed_}; }

    // StripObserver
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton& b) override;
    void OrderChanged() override {}

private:
    const ButtonStrip& strip_;
    std::function<void()> repaint_;
    HWND panel_ = nullptr;
    ButtonId hot_ = kNoButton;
    ButtonId pressed_ = kNoButton;
    bool trackingLeave_ = false;
};

}  // namespace tilerack
