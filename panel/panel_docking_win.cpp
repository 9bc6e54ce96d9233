// Sliding in and out, the pointer watch (TimerMouse) and the reveal of the
// strip buttons (TimerButton). Where the panel stands is EdgeDock's.
#include <windows.h>
#include <shellapi.h>

#include "panel/sysmain.h"
#include "platform/application.h"

namespace tilerack {

namespace {

Point CursorPoint() {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

}  // namespace

void TMainPanel::EnableTimerMouse(bool enabled) {
    // Enabling a running timer must not restart its phase.
    if (enabled == timerMouseOn_) return;
    timerMouseOn_ = enabled;
    if (enabled)
        SetTimer(hwnd_, kTimerMouseId, kTimerMouseInterval, nullptr);
    else
        KillTimer(hwnd_, kTimerMouseId);
}

void TMainPanel::EnableTimerButton() {
    // Like TimerMouse: enabling the running timer keeps its phase.
    if (timerButtonOn_) return;
    timerButtonOn_ = SetTimer(hwnd_, kTimerButtonId, kTimerButtonInterval, nullptr) != 0;
}

void TMainPanel::PlaceAtEdge() {
    dock_.Dock(settings_.side);
    EnableTimerMouse(true);
}

void TMainPanel::SlideIn() {
    dock_.MoveToShown(settings_.side);
    Hidden = false;
    DragAcceptFiles(hwnd_, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void TMainPanel::SlideOut() {
    dock_.MoveToHidden(settings_.side);
    Hidden = true;
}

void TMainPanel::HidePanel() {
    EnableTimerMouse(true);
    SlideOut();
    win::Application::Instance().Restore();
    Hidden = true;
    // A strip the keyboard scrolled starts at its first item again.
    if (firstShown_ != 0 && !keyboardUse_) {
        firstShown_ = 0;
        LayoutButtons();
    }
}

void TMainPanel::RestorePanel() {
    Hidden = false;
    EnableTimerMouse(true);
    win::Application::Instance().Restore();
    SlideIn();
}

void TMainPanel::StartHideWatch() {
    watch_.Restart(CursorPoint().x);
    EnableTimerMouse(true);
}

void TMainPanel::HideByButton() {
    HidePanel();
    StartHideWatch();
}

void TMainPanel::SButtonHideMouseMove() {
    EnableTimerMouse(true);
    Hidden = false;
}

void TMainPanel::TimerMouseTimer() {
    // A drag of an item holds the panel out; the absence counts from its end.
    if (DragOn()) {
        watch_.Restart(CursorPoint().x);
        return;
    }
    const WatchAction action = watch_.Tick(settings_.side, Hidden, settings_.timeOut, CursorPoint(),
                                           dock_.ScreenWidth(), dock_.Width(), metrics_);
    switch (action) {
    case WatchAction::ShowSequence:
        CaptureBackground();
        Hidden = false;
        SlideIn();
        PlaceAtEdge();
        break;
    case WatchAction::HidePanel:
        // While the keyboard uses the panel it stays until Esc or until the
        // focus leaves it.
        if (!keyboardUse_) HidePanel();
        break;
    case WatchAction::None:
        break;
    }
}

void TMainPanel::TimerButtonTimer() {
    if (!IsWindowVisible(hwnd_) || IsIconic(hwnd_) || Hidden) EnableTimerMouse(true);
    auto onScreen = [this](const TFlatButton& b) {
        POINT p{b.bounds.left, b.bounds.top};
        ClientToScreen(hwnd_, &p);
        return Rect{p.x, p.y, b.bounds.width, b.bounds.height};
    };
    const StripReveal reveal =
        RevealStripButtons(settings_.side, CursorPoint(), onScreen(SButtonHide), onScreen(SButtonMenu), metrics_);
    if (!reveal.changes) return;
    if (SButtonHide.visible != reveal.hideVisible || SButtonMenu.visible != reveal.menuVisible) {
        SButtonHide.visible = reveal.hideVisible;
        SButtonMenu.visible = reveal.menuVisible;
        tooltips_.Sync(SButtonHide);
        tooltips_.Sync(SButtonMenu);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

}  // namespace tilerack
