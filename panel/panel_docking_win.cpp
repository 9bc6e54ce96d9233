// Docking at the screen edge, sliding in and out, and the pointer watch.
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

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

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
    RECT frame{0, 0, 0, GetSystemMetrics(SM_CYSCREEN) + 4};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd_, GWL_STYLE), FALSE, GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const RECT r = Bounds();
    const int width = r.right - r.left;
    const int height = frame.bottom - frame.top;
    const int left = ShownLeft(settings_.side, ScreenWidth(), width, r.left);
    if (r.left != left || r.top != -4 || r.bottom - r.top != height)
        SetWindowPos(hwnd_, nullptr, left, -4, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    EnableTimerMouse(true);
}

void TMainPanel::SlideIn() {
    SetLeft(ShownLeft(settings_.side, ScreenWidth(), Width(), Left()));
    Hidden = false;
    DragAcceptFiles(hwnd_, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void TMainPanel::SlideOut() {
    SetLeft(HiddenLeft(settings_.side, ScreenWidth(), Width(), Left()));
    Hidden = true;
}

void TMainPanel::HidePanel() {
    EnableTimerMouse(true);
    SlideOut();
    win::Application::Instance().Restore();
    Hidden = true;
}

void TMainPanel::RestorePanel() {
    Hidden = false;
    EnableTimerMouse(true);
    win::Application::Instance().Restore();
    SlideIn();
}

void TMainPanel::StartHideWatch() {
    watch_.Restart(CursorPoint().x);
    MouseX = watch_.mouseX;
    WaitTime = watch_.waitTime;
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
    watch_.mouseX = MouseX;
    watch_.waitTime = WaitTime;
    const WatchAction action = watch_.Tick(settings_.side, Hidden, settings_.timeOut, CursorPoint(), ScreenWidth(), Width());
    MouseX = watch_.mouseX;
    WaitTime = watch_.waitTime;
    switch (action) {
    case WatchAction::ShowSequence:
        CaptureBackground();
        Hidden = false;
        SlideIn();
        PlaceAtEdge();
        break;
    case WatchAction::HidePanel:
        HidePanel();
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
    const StripReveal reveal = RevealStripButtons(settings_.side, CursorPoint(), onScreen(SButtonHide), onScreen(SButtonMenu));
    if (!reveal.changes) return;
    if (SButtonHide.visible != reveal.hideVisible || SButtonMenu.visible != reveal.menuVisible) {
        SButtonHide.visible = reveal.hideVisible;
        SButtonMenu.visible = reveal.menuVisible;
        SyncTooltip(SButtonHide);
        SyncTooltip(SButtonMenu);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

}  // namespace tilerack
