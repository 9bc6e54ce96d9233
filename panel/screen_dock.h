#pragma once
// Where the panel stands among the screens: the screen it docks on (the
// chosen one, else the primary), its shown and hidden places against that
// screen's work area, the edge its pointer zones are measured at, how it
// hides where the place beyond the edge lies on another screen, the scale it
// takes, and whether a full-screen program covers its screen. Portable: the
// window carries the answers out.
#include <string>
#include <vector>

#include "common/geometry.h"
#include "common/screen.h"
#include "common/panel_settings.h"
#include "panel/panel_metrics.h"
#include "panel/pointer_watch.h"

namespace tilerack {

// The stored choice of a screen (the settings' "Monitor" value): its device
// name, then its place and size, "\\.\DISPLAY2,1920,0,1280,1024". The name
// finds it again after a restart, the place and size after the system
// renamed the screens.
std::string ScreenChoiceText(const Screen& screen);

// The screen `choice` names: the device with the same place and size, else
// the device alone, else a screen at the same place and size. -1 when it
// names none of them (or is empty).
int FindChosenScreen(const std::vector<Screen>& screens, const std::string& choice);
// The screen the panel stands on: the chosen one while it is there, else the
// primary (else the first); -1 without screens.
int DockScreen(const std::vector<Screen>& screens, const std::string& choice);

// The entry of the screen menu for `screen`, numbered from 1:
// "1: 1920 × 1080, основной".
std::wstring ScreenEntryText(int number, const Screen& screen);

// The edges of a screen where a bar hides itself (an auto-hide taskbar).
// There the work area reaches the screen's edge, yet the pointer at that
// edge calls the bar in: the edge is an inner one for the panel, and the
// panel keeps off the strip the hidden bar leaves on the screen.
struct AutoHideEdges {
    bool left = false, top = false, right = false, bottom = false;
};
// How much of a hidden bar stays on its screen, in pixels at 96 DPI.
inline constexpr int kAutoHideRevealStrip = 2;

// Where the panel stands on its screen, for a frame `frameWidth` pixels wide
// whose border is metrics.frameOverhang.
struct DockPlace {
    int screen = -1;        // index of the screen it stands on; -1: no screen known
    DockEdge edge;          // the pointer zones' edge
    int shownLeft = 0;      // the frame's left at the shown place
    int frameTop = 0;
    int clientHeight = 0;
    int clientLeft = 0;     // the client area's left at the shown place
    // The frame's left at the hidden place, beyond an outer edge; where that
    // place would lie on another screen the panel is withdrawn instead (not
    // shown at all) and seen nowhere.
    int hiddenLeft = 0;
    bool withdrawWhenHidden = false;
    int dpi = 96;           // the scale of its screen
    // One past the lowest row the pointer can reach over the shown client
    // area: the client's bottom or its screen's, whichever is higher.
    int visibleBottom = 0;
};

// The frame stands 1 border past each edge of the work area that is an outer
// edge of its screen (the screen's own edge with no other screen beyond), so
// its border is not seen there and its client area meets the edge; against a
// bar or another screen the whole frame stays on the work area. On a single
// screen with no bar that is the frame at -4 / SW - W + 4, its top at -4,
// its client SH + 4 high, hidden at -(W + 1) / SW + 3. `bars` are the
// auto-hide bars of the screen the panel stands on.
DockPlace PlanDock(const std::vector<Screen>& screens, const std::string& choice, PanelSide side, int frameWidth,
                   const PanelMetrics& m, const AutoHideEdges& bars = {});

// True when `foreground` covers the whole of `screen`.
bool CoversScreen(const Rect& foreground, const Screen& screen);

// What the shell says of the user's state (SHQueryUserNotificationState),
// as far as the edge cares.
enum class UserNotificationState {
    Accepting,       // anything else: notifications may show
    Busy,            // a full-screen program, or presentation settings
    D3DFullScreen,   // a full-screen Direct3D program
    Presentation,    // the user's presentation mode
};

// The foreground window of another program, as the edge sees it.
struct ForegroundWindow {
    bool present = false;  // false: none, or the desktop's or the panel's own
    Rect bounds;
    bool maximized = false;
    bool cloaked = false;  // hidden by the window manager (another desktop, a suspended app)
};

// True while a full-screen program in front of `screen` keeps its edge
// from bringing the panel in. Presentation mode holds every edge. A busy
// or Direct3D state holds the screen the foreground window stands on (all
// of them when none is known). Otherwise a foreground window that covers
// the screen holds it, caption or not, unless it is maximised (which covers
// a screen whose work area is the whole screen) or cloaked.
bool FullScreenInFront(UserNotificationState state, const ForegroundWindow& foreground, const Screen& screen);

}  // namespace tilerack
