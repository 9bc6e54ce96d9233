// The notification area's icon of the panel and the lifts above a stand-in.
#include "panel/tray_presence_win.h"

#include "common/app_texts.h"
#include "panel/panel_timers.h"

namespace tilerack {

// Adding the icon waits on the shell, which the panel's appearance need not.
// Where the shell has no notification area of its own (Wine without one) the
// icon gets a window of its own at the screen's top-left corner, over the
// panel's first buttons. That window settles a moment after the icon is added
// (and up to 2 s later where the shell is still busy hiding it for an earlier
// icon) and comes out above the panel: the panel is lifted back above it at
// once, after half a second and after 2.5 s.
void TrayPresence::Add(int dpi) {
    if (tray_.Registered()) return;
    windowIcons_.Apply(panel_, dpi);
    tray_.Add(panel_, kAppTitleW);
    liftsLeft_ = 3;
    LiftTick();
}

// The window's two icons follow the panel's scale (the notification area's
// follows the taskbar's).
void TrayPresence::ChangeScale(int dpi) {
    if (tray_.Registered()) windowIcons_.Apply(panel_, dpi);
}

void TrayPresence::RetellTip() { tray_.SetTip(kAppTitleW.Get()); }

void TrayPresence::LiftTick() {
    KillTimer(panel_, kTimerLiftId);
    if (liftsLeft_ <= 0) return;
    --liftsLeft_;
    if (IsWindowVisible(panel_)) SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (liftsLeft_ > 0) SetTimer(panel_, kTimerLiftId, liftsLeft_ == 2 ? 500 : 2000, nullptr);
}

}  // namespace tilerack
