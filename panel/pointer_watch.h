#pragma once
// The pointer watch of the panel as a state machine: both timer ticks decide
// from the pointer, the edge the panel docks at and the window width what the
// window must do; the window only carries it out.
#include <functional>

#include "common/geometry.h"
#include "common/panel_settings.h"
#include "panel/panel_metrics.h"

namespace tilerack {

inline constexpr int kTimerMouseInterval = 100;   // ms
inline constexpr int kTimerButtonInterval = 200;  // ms
// At an edge the pointer can pass beyond (another screen, a bar), it must
// rest in the edge zone at least this long, whatever TimeOut says: a pointer
// crossing the edge never brings the panel in.
inline constexpr int kInnerEdgeRest = 300;  // ms

// The edge the panel docks at, as the pointer zones see it.
struct DockEdge {
    PanelSide side = PanelSide::Left;
    // The work area's edge: on the left its first column, on the right one
    // past its last.
    int edge = 0;
    // Where a pointer counts at all: the columns of the panel's screen and
    // the rows of its work area. A pointer anywhere else is in neither zone.
    Rect area;
    // The pointer can pass on beyond the edge, to another screen or onto a
    // bar: only a rest in the edge zone brings the panel in.
    bool inner = false;
};

// The edge of a single screen `screenWidth` wide with no bar, as the zones
// have always been measured there.
DockEdge SingleScreenEdge(PanelSide side, int screenWidth);

// Left coordinate of the outer frame at the shown and hidden places. Sides
// other than 0 and 1 have no place: the functions return `current` unchanged.
int ShownLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m = kDesignMetrics);
int HiddenLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m = kDesignMetrics);

bool InEdgeZone(const DockEdge& edge, Point p, const PanelMetrics& m = kDesignMetrics);
bool InNearZone(const DockEdge& edge, Point p, int windowWidth, const PanelMetrics& m = kDesignMetrics);
bool InEdgeZone(PanelSide side, Point p, int screenWidth, const PanelMetrics& m = kDesignMetrics);
bool InNearZone(PanelSide side, Point p, int screenWidth, int windowWidth, const PanelMetrics& m = kDesignMetrics);

// What one tick of TimerMouse asks of the window.
enum class WatchAction {
    None,
    ShowSequence,  // CaptureBackground, Hidden := false, SlideIn, PlaceAtEdge
    HidePanel,
};

struct PointerWatch {
    int mouseX = 0;    // MouseX
    int waitTime = 0;  // WaitTime, ms
    // One tick of TimerMouse. `hidden` is the panel's Hidden flag.
    // `fullScreenInFront` is asked only when a rest at the edge would bring
    // the panel in: while a full-screen program is in front it does not.
    WatchAction Tick(bool hidden, int timeOut, Point pointer, const DockEdge& edge, int windowWidth,
                     const PanelMetrics& m = kDesignMetrics, const std::function<bool()>& fullScreenInFront = {});
    // The same on a single screen `screenWidth` wide.
    WatchAction Tick(PanelSide side, bool hidden, int timeOut, Point pointer, int screenWidth, int windowWidth,
                     const PanelMetrics& m = kDesignMetrics) {
        return Tick(hidden, timeOut, pointer, SingleScreenEdge(side, screenWidth), windowWidth, m);
    }
    // StartHideWatch: MouseX := pointer x, WaitTime := 0.
    void Restart(int pointerX) { mouseX = pointerX; waitTime = 0; }
};

// Visibility of the hide and menu buttons decided by one TimerButton tick,
// from their screen rectangles and the pointer. `changes` is false for sides
// other than 0 and 1 (the buttons keep their visibility).
struct StripReveal {
    bool changes = false;
    bool hideVisible = false;
    bool menuVisible = false;
};
StripReveal RevealStripButtons(PanelSide side, Point pointer, Rect hideOnScreen, Rect menuOnScreen,
                               const PanelMetrics& m = kDesignMetrics);

}  // namespace tilerack
