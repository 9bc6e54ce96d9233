#include "panel/edge_dock_win.h"

#include <algorithm>

#include "panel/pointer_watch.h"

namespace tilerack {

int EdgeDock::FrameHeight(DWORD style, DWORD exStyle) {
    RECT frame{0, 0, 0, GetSystemMetrics(SM_CYSCREEN) - kFrameTop};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame.bottom - frame.top;
}

int EdgeDock::OwnFrameHeight() const {
    return FrameHeight(GetWindowLongW(hwnd_, GWL_STYLE), GetWindowLongW(hwnd_, GWL_EXSTYLE));
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
    width = std::max(width, kMinPanelWidth);
    if (width == Width()) return;
    MoveTo(0, 0, width, Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    const int left = ShownLeft(side, ScreenWidth(), width, r.left);
    if (r.left != left || r.top != kFrameTop || r.bottom - r.top != height)
        MoveTo(left, kFrameTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void EdgeDock::MoveToShown(PanelSide side) { SetLeft(ShownLeft(side, ScreenWidth(), Width(), Left())); }

void EdgeDock::MoveToHidden(PanelSide side) { SetLeft(HiddenLeft(side, ScreenWidth(), Width(), Left())); }

// A window manager may put the panel elsewhere when it appears (openbox
// moves every window that names its own place fully onto the screen and
// trims its height to the screen's), each time it slides in.
bool EdgeDock::KeepDocked(PanelSide side, WINDOWPOS& pos) {
    if (placing_ || !IsWindowVisible(hwnd_)) return false;
    if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return false;
    const RECT r = Bounds();
    const int width = r.right - r.left;
    if (r.left != ShownLeft(side, ScreenWidth(), width, r.left)) return false;
    pos.cx = (pos.flags & SWP_NOSIZE) ? width : std::max(static_cast<int>(pos.cx), kMinPanelWidth);
    pos.cy = OwnFrameHeight();
    pos.x = ShownLeft(side, ScreenWidth(), pos.cx, r.left);
    pos.y = kFrameTop;
    pos.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void EdgeDock::Resync() {
    if (!IsWindowVisible(hwnd_)) return;
    const RECT r = Bounds();
    MoveTo(r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tilerack
