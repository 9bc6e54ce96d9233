#include "panel/pointer_watch.h"

#include <algorithm>
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

DockEdge SingleScreenEdge(PanelSide side, int screenWidth) {
    // Columns without bound (a pointer cannot leave the only screen); rows
    // from the screen's top, without bound below.
    constexpr int kFar = 1 << 29;
    return DockEdge{side, side == PanelSide::Right ? screenWidth : 0, Rect{-kFar, 0, 2 * kFar, kFar}, false};
}

bool InEdgeZone(const DockEdge& e, Point p, const PanelMetrics& m) {
    const Rect& a = e.area;
    if (!a.Contains(p.x, p.y) || p.y < a.top + m.topMargin) return false;
    if (e.side == PanelSide::Left) return p.x >= e.edge && p.x <= e.edge + m.edgeReach;
    if (e.side == PanelSide::Right) return p.x >= e.edge - m.edgeReach && p.x < e.edge;
    return false;
}

bool InNearZone(const DockEdge& e, Point p, int windowWidth, const PanelMetrics& m) {
    if (!e.area.Contains(p.x, p.y)) return false;
    // The second condition leaves out a small triangle in the top corner.
    const int down = p.y - e.area.top;
    if (e.side == PanelSide::Left)
        return p.x < e.edge + windowWidth + m.nearMargin && (p.x - e.edge) + down >= m.topMargin;
    if (e.side == PanelSide::Right)
        return p.x > e.edge - windowWidth - m.nearMargin && (e.edge - p.x) + down >= m.topMargin;
    return false;
}

bool InEdgeZone(PanelSide side, Point p, int screenWidth, const PanelMetrics& m) {
    return InEdgeZone(SingleScreenEdge(side, screenWidth), p, m);
}

bool InNearZone(PanelSide side, Point p, int screenWidth, int windowWidth, const PanelMetrics& m) {
    return InNearZone(SingleScreenEdge(side, screenWidth), p, windowWidth, m);
}

WatchAction PointerWatch::Tick(bool hidden, int timeOut, Point pointer, const DockEdge& edge, int windowWidth,
                               const PanelMetrics& m, const std::function<bool()>& fullScreenInFront) {
    WatchAction action = WatchAction::None;
    if (edge.side == PanelSide::Left || edge.side == PanelSide::Right) {
        if (hidden) {
            if (!InEdgeZone(edge, pointer, m)) {
                waitTime = 0;
            } else {
                // Only a horizontal move restarts the dwell; the comparison
                // follows the reset, so a TimeOut of 0 or less shows at once
                // (at an outer edge, where the pointer cannot pass on).
                waitTime = pointer.x == mouseX ? AddInterval(waitTime) : 0;
                const int rest = edge.inner ? std::max(timeOut, kInnerEdgeRest) : timeOut;
                if (waitTime >= rest) {
                    // The edge stays out of the way of a full-screen program
                    // (the hot key still brings the panel in).
                    if (fullScreenInFront && fullScreenInFront())
                        waitTime = 0;
                    else
                        action = WatchAction::ShowSequence;
                }
            }
        } else {
            if (InNearZone(edge, pointer, windowWidth, m)) {
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
