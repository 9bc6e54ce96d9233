#include "panel/edge_dock_win.h"

#include <algorithm>

#include "platform/display_scale.h"
#include "platform/screens.h"

namespace tilerack {

int EdgeDock::FrameHeight(DWORD style, DWORD exStyle, const PanelMetrics& metrics) {
    return win::FrameHeightFor(style, exStyle, GetSystemMetrics(SM_CYSCREEN) + metrics.frameOverhang,
                               metrics.scale.dpi);
}

int EdgeDock::FrameBorder() const {
    if (!hwnd_) return metrics_.frameOverhang;
    RECT window{};
    POINT client{0, 0};
    if (!GetWindowRect(hwnd_, &window) || !ClientToScreen(hwnd_, &client)) return metrics_.frameOverhang;
    const int border = client.x - window.left;
    return border > 0 ? border : metrics_.frameOverhang;
}

PanelMetrics EdgeDock::Placement() const {
    PanelMetrics m = metrics_;
    m.frameOverhang = FrameBorder();
    return m;
}

const std::vector<Screen>& EdgeDock::Screens() {
    if (screens_.empty()) screens_ = win::ListScreens();
    return screens_;
}

DockPlace EdgeDock::Plan(PanelSide side, int width) {
    return PlanDock(Screens(), choice_, side, width > 0 ? std::max(width, metrics_.minWidth) : Width(), Placement());
}

int EdgeDock::ClientEdge(PanelSide side) {
    const DockPlace place = Plan(side);
    const int border = FrameBorder();
    return side == PanelSide::Right ? place.shownLeft + Width() - border : place.shownLeft + border;
}

int EdgeDock::ClientTop(PanelSide side) { return Plan(side).frameTop + FrameBorder(); }

int EdgeDock::OwnFrameHeight(int clientHeight) const {
    RECT window{}, client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    return clientHeight + (window.bottom - window.top) - (client.bottom - client.top);
}

RECT EdgeDock::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

int EdgeDock::Width() const {
    const RECT r = Bounds();
    return r.right - r.left;
}

int EdgeDock::Height() const {
    const RECT r = Bounds();
    return r.bottom - r.top;
}

void EdgeDock::MoveTo(int left, int top, int width, int height, UINT flags) {
    placing_ = true;
    SetWindowPos(hwnd_, nullptr, left, top, width, height, flags);
    placing_ = false;
}

void EdgeDock::SetWidth(int width) {
    width = std::max(width, metrics_.minWidth);
    if (width == Width()) return;
    // A new size lays out the whole client area again: nothing of the old
    // picture is worth copying (a copy can outlast the next paint).
    MoveTo(0, 0, width, Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void EdgeDock::StandAt(int left, int width, const DockPlace& place) {
    const RECT r = Bounds();
    const int height = OwnFrameHeight(place.clientHeight);
    // A panel hidden by not being shown comes back at once where it stands.
    const UINT show = withdrawn_ ? SWP_SHOWWINDOW : 0;
    withdrawn_ = false;
    if (r.top == place.frameTop && r.bottom - r.top == height && r.right - r.left == width) {
        if (r.left != left || show) MoveTo(left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | show);
    } else {
        MoveTo(left, place.frameTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | show);
    }
}

void EdgeDock::Dock(PanelSide side, int width) {
    const DockPlace place = Plan(side, width);
    if (place.screen >= 0) StandAt(place.shownLeft, width > 0 ? std::max(width, metrics_.minWidth) : Width(), place);
}

void EdgeDock::MoveToShown(PanelSide side) { Dock(side); }

void EdgeDock::MoveToHidden(PanelSide side, int width) {
    const DockPlace place = Plan(side, width);
    if (place.screen < 0) return;
    width = width > 0 ? std::max(width, metrics_.minWidth) : Width();
    if (!place.withdrawWhenHidden) {
        StandAt(place.hiddenLeft, width, place);
        return;
    }
    // Beyond this edge lies another screen: the panel is not shown at all,
    // and stays at its shown place on its own screen (nor takes that
    // screen's scale) until it comes in again.
    withdrawn_ = true;
    MoveTo(place.shownLeft, place.frameTop, width, OwnFrameHeight(place.clientHeight),
           SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

// A window manager may put the panel elsewhere when it appears (openbox
// moves every window that names its own place fully onto the screen and
// trims its height to the screen's), each time it slides in.
bool EdgeDock::KeepDocked(PanelSide side, WINDOWPOS& pos) {
    if (placing_ || !IsWindowVisible(hwnd_)) return false;
    if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return false;
    const RECT r = Bounds();
    const DockPlace place = Plan(side);
    if (place.screen < 0 || r.left != place.shownLeft) return false;
    pos.cx = (pos.flags & SWP_NOSIZE) ? r.right - r.left : std::max(static_cast<int>(pos.cx), metrics_.minWidth);
    pos.cy = OwnFrameHeight(place.clientHeight);
    // The right side's shown place follows the new width.
    pos.x = side == PanelSide::Right ? place.shownLeft + (r.right - r.left) - pos.cx : place.shownLeft;
    pos.y = place.frameTop;
    pos.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void EdgeDock::Resync() {
    if (!IsWindowVisible(hwnd_)) return;
    const RECT r = Bounds();
    MoveTo(r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tilerack
