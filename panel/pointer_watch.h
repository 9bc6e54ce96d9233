#pragma once
// The pointer watch of the panel as a state machine: both timer ticks decide
// from the pointer, the screen size and the window width what the window must
// do; the window only carries it out.
#include "common/geometry.h"
#include "common/panel_settings.h"
#include "panel/panel_metrics.h"

namespace tilerack {

inline constexpr int kTimerMouseInterval = 100;   // ms
inline constexpr int kTimerButtonInterval = 200;  // ms

// Left coordinate of the outer frame at the shown and hidden places. Sides
// other than 0 and 1 have no place: the functions return `current` unchanged.
int ShownLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m = kDesignMetrics);
int HiddenLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m = kDesignMetrics);

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
    WatchAction Tick(PanelSide side, bool hidden, int timeOut, Point pointer, int screenWidth, int windowWidth,
                     const PanelMetrics& m = kDesignMetrics);
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
