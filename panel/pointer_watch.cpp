#include "panel/pointer_watch.h"

#include <climits>

namespace tilerack {
namespace {

// WaitTime keeps growing while the pointer stays put; saturate rather than
// overflow after months of doing so.
int AddInterval(int waitTime) {
    return waitTime > INT_MAX - kTimerMouseInterval ? INT_MAX : waitTime + kTimerMouseInterval;
}

}  // namespace

int ShownLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m) {
    // The frame's border stands past the screen edge, so the client meets it.
    if (side == PanelSide::Left) return -m.frameOverhang;
    if (side == PanelSide::Right) return screenWidth - windowWidth + m.frameOverhang;
    return current;
}

int HiddenLeft(PanelSide side, int screenWidth, int windowWidth, int current, const PanelMetrics& m) {
    if (side == PanelSide::Left) return -(windowWidth + m.hiddenGapLeft);
    if (side == PanelSide::Right) return screenWidth + m.hiddenGapRight;
    return current;
}

bool InEdgeZone(PanelSide side, Point p, int screenWidth, const PanelMetrics& m) {
    if (side == PanelSide::Left) return p.x <= m.edgeReach && p.y >= m.topMargin;
    if (side == PanelSide::Right) return p.x >= screenWidth - m.edgeReach && p.y >= m.topMargin;
    return false;
}

bool InNearZone(PanelSide side, Point p, int screenWidth, int windowWidth, const PanelMetrics& m) {
    // The second condition leaves out a small triangle in the top corner.
    if (side == PanelSide::Left) return p.x < windowWidth + m.nearMargin && p.x + p.y >= m.topMargin;
    if (side == PanelSide::Right)
        return p.x > screenWidth - windowWidth - m.nearMargin && (screenWidth - p.x) + p.y >= m.topMargin;
    return false;
}

WatchAction PointerWatch::Tick(PanelSide side, bool hidden, int timeOut, Point pointer, int screenWidth,
                               int windowWidth, const PanelMetrics& m) {
    WatchAction action = WatchAction::None;
    if (side == PanelSide::Left || side == PanelSide::Right) {
        if (hidden) {
            if (!InEdgeZone(side, pointer, screenWidth, m)) {
                waitTime = 0;
            } else {
                // Only a horizontal move restarts the dwell; the comparison
                // follows the reset, so a TimeOut of 0 or less shows at once.
                waitTime = pointer.x == mouseX ? AddInterval(waitTime) : 0;
                if (waitTime >= timeOut) action = WatchAction::ShowSequence;
            }
        } else {
            if (InNearZone(side, pointer, screenWidth, windowWidth, m)) {
                waitTime = 0;
            } else {
                waitTime = AddInterval(waitTime);
                if (waitTime >= timeOut) action = WatchAction::HidePanel;
            }
        }
    }
    mouseX = pointer.x;
    return action;
}

StripReveal RevealStripButtons(PanelSide side, Point pointer, Rect hideOnScreen, Rect menuOnScreen,
                               const PanelMetrics& metrics) {
    const int reach = metrics.revealReach;    // vertical reach from the button's top
    const int margin = metrics.revealMargin;  // horizontal margin beyond the button
    StripReveal r;
    const Rect& h = hideOnScreen;
    const Rect& m = menuOnScreen;
    if (side == PanelSide::Left) {
        r.changes = true;
        r.hideVisible = pointer.y < h.top + reach && pointer.x < h.left + h.width + margin;
        r.menuVisible = pointer.y > m.top - reach && pointer.x < m.left + m.width + margin;
    } else if (side == PanelSide::Right) {
        // Here the margin runs from the button's left edge and spans its width too.
        r.changes = true;
        r.hideVisible = pointer.y < h.top + reach && pointer.x > h.left - h.width - margin;
        r.menuVisible = pointer.y > m.top - reach && pointer.x > m.left - m.width - margin;
    }
    return r;
}

}  // namespace tilerack
