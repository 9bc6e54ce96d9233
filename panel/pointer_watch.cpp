#include "panel/pointer_watch.h"

#include <climits>

namespace tilerack {
namespace {

// The panel's frame reaches this far past the screen edge at its shown place.
constexpr int kFrameOverhang = 4;
// Pointer rows at the very top that never count as resting at the edge.
constexpr int kTopMargin = 5;
// How far the near zone reaches past the panel's inner edge.
constexpr int kNearMargin = 16;

// WaitTime keeps growing while the pointer stays put; saturate rather than
// overflow after months of doing so.
int AddInterval(int waitTime) {
    return waitTime > INT_MAX - kTimerMouseInterval ? INT_MAX : waitTime + kTimerMouseInterval;
}

}  // namespace

int ShownLeft(PanelSide side, int screenWidth, int windowWidth, int current) {
    if (side == PanelSide::Left) return -kFrameOverhang;
    if (side == PanelSide::Right) return screenWidth - windowWidth + kFrameOverhang;
    return current;
}

int HiddenLeft(PanelSide side, int screenWidth, int windowWidth, int current) {
    if (side == PanelSide::Left) return -(windowWidth + 1);
    if (side == PanelSide::Right) return screenWidth + 3;
    return current;
}

bool InEdgeZone(PanelSide side, Point p, int screenWidth) {
    if (side == PanelSide::Left) return p.x <= 2 && p.y >= kTopMargin;
    if (side == PanelSide::Right) return p.x >= screenWidth - 2 && p.y >= kTopMargin;
    return false;
}

bool InNearZone(PanelSide side, Point p, int screenWidth, int windowWidth) {
    // The second condition leaves out a small triangle in the top corner.
    if (side == PanelSide::Left) return p.x < windowWidth + kNearMargin && p.x + p.y >= kTopMargin;
    if (side == PanelSide::Right)
        return p.x > screenWidth - windowWidth - kNearMargin && (screenWidth - p.x) + p.y >= kTopMargin;
    return false;
}

WatchAction PointerWatch::Tick(PanelSide side, bool hidden, int timeOut, Point pointer, int screenWidth,
                               int windowWidth) {
    WatchAction action = WatchAction::None;
    if (side == PanelSide::Left || side == PanelSide::Right) {
        if (hidden) {
            if (!InEdgeZone(side, pointer, screenWidth)) {
                waitTime = 0;
            } else {
                // Only a horizontal move restarts the dwell; the comparison
                // follows the reset, so a TimeOut of 0 or less shows at once.
                waitTime = pointer.x == mouseX ? AddInterval(waitTime) : 0;
                if (waitTime >= timeOut) action = WatchAction::ShowSequence;
            }
        } else {
            if (InNearZone(side, pointer, screenWidth, windowWidth)) {
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

StripReveal RevealStripButtons(PanelSide side, Point pointer, Rect hideOnScreen, Rect menuOnScreen) {
    constexpr int kReach = 32;   // vertical reach from the button's top
    constexpr int kMargin = 24;  // horizontal margin beyond the button
    StripReveal r;
    const Rect& h = hideOnScreen;
    const Rect& m = menuOnScreen;
    if (side == PanelSide::Left) {
        r.changes = true;
        r.hideVisible = pointer.y < h.top + kReach && pointer.x < h.left + h.width + kMargin;
        r.menuVisible = pointer.y > m.top - kReach && pointer.x < m.left + m.width + kMargin;
    } else if (side == PanelSide::Right) {
        // Here the margin runs from the button's left edge and spans its width too.
        r.changes = true;
        r.hideVisible = pointer.y < h.top + kReach && pointer.x > h.left - h.width - kMargin;
        r.menuVisible = pointer.y > m.top - kReach && pointer.x > m.left - m.width - kMargin;
    }
    return r;
}

}  // namespace tilerack
