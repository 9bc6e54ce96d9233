#pragma once
// Following the scale of the screen the panel stands on: WM_DPICHANGED
// notices, counted (and how deep inside one another they came) for the
// tests to read, and a notice that comes inside the panel's own move or
// re-layout put off until that is done, so a re-layout never sets off
// another one. The re-layout itself is the panel's (Host::ChangeDpi).
#include <windows.h>

#include <functional>
#include <utility>

namespace tilerack {

class ScaleFollower {
public:
    // What following the scale asks of the panel.
    struct Host {
        // The panel is being moved or sized by its own hand.
        std::function<bool()> PlacingItself;
        // Everything laid out again at `dpi` where the panel stands.
        std::function<void(int)> ChangeDpi;
        // The frame put at its place again (shown or hidden, as it is).
        std::function<void()> StandAtPlace;
    };

    explicit ScaleFollower(Host host) : host_(std::move(host)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // WM_DPICHANGED: the suggested rectangle is not taken, the panel docks itself.
    void OnDpiChanged(int dpi);
    // The notice put off by OnDpiChanged (kPendingDpiMessage).
    void OnPendingDpi();
    // A change of scale the panel chose itself (another screen).
    void Change(int dpi);
    // During a re-layout at a new scale: the panel stays where it stands.
    bool KeepsPlace() const { return changing_; }
    // The notices so far and the deepest nesting, as one message result.
    LRESULT Census() const { return MAKELRESULT(notices_, deepest_); }

private:
    void Notice(int dpi);

    Host host_;
    HWND panel_ = nullptr;
    bool changing_ = false;
    // A scale noticed inside the panel's own move or re-layout, still to be
    // taken up (0: none), and whether the message that takes it up is posted.
    int pending_ = 0;
    bool posted_ = false;
    int notices_ = 0, nesting_ = 0, deepest_ = 0;
};

}  // namespace tilerack
