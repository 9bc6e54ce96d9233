#include "panel/edge_dock_win.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/display_scale.h"
#include "platform/screens.h"

namespace tilerack {

namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

Rect PrimaryScreenBounds() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return ToRect(info.rcMonitor);
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};  // no monitors known
}

// A function of a system library that older systems (or Wine) may lack.
template <typename Fn>
Fn SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryW(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// ABM_GETAUTOHIDEBAREX (Windows 8.1 on) asks per screen; before it only
// the primary screen's edges could have such a bar (ABM_GETAUTOHIDEBAR).
AutoHideEdges AutoHideBarsOf(const Rect& screen) {
    using AppBarFn = UINT_PTR(WINAPI*)(DWORD, APPBARDATA*);
    static const auto appBar = SystemFunction<AppBarFn>(L"shell32.dll", "SHAppBarMessage");
    constexpr DWORD kGetAutoHideBarEx = 0x0000000b;  // ABM_GETAUTOHIDEBAREX
    AutoHideEdges bars;
    if (!appBar) return bars;
    const Rect primary = PrimaryScreenBounds();
    const bool onPrimary = screen == primary;
    const auto barAt = [&](UINT edge) {
        APPBARDATA data{};
        data.cbSize = sizeof(data);
        data.uEdge = edge;
        data.rc = RECT{screen.left, screen.top, screen.Right(), screen.Bottom()};
        if (appBar(kGetAutoHideBarEx, &data) != 0) return true;
        return onPrimary && appBar(ABM_GETAUTOHIDEBAR, &data) != 0;
    };
    bars.left = barAt(ABE_LEFT);
    bars.top = barAt(ABE_TOP);
    bars.right = barAt(ABE_RIGHT);
    bars.bottom = barAt(ABE_BOTTOM);
    return bars;
}

UserNotificationState NotificationState() {
    using QueryFn = HRESULT(WINAPI*)(int*);
    static const auto query = SystemFunction<QueryFn>(L"shell32.dll", "SHQueryUserNotificationState");
    int state = 0;
    if (!query || FAILED(query(&state))) return UserNotificationState::Accepting;
    switch (state) {
    case 2: return UserNotificationState::Busy;            // QUNS_BUSY
    case 3: return UserNotificationState::D3DFullScreen;   // QUNS_RUNNING_D3D_FULL_SCREEN
    case 4: return UserNotificationState::Presentation;    // QUNS_PRESENTATION_MODE
    default: return UserNotificationState::Accepting;
    }
}

bool Cloaked(HWND window) {
    using AttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const auto attribute = SystemFunction<AttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED
    DWORD cloaked = 0;
    return attribute && SUCCEEDED(attribute(window, kCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

// The foreground window when it is another program's, not the desktop's.
ForegroundWindow ForegroundOfOthers() {
    ForegroundWindow f;
    const HWND window = GetForegroundWindow();
    if (!window || window == GetShellWindow() || window == GetDesktopWindow()) return f;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return f;
    if (!IsWindowVisible(window) || IsIconic(window)) return f;
    // The desktop's own windows (the wallpaper's) span the screens too.
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (lstrcmpW(className, L"WorkerW") == 0 || lstrcmpW(className, L"Progman") == 0) return f;
    RECT r{};
    if (!GetWindowRect(window, &r)) return f;
    f.present = true;
    f.bounds = ToRect(r);
    f.maximized = IsZoomed(window) != FALSE;
    f.cloaked = Cloaked(window);
    return f;
}

}  // namespace

int EdgeDock::FrameHeight(DWORD style, DWORD exStyle, const PanelMetrics& metrics) {
    // Made on the primary screen, where it stands until its settings are read.
    const Rect primary = PrimaryScreenBounds();
    return win::FrameHeightFor(style, exStyle, primary.height + metrics.frameOverhang, metrics.scale.dpi);
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

const AutoHideEdges& EdgeDock::Bars() {
    if (!barsWanted_ || barsRead_) return bars_;
    const std::vector<Screen>& screens = Screens();
    const int own = DockScreen(screens, choice_);
    bars_ = own >= 0 ? AutoHideBarsOf(screens[own].bounds) : AutoHideEdges{};
    barsRead_ = true;
    return bars_;
}

bool EdgeDock::ReadHiddenBars() {
    barsWanted_ = true;
    barsRead_ = false;
    const AutoHideEdges& bars = Bars();
    return bars.left || bars.top || bars.right || bars.bottom;
}

bool EdgeDock::FullScreenInFront(PanelSide side) {
    const DockPlace place = Plan(side);
    if (place.screen < 0) return false;
    return tilerack::FullScreenInFront(NotificationState(), ForegroundOfOthers(), Screens()[place.screen]);
}

DockPlace EdgeDock::Plan(PanelSide side, int width) {
    const std::vector<Screen>& screens = Screens();
    const AutoHideEdges& bars = Bars();
    return PlanDock(screens, choice_, side, width > 0 ? std::max(width, metrics_.minWidth) : Width(), Placement(),
                    bars);
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
    if (placing_ || (pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return false;
    // The system moves the panel off a screen that is going before it
    // tells of the change: its screens are read again first.
    ForgetScreens();
    if (!IsWindowVisible(hwnd_)) return false;
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
