#include "panel_driver.h"

#include <algorithm>

#include "screen_capture.h"
#include "x11_helpers.h"

namespace e2e {
namespace {

std::vector<HWND> PanelWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && WindowClass(window) == L"TMainPanel") s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// ---- Geometry ------------------------------------------------------------------------

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int PanelLeft(HWND panel) { return WindowRect(panel).left; }
int PanelTop(HWND panel) { return WindowRect(panel).top; }
int PanelWidth(HWND panel) { return WindowRect(panel).right - WindowRect(panel).left; }
int ClientWidthOf(HWND panel) { return ClientRect(panel).right; }
int ClientHeightOf(HWND panel) { return ClientRect(panel).bottom; }

int DisplayScale::FrameBorder() const {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{};
    constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_THICKFRAME;
    if (!adjustForDpi || !adjustForDpi(&frame, kStyle, FALSE, WS_EX_TOOLWINDOW, static_cast<UINT>(dpi))) {
        if (dpi != 96) ADD_FAILURE() << "the system tells no frame border for " << dpi << " DPI";
        AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_TOOLWINDOW);
    }
    return -frame.left;
}

std::string SideSetting(Side side) { return side == Side::Left ? "Side=0" : "Side=1"; }

int ShownLeft(Side side, int width, const DisplayScale& scale) {
    const int border = scale.FrameBorder();
    return side == Side::Left ? -border : ScreenWidth() - width + border;
}
int HiddenLeft(Side side, int width, const DisplayScale& scale) {
    return side == Side::Left ? -(width + scale.S(1)) : ScreenWidth() + scale.S(3);
}
int EdgeX(Side side) { return side == Side::Left ? 0 : ScreenWidth() - 1; }

RECT HideButtonRect(HWND panel, Side side, const DisplayScale& scale) {
    const int close = scale.S(11);
    const int width = std::clamp(ClientWidthOf(panel) - close, scale.S(5), scale.S(73));
    const int left = side == Side::Left ? 0 : close;
    return RECT{left, 0, left + width, scale.S(11)};
}

RECT CloseButtonRect(HWND panel, Side side, const DisplayScale& scale) {
    const int size = scale.S(11);
    const int left = side == Side::Left ? ClientWidthOf(panel) - size : 0;
    return RECT{left, 0, left + size, size};
}

RECT MenuButtonRect(HWND panel, Side side, const DisplayScale& scale) {
    const int width = scale.S(24), height = scale.S(11);
    const int left = side == Side::Left ? ClientWidthOf(panel) - width : 0;
    const int top = ClientHeightOf(panel) - height - scale.S(16);
    return RECT{left, top, left + width, top + height};
}

RECT ItemButtonRect(HWND panel, int index, const DisplayScale& scale) {
    // Below the hide bar and a gap, one pitch per item.
    const int pitch = scale.S(34);
    const int top = scale.S(11) + scale.S(1) + pitch * index;
    return RECT{0, top, ClientWidthOf(panel) - scale.S(1), top + pitch};
}

POINT ItemCentre(HWND panel, int index, const DisplayScale& scale) {
    return Centre(ClientRectOnScreen(panel, ItemButtonRect(panel, index, scale)));
}

POINT RestingSpotOverPanel(Side side, int panelWidth) {
    const int inset = std::min(20, std::max(panelWidth - 10, 1) / 2);
    return POINT{side == Side::Left ? inset : ScreenWidth() - 1 - inset, 600};
}

void RestPointerOverPanel(Side side, int panelWidth) {
    const POINT rest = RestingSpotOverPanel(side, panelWidth);
    MovePointer(rest.x, rest.y);
}

POINT SpotAwayFromPanel() { return POINT{ScreenWidth() / 2 + 88, ScreenHeight() / 2 + 16}; }

void MovePointerAway() {
    const POINT away = SpotAwayFromPanel();
    MovePointer(away.x, away.y);
}

// ---- The program under test ------------------------------------------------------------

PanelProcess::PanelProcess(const std::wstring& exe, const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Now and then a new Wine process dies while Wine itself starts it, before
    // any of the program has run (ERROR_INTERNAL_ERROR): that start is made again.
    int attempts = 0;
    bool started = false;
    DWORD error = 0;
    while (!started && attempts++ < 3) {
        started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 workingFolder.c_str(), &startup, &info);
        error = started ? 0 : GetLastError();
        if (error != ERROR_INTERNAL_ERROR) break;
    }
    if (attempts > 1) ::testing::Test::RecordProperty("wine_process_start_attempts", attempts);
    if (!started) {
        ADD_FAILURE() << "cannot start " << Narrow(exe) << ", error " << error;
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
}

PanelProcess::~PanelProcess() {
    if (!process_) return;
    if (Running() && !Close(15s)) {
        ADD_FAILURE() << "tilerack.exe did not end after WM_CLOSE; terminating it";
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

void PanelProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, 10000);
}

bool PanelProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

HWND PanelProcess::WaitForWindow(std::chrono::milliseconds timeout) const {
    HWND panel = nullptr;
    WaitUntil([&] { return (panel = FindTopWindow(pid_, L"TMainPanel")) != nullptr || !Running(); }, timeout);
    return panel;
}

bool PanelProcess::Close(std::chrono::milliseconds timeout) {
    if (!Running()) return true;
    for (HWND window : PanelWindows(pid_)) PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeout);
}

bool PanelProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> PanelProcess::ExitCode() const {
    DWORD code = 0;
    if (!process_ || Running() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

::testing::AssertionResult ReachesLeft(HWND panel, int left, std::chrono::milliseconds timeout) {
    // Under a window manager the screen may show the panel elsewhere than
    // Windows places it (the manager has the last word on where a window
    // appears): it has arrived once the X server shows it there too, or,
    // off the screen, shows it nowhere (Wine unmaps it there).
    std::optional<XWindowPlace> shown;
    const bool managed = !WindowManager().empty();
    const auto arrived = [&] {
        if (PanelLeft(panel) != left) return false;
        if (!managed) return true;
        shown = XWindowPlaceOf(panel);
        const RECT placed = WindowRect(panel);
        const RECT screen{0, 0, ScreenWidth(), ScreenHeight()};
        RECT visible{};
        const bool there = shown && shown->mapped && EqualRect(&shown->rect, &placed);
        return there || (shown && !shown->mapped && !IntersectRect(&visible, &placed, &screen));
    };
    if (WaitUntil(arrived, timeout)) return ::testing::AssertionSuccess();
    if (PanelLeft(panel) != left)
        return ::testing::AssertionFailure() << "left " << PanelLeft(panel) << " instead of " << left;
    const RECT placed = WindowRect(panel);
    auto failure = ::testing::AssertionFailure()
                   << "Windows places the frame at " << placed.left << "," << placed.top << " "
                   << placed.right - placed.left << "x" << placed.bottom - placed.top;
    if (!shown) return failure << ", the X server's place of it is unknown";
    return failure << ", the X server shows it at " << shown->rect.left << "," << shown->rect.top << " "
                   << shown->rect.right - shown->rect.left << "x" << shown->rect.bottom - shown->rect.top;
}

bool StaysAt(HWND panel, int left, std::chrono::milliseconds duration) {
    return !WaitUntil([&] { return PanelLeft(panel) != left; }, duration);
}

::testing::AssertionResult ReachesShown(HWND panel, Side side, int width, const DisplayScale& scale,
                                        std::chrono::milliseconds timeout) {
    return ReachesLeft(panel, ShownLeft(side, width, scale), timeout);
}

::testing::AssertionResult ReachesHidden(HWND panel, Side side, int width, const DisplayScale& scale,
                                         std::chrono::milliseconds timeout) {
    return ReachesLeft(panel, HiddenLeft(side, width, scale), timeout);
}

bool WaitForCloseCross(HWND panel, Side side, const DisplayScale& scale, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            const RECT close = ClientRectOnScreen(panel, CloseButtonRect(panel, side, scale));
            const RECT inCapture{0, 0, close.right - close.left, close.bottom - close.top};
            return CountPixels(CaptureScreen(close), inCapture, IsBlack) > 0;
        },
        timeout);
}

std::string WidenByFrame(HWND panel, Side side, int by) {
    // The frame's edge toward the inside of the screen, halfway down.
    const RECT frame = WindowRect(panel);
    const int width = frame.right - frame.left;
    const int grip = side == Side::Left ? frame.right - 2 : frame.left + 1;
    const POINT from{grip, 300}, to{grip + (side == Side::Left ? by : -by), 300};
    if (!WindowManager().empty()) {
        // The window manager runs the sizing itself and follows the X
        // server's pointer, as under a user's mouse: the drag must resize.
        const std::string drag = DragWithXPointer(from, to);
        return drag == "ended" ? "frame drag under " + Narrow(WindowManager()) : "window manager's drag: " + drag;
    }
    DragWithLeftButton(from, to);
    if (WaitUntil([&] { return PanelWidth(panel) != width; }, 3s)) return "frame drag";
    const int left = side == Side::Left ? frame.left : frame.left - by;
    SetWindowPos(panel, nullptr, left, frame.top, width + by, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return "SetWindowPos";
}

bool BringIn(HWND panel, Side side, const DisplayScale& scale) {
    RestPointerOverPanel(side, PanelWidth(panel));
    PostTrayCallback(panel, WM_LBUTTONDBLCLK);
    const auto shown = ReachesShown(panel, side, PanelWidth(panel), scale, 10s);
    if (!shown) ADD_FAILURE() << "the panel did not come back: " << shown.message();
    return shown;
}

void PostTrayCallback(HWND panel, UINT mouseMessage) {
    constexpr UINT kTrayCallback = 0x8001;
    PostMessageW(panel, kTrayCallback, 0, mouseMessage);
}

void ExpectBlendedBackground(HWND panel, const std::function<COLORREF(int x, int y)>& under, COLORREF colour,
                             int opacity, const char* when) {
    const int cw = ClientWidthOf(panel);
    std::vector<POINT> samples{{2, 150}, {cw / 2, 400}, {cw - 3, 650}, {cw - 1, 300}, {0, 500}};
    for (POINT& p : samples) p = ClientToScreenPoint(panel, p.x, p.y);
    const auto matches = [&] {
        for (const POINT& s : samples)
            if (ScreenPixel(s.x, s.y) != Blend(under(s.x, s.y), colour, opacity)) return false;
        return true;
    };
    if (WaitUntil(matches, 3s)) return;
    for (const POINT& s : samples)
        EXPECT_EQ(Hex(ScreenPixel(s.x, s.y)), Hex(Blend(under(s.x, s.y), colour, opacity)))
            << when << ": screen " << s.x << "," << s.y << ", screen colour " << Hex(under(s.x, s.y))
            << ", panel colour " << Hex(colour) << ", opacity " << opacity;
}

// ---- Menus and hints -------------------------------------------------------------------

HWND OpenContextMenuAt(const PanelProcess& panel, HWND window, POINT clientPoint) {
    // Right after a menu has closed, a press may still land where the
    // pointer was: the move arrives first.
    ClickOn(window, ClientToScreenPoint(window, clientPoint.x, clientPoint.y), /*rightButton=*/true);
    HWND menu = WaitForPopupMenu(panel.Pid());
    if (!menu) ADD_FAILURE() << "no context menu after a right click at " << clientPoint.x << "," << clientPoint.y;
    return menu;
}

HWND OpenTrayMenu(const PanelProcess& panel, HWND window) {
    PostTrayCallback(window, WM_RBUTTONDOWN);
    HWND menu = WaitForPopupMenu(panel.Pid());
    if (!menu) ADD_FAILURE() << "no menu after the tray icon's right-button callback";
    return menu;
}

bool ChooseFromMenu(const PanelProcess& panel, HWND menu, MainMenuEntry entry) {
    if (!menu) return false;
    ChooseMenuEntry(menu, static_cast<int>(entry));
    if (WaitUntil([&] { return FindPopupMenu(panel.Pid()) == nullptr; }, 5s)) return true;
    ADD_FAILURE() << "the context menu stayed open after choosing";
    return false;
}

bool ChooseFromContextMenu(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry) {
    return ChooseFromMenu(panel, OpenContextMenuAt(panel, window, clientPoint), entry);
}

bool ChooseFromTrayMenu(const PanelProcess& panel, HWND window, MainMenuEntry entry) {
    return ChooseFromMenu(panel, OpenTrayMenu(panel, window), entry);
}

HWND OpenItemsMenu(const PanelProcess& panel, HWND window, Side side, const DisplayScale& scale) {
    const RECT button = ClientRectOnScreen(window, MenuButtonRect(window, side, scale));
    const POINT centre = Centre(button);
    MoveWithInput(centre.x, centre.y);
    // The arrows are white inside; the item button under the menu button
    // may put black caption pixels there, but never white ones.
    if (!WaitUntil([&] { return CountPixels(CaptureScreen(), button, IsWhite) >= 10; }, 3s))
        ADD_FAILURE() << "the menu button did not appear";
    ClickOn(window, centre);
    HWND menu = WaitForPopupMenu(panel.Pid());
    if (!menu) ADD_FAILURE() << "no items menu after clicking the menu button";
    return menu;
}

HWND FindHint(const PanelProcess& panel) { return FindTopWindow(panel.Pid(), L"tooltips_class32"); }

std::optional<Hint> HoverHint(const PanelProcess& panel, HWND window, RECT clientRect, Side side) {
    const POINT spot = RestingSpotOverPanel(side, PanelWidth(window));
    MoveWithInput(spot.x, spot.y);
    // The hint of the previous hover must have gone, or its text would be read.
    if (!WaitUntil([&] { return FindHint(panel) == nullptr; }, 5s)) {
        ADD_FAILURE() << "a hint stayed with the pointer off the buttons";
        return std::nullopt;
    }
    const POINT centre = Centre(ClientRectOnScreen(window, clientRect));
    HWND tip = RestPointerUntil(centre, [&] { return FindHint(panel); });
    std::optional<Hint> hint;
    if (tip) {
        // A tip is sized as it shows: its place counts once it has a size.
        WaitUntil([&] {
            const RECT r = WindowRect(tip);
            return r.bottom > r.top && r.right > r.left;
        }, 2s);
        hint = Hint{tip, WindowText(tip), WindowRect(tip)};
    }
    MoveWithInput(spot.x, spot.y);
    return hint;
}

// ---- Test fixture ------------------------------------------------------------------------

void PanelTest::SetUp() {
    DeleteIni();
    scratch_ = std::make_unique<ScratchDir>(CurrentTestName());
    // Away from both screen edges, so no panel slides in by itself.
    MovePointer(ScreenWidth() / 2, ScreenHeight() / 2);
}

bool PanelTest::WriteItems(const std::vector<ShortRecord>& records) const {
    if (WriteFileBytes(ItemsPath(), BuildShortsFile(records).bytes)) return true;
    ADD_FAILURE() << "cannot write " << Narrow(ItemsPath());
    return false;
}

std::vector<std::string> PanelTest::SavedCaptions() const {
    std::vector<std::string> captions;
    for (const auto& item : SavedItems()) captions.push_back(item.caption);
    return captions;
}

HWND PanelTest::StartPanel(const PanelStart& start) {
    window_ = nullptr;
    panel_.reset();  // a run still going ends before the next starts
    if (start.dpi) RunAtDpi(*start.dpi);
    if (start.items && !WriteItems(*start.items)) return nullptr;
    if (!start.settings.empty()) WriteSettings(start.settings);
    const int outer = scale_.S(start.width);
    if (start.pointer) {
        MovePointer(start.pointer->x, start.pointer->y);
    } else if (start.expect == PanelState::Shown) {
        RestPointerOverPanel(start.side, outer);
    } else if (start.expect == PanelState::Hidden) {
        MovePointerAway();
    }
    const std::wstring folder = start.programFolder.empty() ? scratch_->Path() : start.programFolder;
    panel_ = std::make_unique<PanelProcess>(JoinPath(folder, L"tilerack.exe"),
                                            start.workingFolder.empty() ? folder : start.workingFolder);
    return window_ = WaitForStartedState(start);
}

HWND PanelTest::WaitForStartedState(const PanelStart& start) {
    if (start.expect == PanelState::Started) return nullptr;
    HWND window = panel_->WaitForWindow(start.windowTimeout);
    if (!window) {
        ADD_FAILURE() << "no visible panel window";
        return nullptr;
    }
    if (start.expect == PanelState::Visible) return window;
    const int outer = scale_.S(start.width);
    const bool shown = start.expect == PanelState::Shown;
    const int left = shown ? start.shownLeft.value_or(ShownLeft(start.side, outer, scale_))
                           : HiddenLeft(start.side, outer, scale_);
    if (const auto there = ReachesLeft(window, left, shown ? 5s : 10s); !there) {
        ADD_FAILURE() << (shown ? "not at the shown place: " : "the panel did not slide out: ") << there.message();
        window = nullptr;
    } else if (shown && !WaitForCloseCross(window, start.side, scale_)) {
        ADD_FAILURE() << "no close cross at the top corner";
        window = nullptr;
    }
    if (!window) SaveScreenshotPng(CurrentTestName() + (shown ? L".not-shown" : L".not-hidden"));
    return window;
}

void PanelTest::RunAtDpi(int dpi) {
    displayScale_ = std::make_unique<DisplayScaleSetting>(dpi);
    scale_ = DisplayScale{dpi};
}

std::vector<ShortRecord> PanelTest::CloseAndReadItems() {
    EXPECT_TRUE(panel_->Close()) << "the panel did not end";
    return SavedItems();
}

std::string SideName(const ::testing::TestParamInfo<Side>& info) { return info.param == Side::Left ? "Left" : "Right"; }

}  // namespace e2e
