#pragma once
// A timer of the panel window (WM_TIMER with its id): TimerMouse, the
// pointer watch, and TimerButton, the strip buttons' reveal. Enabling a
// timer that runs keeps its phase. It reads the window's handle as it is set
// (the window starts it while it is being made).
#include <windows.h>

#include "panel/panel_timers.h"
#include "panel/pointer_watch.h"

namespace tilerack {

class WindowTimer {
public:
    WindowTimer(const HWND& window, UINT_PTR id, UINT interval) : window_(window), id_(id), interval_(interval) {}
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void Enable(bool enabled) {
        if (enabled == on_) return;
        if (enabled) {
            on_ = SetTimer(window_, id_, interval_, nullptr) != 0;
        } else {
            KillTimer(window_, id_);
            on_ = false;
        }
    }

private:
    const HWND& window_;
    const UINT_PTR id_;
    const UINT interval_;
    bool on_ = false;
};

// TimerMouse: the pointer watch's timer and what it counts from one tick to
// the next, MouseX and WaitTime (pointer_watch.h decides each tick).
struct PointerWatchTimer : WindowTimer {
    explicit PointerWatchTimer(const HWND& window) : WindowTimer(window, kTimerMouseId, kTimerMouseInterval) {}
    PointerWatch watch;
};

}  // namespace tilerack
