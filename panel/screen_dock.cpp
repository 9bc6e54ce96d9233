#include "panel/screen_dock.h"

#include <algorithm>
#include <cstdlib>

#include "common/app_texts.h"

namespace tilerack {

namespace {

bool Meets(const Rect& a, const Rect& b) {
    return a.width > 0 && a.height > 0 && b.width > 0 && b.height > 0 && a.left < b.Right() && b.left < a.Right() &&
           a.top < b.Bottom() && b.top < a.Bottom();
}

// True when `strip` lies on a screen other than `own`.
bool OnOtherScreen(const std::vector<Screen>& screens, int own, const Rect& strip) {
    for (size_t i = 0; i < screens.size(); ++i)
        if (static_cast<int>(i) != own && Meets(screens[i].bounds, strip)) return true;
    return false;
}

struct StoredChoice {
    std::string device;
    Rect bounds;
    bool hasBounds = false;
};

// "device,left,top,width,height"; a text without the four numbers is a bare
// device name.
StoredChoice ParseChoice(const std::string& text) {
    StoredChoice c{text, {}, false};
    int values[4];
    size_t end = text.size();
    for (int i = 3; i >= 0; --i) {
        const size_t comma = text.rfind(',', end == 0 ? 0 : end - 1);
        if (comma == std::string::npos || end == 0) return c;
        const std::string number = text.substr(comma + 1, end - comma - 1);
        char* stop = nullptr;
        const long v = std::strtol(number.c_str(), &stop, 10);
        if (number.empty() || *stop != '\0' || v < -(1L << 30) || v > (1L << 30)) return c;
        values[i] = static_cast<int>(v);
        end = comma;
    }
    return StoredChoice{text.substr(0, end), Rect{values[0], values[1], values[2], values[3]}, true};
}

// The work area less the strips that hidden bars leave at its screen's edges.
Rect ClearOfHiddenBars(const Screen& s, const AutoHideEdges& bars) {
    const Rect& b = s.bounds;
    Rect a = s.work;
    const int strip = DpiScale::Of(s.dpi).Scale(kAutoHideRevealStrip);
    if (bars.left && a.left == b.left) {
        a.left += strip;
        a.width -= strip;
    }
    if (bars.right && a.Right() == b.Right()) a.width -= strip;
    if (bars.top && a.top == b.top) {
        a.top += strip;
        a.height -= strip;
    }
    if (bars.bottom && a.Bottom() == b.Bottom()) a.height -= strip;
    return a;
}

}  // namespace

std::string ScreenChoiceText(const Screen& s) {
    return s.device + "," + std::to_string(s.bounds.left) + "," + std::to_string(s.bounds.top) + "," +
           std::to_string(s.bounds.width) + "," + std::to_string(s.bounds.height);
}

int FindChosenScreen(const std::vector<Screen>& screens, const std::string& choice) {
    if (choice.empty()) return -1;
    const StoredChoice c = ParseChoice(choice);
    const int count = static_cast<int>(screens.size());
    for (int i = 0; i < count; ++i)
        if (screens[i].device == c.device && c.hasBounds && screens[i].bounds == c.bounds) return i;
    for (int i = 0; i < count; ++i)
        if (!c.device.empty() && screens[i].device == c.device) return i;
    for (int i = 0; i < count; ++i)
        if (c.hasBounds && screens[i].bounds == c.bounds) return i;
    return -1;
}

int DockScreen(const std::vector<Screen>& screens, const std::string& choice) {
    if (screens.empty()) return -1;
    if (const int chosen = FindChosenScreen(screens, choice); chosen >= 0) return chosen;
    for (size_t i = 0; i < screens.size(); ++i)
        if (screens[i].primary) return static_cast<int>(i);
    return 0;
}

std::wstring ScreenEntryText(int number, const Screen& s) {
    std::wstring text = std::to_wstring(number) + kScreenEntryAfterNumberW + std::to_wstring(s.bounds.width) +
                        kScreenEntryTimesW + std::to_wstring(s.bounds.height);
    if (s.primary) text += kScreenEntryPrimaryW;
    return text;
}

DockPlace PlanDock(const std::vector<Screen>& screens, const std::string& choice, PanelSide side, int frameWidth,
                   const PanelMetrics& m, const AutoHideEdges& bars) {
    DockPlace p;
    p.screen = DockScreen(screens, choice);
    if (p.screen < 0) return p;
    const Screen& s = screens[p.screen];
    const Rect& b = s.bounds;
    // An edge with a hidden bar counts as the bar's, not as the screen's.
    const Rect a = ClearOfHiddenBars(s, bars);
    const int border = m.frameOverhang, w = frameWidth;
    const bool right = side == PanelSide::Right;
    p.dpi = s.dpi;

    // The work area's edge on the panel's side, and whether the frame may
    // stand past it: only at the screen's own edge with no screen beyond.
    const int edge = right ? a.Right() : a.left;
    const bool atScreenEdge = right ? a.Right() == b.Right() : a.left == b.left;
    const Rect pastEdge = right ? Rect{edge, a.top, border, a.height} : Rect{edge - border, a.top, border, a.height};
    const bool sideOverhang = atScreenEdge && !OnOtherScreen(screens, p.screen, pastEdge);
    p.shownLeft = right ? edge - w + (sideOverhang ? border : 0) : edge - (sideOverhang ? border : 0);
    p.clientLeft = p.shownLeft + border;

    // Above and below the same: past the work area's top and bottom only
    // where they are the screen's with nothing beyond. Below, the client
    // area reaches as far past the edge as the frame's top stands above it.
    const Rect above{p.shownLeft, b.top - border, w, border};
    const bool topOverhang = a.top == b.top && !OnOtherScreen(screens, p.screen, above);
    p.frameTop = topOverhang ? a.top - border : a.top;
    const Rect below{p.shownLeft, b.Bottom(), w, 2 * border};
    const bool bottomOverhang = a.Bottom() == b.Bottom() && !OnOtherScreen(screens, p.screen, below);
    const int clientBottom = bottomOverhang ? a.Bottom() + border : a.Bottom() - border;
    p.clientHeight = std::max(clientBottom - (p.frameTop + border), 0);
    const int frameBottom = clientBottom + border;
    p.visibleBottom = std::min(clientBottom, b.Bottom());

    // Hidden just beyond the screen's own edge, unless that lies on another
    // screen: then it is not shown at all.
    p.hiddenLeft = right ? b.Right() + m.hiddenGapRight : b.left - (w + m.hiddenGapLeft);
    p.withdrawWhenHidden = OnOtherScreen(screens, p.screen, Rect{p.hiddenLeft, p.frameTop, w, frameBottom - p.frameTop});

    // The zones: the screen's columns, the work area's rows. The pointer
    // passes on beyond an edge that is a bar's or another screen's.
    p.edge.side = side;
    p.edge.edge = edge;
    p.edge.area = Rect{b.left, a.top, b.width, a.height};
    const Rect beyond = right ? Rect{b.Right(), a.top, 1, a.height} : Rect{b.left - 1, a.top, 1, a.height};
    p.edge.inner = !atScreenEdge || OnOtherScreen(screens, p.screen, beyond);
    return p;
}

bool CoversScreen(const Rect& f, const Screen& s) {
    const Rect& b = s.bounds;
    return f.left <= b.left && f.top <= b.top && f.Right() >= b.Right() && f.Bottom() >= b.Bottom();
}

bool FullScreenInFront(UserNotificationState state, const ForegroundWindow& f, const Screen& s) {
    switch (state) {
    case UserNotificationState::Presentation:
        return true;
    case UserNotificationState::Busy:
    case UserNotificationState::D3DFullScreen:
        return !f.present || s.bounds.Contains(f.bounds.left + f.bounds.width / 2, f.bounds.top + f.bounds.height / 2);
    case UserNotificationState::Accepting:
        break;
    }
    return f.present && !f.maximized && !f.cloaked && CoversScreen(f.bounds, s);
}

}  // namespace tilerack
