#include "panel/edge_dock_win.h"

#include <algorithm>

#include "panel/pointer_watch.h"
#include "platform/display_scale.h"

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

int EdgeDock::OwnFrameHeight() const {
    // The client reaches as far below the screen as the frame's top stands above it.
    RECT window{}, client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const int frame = (window.bottom - window.top) - (client.bottom - client.top);
    return GetSystemMetrics(SM_CYSCREEN) + FrameBorder() + frame;
}

int EdgeDock::ScreenWidth() {
    if (screenWidth_ <= 0) screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
    return screenWidth_;
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

void EdgeDock::SetLeft(int left) {
    const RECT r = Bounds();
    if (r.left == left) return;
    MoveTo(left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EdgeDock::Dock(PanelSide side) {
    const RECT r = Bounds();
    const int width = r.right - r.left;
    const int height = OwnFrameHeight();
    const int left = ShownLeft(side, ScreenWidth(), width, r.left, Placement());
    if (r.left != left || r.top != FrameTop() || r.bottom - r.top != height)
        MoveTo(left, FrameTop(), width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void EdgeDock::MoveToShown(PanelSide side) { SetLeft(ShownLeft(side, ScreenWidth(), Width(), Left(), Placement())); }

void EdgeDock::MoveToHidden(PanelSide side) { SetLeft(HiddenLeft(side, ScreenWidth(), Width(), Left(), metrics_)); }

// A window manager may put the panel elsewhere when it appears (openbox
// moves every window that names its own place fully onto the screen and
// trims its height to the screen's), each time it slides in.
bool EdgeDock::KeepDocked(PanelSide side, WINDOWPOS& pos) {
    if (placing_ || !IsWindowVisible(hwnd_)) return false;
    if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return false;
    const RECT r = Bounds();
    const int width = r.right - r.left;
    if (r.left != ShownLeft(side, ScreenWidth(), width, r.left, Placement())) return false;
    pos.cx = (pos.flags & SWP_NOSIZE) ? width : std::max(static_cast<int>(pos.cx), metrics_.minWidth);
    pos.cy = OwnFrameHeight();
    pos.x = ShownLeft(side, ScreenWidth(), pos.cx, r.left, Placement());
    pos.y = FrameTop();
    pos.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void EdgeDock::Resync() {
    if (!IsWindowVisible(hwnd_)) return;
    const RECT r = Bounds();
    MoveTo(r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tilerack
