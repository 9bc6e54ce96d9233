#pragma once
// The panel's place at its screen edge: the screens (read once per display
// change), the chosen one, the docked frame on that screen's work area
// (screen_dock.h plans it), the shown and hidden places of each side, and
// the window manager's moves told apart from the panel's own.
#include <windows.h>

#include <string>
#include <vector>

#include "common/panel_settings.h"
#include "panel/panel_metrics.h"
#include "panel/screen_dock.h"

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

    // The screens. Under Wine each reading is a round trip to the server and
    // the pointer watch needs them ten times a second: read once, forgotten
    // at a change of the display or of a work area.
    const std::vector<Screen>& Screens();
    void ForgetScreens() {
        screens_.clear();
        barsRead_ = false;
    }
    // From now on the auto-hide bars at the edges of the panel's screen
    // take part in its place (they are read with the screens). Asking the
    // shell loads its libraries, which the first show need not wait for.
    // True when a bar was found: the panel must stand at its place again.
    bool ReadHiddenBars();
    // True while a full-screen program in front keeps the edge of the
    // panel's screen from bringing the panel in (screen_dock.h).
    bool FullScreenInFront(PanelSide side);
    // The stored choice of a screen ("Monitor"; empty: the primary).
    void SetChoice(const std::string& choice) { choice_ = choice; }
    // Where the panel stands on its screen at its present width (or at `width`).
    DockPlace Plan(PanelSide side, int width = 0);
    // The screen column the client area meets at the shown place (on the
    // right one past it), and the client's top there.
    int ClientEdge(PanelSide side);
    int ClientTop(PanelSide side);

    RECT Bounds() const;
    int Left() const { return Bounds().left; }
    int Width() const;
    int Height() const;
    // True inside the panel's own moves.
    bool Placing() const { return placing_; }
    // True while the panel is hidden by not being shown at all.
    bool Withdrawn() const { return withdrawn_; }

    void SetWidth(int width);
    // Stands at the shown place of `side` with the docked frame's top and
    // height, moving only what differs; with a `width`, sized to it in the
    // same move.
    void Dock(PanelSide side, int width = 0);
    void MoveToShown(PanelSide side);
    // Beyond the edge, or not shown at all where the place beyond the edge
    // lies on another screen.
    void MoveToHidden(PanelSide side, int width = 0);
    // At its place at `side`: the hidden one while `hidden`, else docked.
    void StandAtPlace(PanelSide side, bool hidden, int width = 0) {
        if (hidden)
            MoveToHidden(side, width);
        else
            Dock(side, width);
    }

    // WM_WINDOWPOSCHANGING of a move the panel did not make (a window
    // manager's): while the panel stands at its shown place it keeps its edge,
    // top and height and takes only a new width. Returns true when the place
    // must be passed on again once the manager's notice is done (Resync).
    bool KeepDocked(PanelSide side, WINDOWPOS& pos);
    // The same place again, outside the manager's notice this time: Wine does
    // not pass a move made while it handles that notice on to the X server.
    void Resync();

private:
    // The frame's outer height for a client area `clientHeight` high.
    int OwnFrameHeight(int clientHeight) const;
    // The metrics with the frame's own border as its overhang.
    PanelMetrics Placement() const;
    // Stands at `left`, `top` with the docked height, shown: moves only what differs.
    void StandAt(int left, int width, const DockPlace& place);
    void MoveTo(int left, int top, int width, int height, UINT flags);

    HWND hwnd_ = nullptr;
    PanelMetrics metrics_;
    // The auto-hide bars at the edges of the screen the panel stands on.
    const AutoHideEdges& Bars();

    std::vector<Screen> screens_;
    AutoHideEdges bars_;
    bool barsWanted_ = false;  // ReadHiddenBars was called
    bool barsRead_ = false;    // bars_ belongs to screens_
    std::string choice_;
    bool placing_ = false;    // inside MoveTo: the panel's own move
    bool withdrawn_ = false;  // hidden by MoveToHidden without being shown
};

}  // namespace tilerack
