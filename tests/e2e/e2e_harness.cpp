#include "e2e_harness.h"

#include <shlobj.h>

#include <algorithm>
#include <thread>

#include "items/shortcut_file.h"
#include "screen_capture.h"

namespace e2e {
namespace {

bool CreateFolders(const std::wstring& folder) {
    const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS;
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = JoinPath(folder, name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className) {
    struct Search {
        DWORD pid;
        const std::wstring& className;
        std::vector<HWND> found;
    } search{pid, className, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->pid && WindowClass(window) == search->className) search->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindVisibleWindow(DWORD pid, const std::wstring& className) {
    for (HWND window : TopLevelWindows(pid, className))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

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

}  // namespace

const Config& GetConfig() {
    static const Config config = [] {
        const std::wstring here = tilerack::win::ExeFolder();
        const Config found{EnvironmentValue(L"TILERACK_EXE", JoinPath(here, L"tilerack.exe")),
                           EnvironmentValue(L"PROBE_EXE", JoinPath(here, L"probe.exe")),
                           EnvironmentValue(L"E2E_SCRATCH", JoinPath(here, L"e2e\\scratch")),
                           EnvironmentValue(L"E2E_SCREENSHOTS", JoinPath(here, L"e2e\\screenshots"))};
        CreateFolders(found.scratchRoot);
        CreateFolders(found.screenshotDir);
        return found;
    }();
    return config;
}

std::wstring EnvironmentValue(const wchar_t* name, const std::wstring& fallback) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : fallback;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    return (last == L'\\' || last == L'/') ? folder + name : folder + L"\\" + name;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && (bytes.empty() || written == bytes.size());
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool SamePath(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b}) {
        std::replace(s->begin(), s->end(), L'/', L'\\');
        if (!s->empty()) CharLowerBuffW(s->data(), static_cast<DWORD>(s->size()));
        while (s->size() > 3 && s->back() == L'\\') s->pop_back();
    }
    return a == b;
}

ScratchDir::ScratchDir(const std::wstring& name) : ScratchDir(GetConfig().scratchRoot, name) {}

ScratchDir::ScratchDir(const std::wstring& root, const std::wstring& name) : path_(JoinPath(root, name)) {
    DeleteTree(path_);
    if (!CreateFolders(path_)) ADD_FAILURE() << "cannot create scratch folder " << Narrow(path_);
    if (!CopyFileW(GetConfig().tilerackExe.c_str(), ExePath().c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(GetConfig().tilerackExe) << " into " << Narrow(path_);
}

std::wstring ScratchDir::AddProbe(const std::wstring& name) const {
    const std::wstring target = File(name);
    if (!CopyFileW(GetConfig().probeExe.c_str(), target.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(GetConfig().probeExe) << " to " << Narrow(target);
    return target;
}

std::wstring ScratchDir::SubFolder(const std::wstring& name) const {
    const std::wstring folder = File(name);
    CreateFolders(folder);
    return folder;
}

std::vector<ProbeRecord> ReadProbeRecords(const std::wstring& folder) {
    const auto bytes = ReadWholeFile(JoinPath(folder, L"probe-record.txt"));
    const std::wstring text = bytes ? FromUtf8(std::string(bytes->begin(), bytes->end())) : std::wstring{};
    // Only lines whose "\r\n" has been written count: a probe may be writing.
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    std::vector<ProbeRecord> records;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) records.push_back({lines[i], lines[i + 1]});
    return records;
}

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        at = std::min(commandLine.find(L' '), commandLine.size());
    }
    while (at < commandLine.size() && commandLine[at] == L' ') ++at;
    return commandLine.substr(at);
}

std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return L"outside-test";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring wide;
    for (char c : name) wide += (c == '/' || c == '\\' || c == ':') ? L'_' : static_cast<wchar_t>(c);
    return wide;
}

std::wstring IniPath() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return JoinPath(std::wstring(folder, length), L"tilerack.INI");
}

void DeleteIni() {
    const std::wstring path = IniPath();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    if (FileExists(path)) ADD_FAILURE() << "cannot delete " << Narrow(path);
}

void WriteSettings(const std::vector<std::string>& keys) {
    std::string text = "[Keelstrip]\r\n";
    for (const auto& key : keys) text += key + "\r\n";
    if (!WriteFileBytes(IniPath(), Bytes(text.begin(), text.end())))
        ADD_FAILURE() << "cannot write " << Narrow(IniPath());
}

bool SettingsSaved() {
    wchar_t names[16];
    return GetPrivateProfileStringW(L"Keelstrip", nullptr, L"", names, 16, IniPath().c_str()) > 0;
}

std::wstring SavedSetting(const wchar_t* key) {
    wchar_t value[256];
    const DWORD length = GetPrivateProfileStringW(L"Keelstrip", key, L"<missing>", value, 256, IniPath().c_str());
    return std::wstring(value, length);
}

int CountTrayIcons() {
    // Wine on a bare X server shows its tray as a stand-alone window with
    // one child window per icon.
    int count = 0;
    if (HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr)) {
        EnumChildWindows(
            tray,
            [](HWND child, LPARAM data) -> BOOL {
                if (WindowClass(child) == L"__winex11_tray_icon" && IsWindowVisible(child))
                    ++*reinterpret_cast<int*>(data);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

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

bool Responds(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    return IsWindow(window) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                   static_cast<UINT>(timeout.count()), &result) != 0;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
    HWND box = FindVisibleWindow(pid, L"#32770");
    if (!box) return std::nullopt;
    MessageBoxInfo info{box, WindowText(box), {}};
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&info.text));
    return info;
}

void DismissMessageBox(HWND box) {
    HWND button = GetDlgItem(box, IDOK);
    const int id = button ? IDOK : IDCANCEL;
    if (!button) button = GetDlgItem(box, IDCANCEL);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

HWND FindPopupMenu(DWORD pid) { return FindVisibleWindow(pid, L"#32768"); }

void PostKeyToMenu(HWND menu, WORD virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(menu, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(menu, WM_KEYUP, virtualKey, scan | 1 | (1LL << 30) | (1LL << 31));
}

bool CloseMenuWithEscape(DWORD pid) {
    // A real key press reaches the menu when its owner has the foreground;
    // the key posted into the menu's own queue is the fallback when it has not.
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_ESCAPE;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    if (WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 2s)) return true;
    if (HWND menu = FindPopupMenu(pid)) PostKeyToMenu(menu, VK_ESCAPE);
    return WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 5s);
}

void PostTrayCallback(HWND panel, UINT mouseMessage) {
    constexpr UINT kTrayCallback = 0x8001;
    PostMessageW(panel, kTrayCallback, 0, mouseMessage);
}

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

void ClickAt(int x, int y, bool rightButton) {
    MovePointer(x, y);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
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

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int PanelLeft(HWND panel) { return WindowRect(panel).left; }
int PanelTop(HWND panel) { return WindowRect(panel).top; }
int PanelWidth(HWND panel) { return WindowRect(panel).right - WindowRect(panel).left; }
int ClientWidthOf(HWND panel) { return ClientRect(panel).right; }
int ClientHeightOf(HWND panel) { return ClientRect(panel).bottom; }

int ShownLeft(int side, int width) { return side == 0 ? -4 : ScreenWidth() - width + 4; }
int HiddenLeft(int side, int width) { return side == 0 ? -(width + 1) : ScreenWidth() + 3; }

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

RECT HideButtonRect(HWND panel, int side) {
    const int width = std::clamp(ClientWidthOf(panel) - 11, 5, 73);
    const int left = side == 0 ? 0 : 11;
    return RECT{left, 0, left + width, 11};
}

RECT CloseButtonRect(HWND panel, int side) {
    const int left = side == 0 ? ClientWidthOf(panel) - 11 : 0;
    return RECT{left, 0, left + 11, 11};
}

RECT MenuButtonRect(HWND panel, int side) {
    const int left = side == 0 ? ClientWidthOf(panel) - 24 : 0;
    const int top = ClientHeightOf(panel) - 11 - 16;
    return RECT{left, top, left + 24, top + 11};
}

RECT ItemButtonRect(HWND panel, int index) {
    const int top = 12 + 34 * index;
    return RECT{0, top, ClientWidthOf(panel) - 1, top + 34};
}

POINT RestingSpotOverPanel(int side, int panelWidth) {
    const int inset = std::min(20, std::max(panelWidth - 10, 1) / 2);
    return POINT{side == 0 ? inset : ScreenWidth() - 1 - inset, 600};
}

POINT SpotAwayFromPanel() { return POINT{ScreenWidth() / 2 + 88, ScreenHeight() / 2 + 16}; }

PanelProcess::PanelProcess(const ScratchDir& dir, const std::wstring& workingFolder) {
    const std::wstring exe = dir.ExePath();
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring folder = workingFolder.empty() ? dir.Path() : workingFolder;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Now and then a new Wine process dies while Wine itself starts it, before
    // any of the program has run (ERROR_INTERNAL_ERROR): that start is made again.
    int attempts = 0;
    bool started = false;
    DWORD error = 0;
    while (!started && attempts++ < 3) {
        started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                 &startup, &info);
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

bool PanelProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

HWND PanelProcess::WaitForWindow(std::chrono::milliseconds timeout) const {
    HWND panel = nullptr;
    WaitUntil([&] { return (panel = FindVisibleWindow(pid_, L"TMainPanel")) != nullptr || !Running(); }, timeout);
    return panel;
}

bool PanelProcess::Close(std::chrono::milliseconds timeout) {
    if (!Running()) return true;
    for (HWND window : TopLevelWindows(pid_, L"TMainPanel")) PostMessageW(window, WM_CLOSE, 0, 0);
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

HWND StartShown(const PanelProcess& panel, int side, int width) {
    const POINT rest = RestingSpotOverPanel(side, width);
    MovePointer(rest.x, rest.y);
    HWND window = panel.WaitForWindow();
    if (!window) {
        ADD_FAILURE() << "no visible panel window";
    } else if (const auto shown = ReachesLeft(window, ShownLeft(side, width)); !shown) {
        ADD_FAILURE() << "not at the shown place: " << shown.message();
        window = nullptr;
    } else if (!WaitForCloseCross(window, side)) {
        ADD_FAILURE() << "no close cross at the top corner";
        window = nullptr;
    }
    if (!window) SaveScreenshotPng(CurrentTestName() + L".not-shown");
    return window;
}

bool WaitForCloseCross(HWND panel, int side, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            const RECT close = ClientRectOnScreen(panel, CloseButtonRect(panel, side));
            return CountPixels(CaptureScreen(close), RECT{0, 0, 11, 11}, IsBlack) > 0;
        },
        timeout);
}

void PanelTest::SetUp() {
    DeleteIni();
    scratch_ = std::make_unique<ScratchDir>(CurrentTestName());
    // Away from both screen edges, so no panel slides in by itself.
    MovePointer(ScreenWidth() / 2, ScreenHeight() / 2);
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    return utf8;
}

std::string Hex(std::uint32_t value) {
    char buffer[16];
    snprintf(buffer, sizeof(buffer), "0x%08X", static_cast<unsigned>(value));
    return buffer;
}

// ---- Saved items, the context menu, shell drops ------------------------------------

std::vector<std::unique_ptr<tilerack::TShortCut>> ReadSavedItems(const std::wstring& shortsPath) {
    std::vector<std::unique_ptr<tilerack::TShortCut>> items;
    const auto bytes = ReadWholeFile(shortsPath);
    if (!bytes) return items;
    const auto load = tilerack::LoadShortcutList(*bytes, [&](std::unique_ptr<tilerack::TShortCut> item) {
        items.push_back(std::move(item));
    });
    if (load.Damaged()) ADD_FAILURE() << Narrow(shortsPath) << " is damaged: " << load.error;
    return items;
}

HWND OpenContextMenuAt(const PanelProcess& panel, HWND window, POINT clientPoint) {
    const POINT at = ClientToScreenPoint(window, clientPoint.x, clientPoint.y);
    // Right after a menu has closed, a press may still land where the
    // pointer was: let the move arrive first.
    MoveWithInput(at.x, at.y);
    WaitUntil([&] { const POINT p = PointerPosition(); return p.x == at.x && p.y == at.y; }, 2s);
    ClickAt(at.x, at.y, /*rightButton=*/true);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = FindPopupMenu(panel.Pid())) != nullptr; }, 5s))
        ADD_FAILURE() << "no context menu after a right click at " << clientPoint.x << "," << clientPoint.y;
    return menu;
}

void ChooseMenuEntry(HWND menu, int index) {
    PostKeyToMenu(menu, VK_HOME);
    for (int i = 0; i < index; ++i) PostKeyToMenu(menu, VK_DOWN);
    PostKeyToMenu(menu, VK_RETURN);
}

std::string UnixPath(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix) {
        if (char* unix = toUnix(windowsPath.c_str())) {
            std::string path = unix;
            HeapFree(GetProcessHeap(), 0, unix);
            return path;
        }
    }
    ADD_FAILURE() << "no Unix path for " << Narrow(windowsPath) << " (not running under Wine?)";
    return {};
}

namespace {

// Starts a Unix program and returns the one line it writes into
// `answerFile` when it is done, or "error ...". Wine starts a program named
// by its Windows path (Z: is the Unix root) as a plain Unix process: no
// Windows process handle comes back, so the answer file tells when it is done.
std::string RunUnixHelper(std::wstring commandLine, const std::wstring& answerFile, std::chrono::milliseconds timeout) {
    DeleteFileW(answerFile.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return "error cannot start " + Narrow(commandLine) + ", error " + std::to_string(GetLastError());
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);

    std::optional<Bytes> answer;
    const auto complete = [&] {
        answer = ReadWholeFile(answerFile);
        return answer && !answer->empty() && answer->back() == '\n';
    };
    if (!WaitUntil(complete, timeout)) return "error no answer from " + Narrow(commandLine);
    return std::string(answer->begin(), answer->end() - 1);
}

}  // namespace

std::string DragFilesFromX11(const ScratchDir& dir, POINT from, POINT to, const std::vector<std::wstring>& files) {
    const std::wstring script = EnvironmentValue(L"DRAG_SOURCE");
    if (script.empty()) return "error DRAG_SOURCE is not set (run the tests through run-e2e.sh)";
    static int serial = 0;
    const std::wstring request = dir.File(L"drag-request-" + std::to_wstring(++serial) + L".txt");
    std::string text = "from " + std::to_string(from.x) + " " + std::to_string(from.y) + "\nto " +
                       std::to_string(to.x) + " " + std::to_string(to.y) + "\n";
    for (const auto& file : files) text += "file " + UnixPath(file) + "\n";
    if (!WriteFileBytes(request, Bytes(text.begin(), text.end()))) return "error cannot write the request";
    return RunUnixHelper(L"Z:\\usr\\bin\\python3 \"" + script + L"\" \"" + FromUtf8(UnixPath(request)) + L"\"",
                         request + L".done", 40s);
}

std::wstring WindowManager() {
    const std::wstring name = EnvironmentValue(L"E2E_WINDOW_MANAGER");
    return name == L"none" ? std::wstring{} : name;
}

namespace {

// Runs one of the X helper scripts (tests/e2e/x11) with `arguments`; its
// answer file goes into the scratch root.
std::string RunX11Helper(const wchar_t* script, const std::wstring& arguments, std::chrono::milliseconds timeout) {
    const std::wstring folder = EnvironmentValue(L"X11_HELPERS");
    if (folder.empty()) return "error X11_HELPERS is not set (run the tests through run-e2e.sh)";
    static int serial = 0;
    const std::wstring answer =
        JoinPath(GetConfig().scratchRoot, std::wstring(script) + L"-" + std::to_wstring(++serial));
    return RunUnixHelper(L"Z:\\bin\\sh \"" + folder + L"/" + script + L"\" " + arguments + L" \"" +
                             FromUtf8(UnixPath(answer)) + L"\"",
                         answer, timeout);
}

}  // namespace

std::string DragWithXPointer(POINT from, POINT to) {
    return RunX11Helper(L"pointer_drag.sh",
                        std::to_wstring(from.x) + L" " + std::to_wstring(from.y) + L" " + std::to_wstring(to.x) + L" " +
                            std::to_wstring(to.y),
                        20s);
}

std::optional<XWindowPlace> XWindowPlaceOf(HWND window) {
    // Wine keeps the X window of each top-level window in this property.
    const auto id = reinterpret_cast<uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    if (id == 0) return std::nullopt;
    wchar_t hex[32];
    swprintf(hex, 32, L"0x%llx", static_cast<unsigned long long>(id));
    const std::string line = RunX11Helper(L"window_place.sh", hex, 10s);
    XWindowPlace place;
    int width = 0, height = 0;
    char state[16] = {};
    if (sscanf(line.c_str(), "%ld %ld %d %d %15s", &place.rect.left, &place.rect.top, &width, &height, state) != 5)
        return std::nullopt;
    place.rect.right = place.rect.left + width;
    place.rect.bottom = place.rect.top + height;
    place.mapped = std::string(state) == "viewable";
    return place;
}

}  // namespace e2e
