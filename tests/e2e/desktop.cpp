#include "desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <shellapi.h>

#include <gtest/gtest.h>

#include "test_files.h"

namespace e2e {
namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::wstring*>(context);
    const std::wstring piece = _wcsicmp(WindowClass(child).c_str(), L"static") == 0 ? WindowText(child) : L"";
    for (size_t i = 0; i < piece.size(); ++i) {
        if (i == 0 && !text->empty()) *text += L'\n';
        if (piece[i] == L'\r' && i + 1 < piece.size() && piece[i + 1] == L'\n') continue;
        *text += piece[i] == L'\r' ? L'\n' : piece[i];
    }
    return TRUE;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// A key press and release; `unicode` types the character itself.
void SendKeyPress(WORD virtualKey, wchar_t unicode = 0) {
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = unicode ? 0 : virtualKey;
    keys[0].ki.wScan = unicode;
    keys[0].ki.dwFlags = unicode ? KEYEVENTF_UNICODE : 0;
    keys[1] = keys[0];
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return predicate();
        std::this_thread::sleep_for(30ms);
    }
}

std::wstring WindowClass(HWND window) {
    wchar_t buffer[256];
    const int length = GetClassNameW(window, buffer, 256);
    return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring WindowText(HWND window) {
    // GetWindowText does not read the controls of another process; WM_GETTEXT
    // does, and the timeout keeps a hung program under test from hanging the tests.
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &copied);
    return std::wstring(buffer, std::min<size_t>(copied, 4095));
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

RECT ClientRectOnScreen(HWND window, RECT rect) {
    const POINT topLeft = ClientToScreenPoint(window, rect.left, rect.top);
    OffsetRect(&rect, topLeft.x - rect.left, topLeft.y - rect.top);
    return rect;
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

bool Responds(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    return IsWindow(window) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                   static_cast<UINT>(timeout.count()), &result) != 0;
}

bool WaitUntilGone(HWND window, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

HWND FindTopWindow(DWORD pid, const std::wstring& className) {
    struct Search {
        DWORD pid;
        const std::wstring& className;
        HWND found = nullptr;
    } search{pid, className};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->pid || !IsWindowVisible(window) ||
                _wcsicmp(WindowClass(window).c_str(), s->className.c_str()) != 0)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& className, std::chrono::milliseconds timeout) {
    return WaitFor([&] { return FindTopWindow(pid, className); }, timeout);
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
    HWND box = FindTopWindow(pid, L"#32770");
    if (!box) return std::nullopt;
    MessageBoxInfo info{box, WindowText(box), {}};
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&info.text));
    return info;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    return WaitFor([&] { return FindMessageBox(pid); }, timeout);
}

void DismissMessageBox(HWND box, int id) {
    if (id == 0) id = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

bool AnswerMessageBox(DWORD pid, HWND box, int id) {
    DismissMessageBox(box, id);
    return WaitUntil([&] { return !FindMessageBox(pid); }, 5s);
}

HWND FindPopupMenu(DWORD pid) { return FindTopWindow(pid, L"#32768"); }

HWND WaitForPopupMenu(DWORD pid, std::chrono::milliseconds timeout) {
    return WaitFor([&] { return FindPopupMenu(pid); }, timeout);
}

void PostKeyToMenu(HWND menu, WORD virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(menu, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(menu, WM_KEYUP, virtualKey, scan | 1 | (1LL << 30) | (1LL << 31));
}

namespace {

// A menu opens with its corner under the pointer, and Wine hands it a move
// when its window maps there, now and then late: a move onto the menu's
// border takes the highlight away, and Enter then chooses nothing. So the
// pointer steps just off the menu, onto what was under it, and the late move
// is given time to arrive before the keys.
void StepOffMenu(HWND menu) {
    const RECT r = WindowRect(menu);
    const POINT at = PointerPosition();
    if (at.x >= r.left - 1 && at.x <= r.right && at.y >= r.top - 1 && at.y <= r.bottom) {
        const bool leftRoom = r.left >= 3;
        MoveWithInput(leftRoom ? r.left - 3 : r.right + 2, at.y);
    }
    std::this_thread::sleep_for(150ms);
}

}  // namespace

void ChooseMenuEntry(HWND menu, int index) {
    StepOffMenu(menu);
    PostKeyToMenu(menu, index < 0 ? VK_END : VK_HOME);
    for (int i = 0; i < (index < 0 ? -index - 1 : index); ++i) PostKeyToMenu(menu, index < 0 ? VK_UP : VK_DOWN);
    PostKeyToMenu(menu, VK_RETURN);
}

bool CloseMenuWithEscape(DWORD pid) {
    // A real key press reaches the menu when its owner has the foreground;
    // the key posted into the menu's own queue is the fallback when it has not.
    PressKey(VK_ESCAPE);
    if (WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 2s)) return true;
    if (HWND menu = FindPopupMenu(pid)) PostKeyToMenu(menu, VK_ESCAPE);
    return WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 5s);
}

bool ShellHasTrayIcon(HWND owner, UINT id) {
    // A change of nothing, which the shell takes only for an icon it holds.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// ---- Display scale ---------------------------------------------------------------

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

std::optional<DWORD> ReadLogPixels() {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool WriteLogPixels(std::optional<DWORD> value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LSTATUS status = ERROR_SUCCESS;
    if (value) {
        status = RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD));
    } else {
        status = RegDeleteValueW(key, kLogPixels);
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace

std::string BecomeDpiAware() {
    // Looked up at run time: older systems lack the newer calls.
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto function = [user32](const char* name) { return reinterpret_cast<void*>(GetProcAddress(user32, name)); };
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using GetContextFn = HANDLE(WINAPI*)();
    using AwarenessFn = int(WINAPI*)(HANDLE);
    using SetAwareFn = BOOL(WINAPI*)();
    const auto setContext = reinterpret_cast<SetContextFn>(function("SetProcessDpiAwarenessContext"));
    const auto getContext = reinterpret_cast<GetContextFn>(function("GetThreadDpiAwarenessContext"));
    const auto awarenessOf = reinterpret_cast<AwarenessFn>(function("GetAwarenessFromDpiAwarenessContext"));
    const auto setAware = reinterpret_cast<SetAwareFn>(function("SetProcessDPIAware"));
    // 0 unaware, 1 aware of the system's scale, 2 of each screen's.
    const auto awareness = [&] { return getContext && awarenessOf ? awarenessOf(getContext()) : -1; };
    const int before = awareness();
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE
    // (Wine 8 knows only the latter, and makes a program without a
    // manifest aware of each screen's scale from the start).
    bool set = false;
    for (const INT_PTR context : {-4, -3})
        if (!set && setContext) set = setContext(reinterpret_cast<HANDLE>(context));
    if (!set && before < 1 && setAware) set = setAware();
    const int after = awareness();
    const char* names[] = {"unaware", "aware of the system's scale", "aware of each screen's scale"};
    std::string text = after >= 0 && after <= 2 ? names[after] : "awareness unknown";
    return text + (set ? "" : " (as it started)");
}

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int WineMajorVersion() {
    using VersionFn = const char*(CDECL*)();
    const auto version = reinterpret_cast<VersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return version ? std::atoi(version()) : 0;
}

bool ScaleChangesWithinASession() { return WineMajorVersion() > 0 && WineMajorVersion() < 10; }

DisplayScaleSetting::DisplayScaleSetting(int dpi) : previous_(ReadLogPixels()) {
    if (SystemDpi() == dpi) return;  // the session's own
    written_ = true;
    if (!ScaleChangesWithinASession())
        ADD_FAILURE() << "the session runs at " << SystemDpi() << " DPI, not " << dpi
                      << ", and this system reads the scale once per session: run-e2e.sh runs the scenarios "
                         "it lists for a scale (tests/e2e/scale-passes.sh) in a session of their own";
    else if (!WriteLogPixels(static_cast<DWORD>(dpi)))
        ADD_FAILURE() << "cannot set LogPixels to " << dpi;
}

DisplayScaleSetting::~DisplayScaleSetting() {
    if (written_ && !WriteLogPixels(previous_)) ADD_FAILURE() << "cannot put LogPixels back";
}

void ForgetLeftoverDisplayScale() {
    if (!EnvironmentValue(L"E2E_SESSION_DPI").empty()) return;  // the scale this session was started at
    if (ReadLogPixels() && !WriteLogPixels(std::nullopt)) std::printf("cannot remove a leftover LogPixels\n");
}

// ---- Real input ---------------------------------------------------------------------

void MovePointer(int x, int y) { SetCursorPos(x, y); }

void MoveWithInput(int x, int y) {
    SetCursorPos(x, y);
    // A move of nothing makes the system report the pointer where it now is
    // to the window under it.
    SendMouse(MOUSEEVENTF_MOVE);
}

POINT PointerPosition() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

HWND RestPointerUntil(POINT at, const std::function<HWND()>& appears, std::chrono::milliseconds timeout) {
    MoveWithInput(at.x, at.y);
    if (HWND found = WaitFor(appears, 3s)) return found;
    std::printf("  nothing 3 s after the move to %ld,%ld: the pointer stirs a pixel\n", at.x, at.y);
    MoveWithInput(at.x + 1, at.y);
    return WaitFor(appears, timeout);
}

void ClickAt(int x, int y, bool rightButton) {
    MovePointer(x, y);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void ClickAt(POINT at, bool rightButton) { ClickAt(at.x, at.y, rightButton); }

bool PointAt(HWND window, POINT at, std::chrono::milliseconds timeout) {
    MoveWithInput(at.x, at.y);
    HWND over = nullptr;
    const bool there = WaitUntil(
        [&] {
            const POINT p = PointerPosition();
            over = GetAncestor(WindowFromPoint(at), GA_ROOT);
            return p.x == at.x && p.y == at.y && over == GetAncestor(window, GA_ROOT);
        },
        timeout);
    if (!there)
        ADD_FAILURE() << "at " << at.x << "," << at.y << " the pointer is over a window of class "
                      << Narrow(WindowClass(over)) << ", not over " << Narrow(WindowClass(window));
    return there;
}

bool ClickOn(HWND window, POINT at, bool rightButton) {
    if (!PointAt(window, at)) return false;
    ClickAt(at, rightButton);
    return true;
}

void DoubleClickAt(int x, int y) {
    ClickAt(x, y);
    ClickAt(x, y);
}

bool DoubleClickOn(HWND window, POINT at) {
    if (!PointAt(window, at)) return false;
    DoubleClickAt(at.x, at.y);
    return true;
}

void DragWithLeftButton(POINT from, POINT to) {
    MoveWithInput(from.x, from.y);
    Sleep(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        MoveWithInput(from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps);
        Sleep(40);
    }
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void PressKey(WORD virtualKey) { SendKeyPress(virtualKey); }

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c == L'\n') {
            PressKey(VK_RETURN);
        } else if (c != L'\r') {
            SendKeyPress(0, c);
        }
    }
}

}  // namespace e2e
