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

int ShownLeft(int side, int screenWidth, int windowWidth, int current) {
    if (side == 0) return -kFrameOverhang;
    if (side == 1) return screenWidth - windowWidth + kFrameOverhang;
    return current;
}

int HiddenLeft(int side, int screenWidth, int windowWidth, int current) {
    if (side == 0) return -(windowWidth + 1);
    if (side == 1) return screenWidth + 3;
    return current;
}

bool InEdgeZone(int side, Point p, int screenWidth) {
    if (side == 0) return p.x <= 2 && p.y >= kTopMargin;
    if (side == 1) return p.x >= screenWidth - 2 && p.y >= kTopMargin;
    return false;
}

bool InNearZone(int side, Point p, int screenWidth, int windowWidth) {
    // The second condition leaves out a small triangle in the top corner.
    if (side == 0) return p.x < windowWidth + kNearMargin && p.x + p.y >= kTopMargin;
    if (side == 1)
        return p.x > screenWidth - windowWidth - kNearMargin && (screenWidth - p.x) + p.y >= kTopMargin;
    return false;
}

WatchAction PointerWatch::Tick(int side, bool hidden, int timeOut, Point pointer, int screenWidth,
                               int windowWidth) {
    WatchAction action = WatchAction::None;
    if (side == 0 || side == 1) {
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

StripReveal RevealStripButtons(int side, Point pointer, Rect hideOnScreen, Rect menuOnScreen) {
    constexpr int kReach = 32;   // vertical reach from the button's top
    constexpr int kMargin = 24;  // horizontal margin beyond the button
    StripReveal r;
    const Rect& h = hideOnScreen;
    const Rect& m = menuOnScreen;
    if (side == 0) {
        r.changes = true;
        r.hideVisible = pointer.y < h.top + kReach && pointer.x < h.left + h.width + kMargin;
        r.menuVisible = pointer.y > m.top - kReach && pointer.x < m.left + m.width + kMargin;
    } else if (side == 1) {
        // Here the margin runs from the button's left edge and spans its width too.
        r.changes = true;
        r.hideVisible = pointer.y < h.top + kReach && pointer.x > h.left - h.width - kMargin;
        r.menuVisible = pointer.y > m.top - kReach && pointer.x > m.left - m.width - kMargin;
    }
    return r;
}

}  // namespace tilerack
