// Docking at the screen edge, sliding in and out, and the pointer watch.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

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

// Read once and again only after a change of the display: under Wine each
// reading is a round trip to the server, and the pointer watch needs it ten
// times a second.
int TMainPanel::ScreenWidth() {
    if (screenWidth_ <= 0) screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
    return screenWidth_;
}

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
        SetBounds(left, -4, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    EnableTimerMouse(true);
}

void TMainPanel::SetBounds(int left, int top, int width, int height, UINT flags) {
    placing_ = true;
    SetWindowPos(hwnd_, nullptr, left, top, width, height, flags);
    placing_ = false;
}

// A window manager may put the panel elsewhere when it appears (openbox
// moves every window that names its own place fully onto the screen and
// trims its height to the screen's), each time it slides in. Outside moves
// of the panel standing at its shown place keep its edge, top and height;
// only a new width (the user's frame drag) is taken. Wine does not pass a
// move made while it handles the manager's notice on to the X server, so the
// place is passed on again once that notice is done.
void TMainPanel::KeepDocked(WINDOWPOS& pos) {
    if (placing_ || destroyed_ || !IsWindowVisible(hwnd_)) return;
    if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return;
    const RECT r = Bounds();
    const int width = r.right - r.left;
    if (settings_.side > 1 || r.left != ShownLeft(settings_.side, ScreenWidth(), width, r.left)) return;
    RECT frame{0, 0, 0, GetSystemMetrics(SM_CYSCREEN) + 4};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd_, GWL_STYLE), FALSE, GetWindowLongW(hwnd_, GWL_EXSTYLE));
    pos.cx = (pos.flags & SWP_NOSIZE) ? width : std::max(static_cast<int>(pos.cx), kMinPanelWidth);
    pos.cy = frame.bottom - frame.top;
    pos.x = ShownLeft(settings_.side, ScreenWidth(), pos.cx, r.left);
    pos.y = -4;
    pos.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    PostMessageW(hwnd_, kResyncPlaceMessage, 0, 0);
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
