#pragma once
// The panel's place at its screen edge: the docked frame (over the whole
// screen height, its top border above the screen), the shown and hidden
// lefts of each side, the screen width (read once per display change) and
// the window manager's moves told apart from the panel's own.
#include <windows.h>

#include "common/panel_settings.h"
#include "panel/panel_metrics.h"

namespace tilerack {

class EdgeDock {
public:
    // The outer height of a docked frame of these styles, before it exists:
    // its top stands above the screen by its border, so the border is not seen.
    static int FrameHeight(DWORD style, DWORD exStyle, const PanelMetrics& metrics);

    void Attach(HWND window) { hwnd_ = window; }
    // The sizes of the panel's display scale: the narrowest width, and the
    // frame's overhang until the window has a frame of its own. The next
    // Dock stands at the new frame.
    void SetMetrics(const PanelMetrics& metrics) { metrics_ = metrics; }
    // The frame's border as the window has it now: a frame follows a change
    // of scale only once it is sized again, and the client area must meet
    // the screen edge whichever border it has.
    int FrameBorder() const;
    int FrameTop() const { return -FrameBorder(); }

    // SM_CXSCREEN. Under Wine each reading is a round trip to the server and
    // the pointer watch needs it ten times a second: read once, forgotten at
    // a change of the display.
    int ScreenWidth();
    void ForgetScreenWidth() { screenWidth_ = 0; }

    RECT Bounds() const;
    int Left() const { return Bounds().left; }
    int Width() const;
    int Height() const;

    void SetWidth(int width);
    void SetLeft(int left);
    // Stands at the shown place of `side` with the docked frame's top and
    // height, moving only what differs.
    void Dock(PanelSide side);
    void MoveToShown(PanelSide side);
    void MoveToHidden(PanelSide side);

    // WM_WINDOWPOSCHANGING of a move the panel did not make (a window
    // manager's): while the panel stands at its shown place it keeps its edge,
    // top and height and takes only a new width. Returns true when the place
    // must be passed on again once the manager's notice is done (Resync).
    bool KeepDocked(PanelSide side, WINDOWPOS& pos);
    // The same place again, outside the manager's notice this time: Wine does
    // not pass a move made while it handles that notice on to the X server.
    void Resync();

private:
    int OwnFrameHeight() const;
    // The metrics with the frame's own border as its overhang.
    PanelMetrics Placement() const;
    void MoveTo(int left, int top, int width, int height, UINT flags);

    HWND hwnd_ = nullptr;
    PanelMetrics metrics_;
    int screenWidth_ = 0;
    bool placing_ = false;  // inside MoveTo: the panel's own move
};

}  // namespace tilerack
