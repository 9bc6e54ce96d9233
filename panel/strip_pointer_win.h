#pragma once
// The pointer on the strip: which button it is over and which one it pressed
// (pointer_router_win.h), the tooltips of the buttons it rests on
// (strip_tooltips_win.h), the hand over an item's button, every press told
// to the panel's press handler, and a press on an item's button that becomes
// a drag to arrange the items (arrange_by_drag_win.h). A dragged button is
// drawn pressed in wherever the pointer is.
#include <windows.h>

#include <functional>
#include <utility>

#include "panel/arrange_by_drag_win.h"
#include "panel/button_strip.h"
#include "panel/panel_metrics.h"
#include "panel/pointer_router_win.h"
#include "panel/strip_tooltips_win.h"

namespace tilerack {

class StripPointer {
public:
    // What the pointer asks of the panel.
    struct Host {
        // A press of `button` (VK_LBUTTON, ...) on `sender` (or none) at a client point.
        std::function<void(const TFlatButton*, int, POINT)> FormMouseDown;
        // The pointer came over the hide bar or the menu button.
        std::function<void()> SButtonHideMouseMove;
        std::function<void(const TShortCut&, int)> MoveItemTo;
        std::function<StripRows()> Rows;
        std::function<void(int)> ScrollStripTo;
        // The screen row just below the part of the screen the strip shows on.
        std::function<int()> VisibleBottom;
        std::function<void()> Invalidate;
    };

    StripPointer(ButtonStrip& strip, const PanelMetrics& metrics, Host host);
    StripPointer(const StripPointer&) = delete;
    StripPointer& operator=(const StripPointer&) = delete;

    void Attach(HWND panel);
    // Every pointer message, for the tooltips.
    void Relay(UINT msg, WPARAM wp, LPARAM lp) { tooltips_.Relay(msg, wp, lp); }
    // A button's tooltip follows its place, hint and visibility (all of them: SyncTips).
    void SyncTip(const TFlatButton& b) { tooltips_.Sync(b); }
    void SyncTips() { tooltips_.SyncAll(); }
    void SetDpi(int dpi) { tooltips_.SetDpi(dpi); }
    void OnMouseMove(POINT p);
    void OnLeave() { router_.Leave(); }
    void OnLeftDown(POINT p);
    void OnLeftUp(POINT p);
    // WM_SETCURSOR: true when the cursor was set.
    bool OnSetCursor(UINT hitTest);
    // Another window took the pointer: a drag under way ends without a move.
    void OnCaptureChanged(HWND gaining) { drag_.OnCaptureChanged(gaining); }
    // Esc: a drag under way ends without a move; false when none was on.
    bool CancelDrag();
    // WM_CANCELMODE: a press or a drag ends without a move.
    void OnCancelMode() { drag_.Cancel(); }
    // The drag's scroll timer (kTimerDragScrollId).
    void ScrollTick() { drag_.ScrollTick(); }
    bool Dragging() const { return drag_.Dragging(); }
    // How a button is drawn: as the pointer leaves it, the dragged one pressed.
    ButtonLook LookOf(const TFlatButton& b) const;
    // The mark where a dragged item would land.
    void PaintMark(HDC dc) const { drag_.PaintMark(dc); }

private:
    ButtonStrip& strip_;
    Host host_;
    HWND panel_ = nullptr;
    PointerRouter router_;
    StripTooltips tooltips_;
    ArrangeByDrag drag_;
};

}  // namespace tilerack
