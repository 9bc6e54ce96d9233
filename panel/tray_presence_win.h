#pragma once
// The panel's presence in the notification area: its icon there (at the
// taskbar's scale) and the window's own icons at the panel's, the icon
// added again when the shell restarts, and the lifts of the panel above a
// stand-in notification area. What a press on the icon does is the panel's
// (TrayIconMessage).
#include <windows.h>

#include "platform/app_icon.h"
#include "platform/handles.h"
#include "platform/tray.h"

namespace tilerack {

class TrayPresence {
public:
    void Attach(HWND panel) { panel_ = panel; }
    // Right after the first show, with the window's icons at the panel's scale.
    void Add(int dpi);
    // The lift timer's tick (kTimerLiftId).
    void LiftTick();
    // The panel's scale changed: the window's icons follow once the icon is there.
    void ChangeScale(int dpi);
    // The shell restarted (TaskbarCreated).
    void Readd() { tray_.Readd(); }
    void Remove() { tray_.Remove(); }
    // The language changed: the icon's tip follows.
    void RetellTip();

private:
    HWND panel_ = nullptr;
    win::WindowIcons windowIcons_;
    win::TrayIcon tray_;
    int liftsLeft_ = 0;  // lifts above a stand-in notification area still to come
};

}  // namespace tilerack
