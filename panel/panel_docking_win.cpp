// Sliding in and out, the pointer watch (TimerMouse), the reveal of the
// strip buttons (TimerButton) and the screen the panel stands on. Where the
// panel stands is EdgeDock's.
#include <windows.h>
#include <shellapi.h>

#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/screens.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

Point CursorPoint() {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

}  // namespace

void TMainPanel::SetHidden(bool hidden) { Hidden = hidden; }

void TMainPanel::PlaceAtEdge() {
    dock_.Dock(settings_.side);
    EnableTimerMouse(true);
}

void TMainPanel::SlideIn() {
    dock_.MoveToShown(settings_.side);
    SetHidden(false);
    DragAcceptFiles(hwnd_, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void TMainPanel::SlideOut() {
    dock_.MoveToHidden(settings_.side);
    SetHidden(true);
}

void TMainPanel::ShowSequence() {
    CaptureBackground();
    SetHidden(false);
    SlideIn();
    PlaceAtEdge();
}

void TMainPanel::HidePanel() {
    EnableTimerMouse(true);
    SlideOut();
    win::Application::Instance().Restore();
    SetHidden(true);
    // A strip the keyboard scrolled starts at its first item again.
    if (strip_.FirstShown() != 0 && !keyboard_.InUse()) ScrollStripTo(0);
}

void TMainPanel::RestorePanel() {
    SetHidden(false);
    EnableTimerMouse(true);
    win::Application::Instance().Restore();
    SlideIn();
}

void TMainPanel::StartHideWatch() {
    TimerMouse.watch.Restart(CursorPoint().x);
    EnableTimerMouse(true);
}

void TMainPanel::HideByButton() {
    HidePanel();
    StartHideWatch();
}

void TMainPanel::SButtonHideMouseMove() {
    EnableTimerMouse(true);
    SetHidden(false);
}

void TMainPanel::TimerMouseTimer() {
    // A drag of an item holds the panel out; the absence counts from its end.
    if (pointer_.Dragging()) {
        TimerMouse.watch.Restart(CursorPoint().x);
        return;
    }
    const auto fullScreenInFront = [this] { return dock_.FullScreenInFront(settings_.side); };
    const WatchAction action = TimerMouse.watch.Tick(Hidden, settings_.timeOut, CursorPoint(),
                                                     dock_.Plan(settings_.side).edge, dock_.Width(), metrics_,
                                                     fullScreenInFront);
    switch (action) {
    case WatchAction::ShowSequence:
        ShowSequence();
        break;
    case WatchAction::HidePanel:
        // While the keyboard uses the panel it stays until Esc or until the
        // focus leaves it.
        if (!keyboard_.InUse()) HidePanel();
        break;
    case WatchAction::None:
        break;
    }
}

// The screens changed (one came or went, a bar moved), or the user chose
// another: the panel stands on its screen again, at that screen's scale,
// shown or hidden as it was.
void TMainPanel::Redock() {
    const DockPlace place = dock_.Plan(settings_.side);
    if (place.screen < 0) return;
    if (dock_.Screens().size() > 1 && place.dpi != metrics_.scale.dpi) scale_.Change(place.dpi);
    if (Hidden) {
        dock_.MoveToHidden(settings_.side);
        return;
    }
    // Shown on another screen: the background is that screen's, taken
    // before the panel covers it.
    if (!dock_.Withdrawn() && IsWindowVisible(hwnd_)) {
        const RECT before = dock_.Bounds();
        if (before.left != place.shownLeft || before.top != place.frameTop) painter_.Capture();
    }
    PlaceAtEdge();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// A screen came or went, or a bar moved: a chosen screen that returns takes
// the panel back.
void TMainPanel::ScreensChanged() {
    dock_.ForgetScreens();
    Redock();
}

// Minimising the panel minimises the application, which hides the panel
// (HidePanel); the window itself never shows minimised.
void TMainPanel::OnSize(UINT state) {
    if (state != SIZE_MINIMIZED) {
        FormResize();
        return;
    }
    ShowWindow(hwnd_, SW_RESTORE);
    win::Application::Instance().Minimize();
}

void TMainPanel::OnTimer(UINT_PTR id) {
    if (itemFile_.OnTimer(id)) return;
    switch (id) {
    case kTimerMouseId: TimerMouseTimer(); break;
    case kTimerButtonId: TimerButtonTimer(); break;
    case kTimerLiftId: tray_.LiftTick(); break;
    case kTimerDragScrollId: pointer_.ScrollTick(); break;
    default: break;
    }
}

void TMainPanel::ChooseScreen(size_t index) {
    const std::vector<Screen>& screens = dock_.Screens();
    if (index >= screens.size()) return;
    // The primary is the default, kept by no value at all.
    settings_.monitor = screens[index].primary ? std::string() : ScreenChoiceText(screens[index]);
    dock_.SetChoice(settings_.monitor);
    dock_.ForgetScreens();  // a scale may have changed with no message to the panel
    Redock();
    SaveSettings();  // a choice made is kept at once
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
        pointer_.SyncTip(SButtonHide);
        pointer_.SyncTip(SButtonMenu);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

}  // namespace tilerack
