#include "e2e_harness.h"

#include <cwctype>
#include <thread>

namespace e2e {
namespace {

Config g_config;

std::wstring EnvOr(const wchar_t* name, const std::wstring& fallback) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    if (length == 0 || length >= 32768) return fallback;
    return std::wstring(buffer, length);
}

std::wstring ModuleFolder() {
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/"));
}

bool CreateFolders(const std::wstring& folder) {
    if (folder.empty()) return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 2) CreateFolders(folder.substr(0, slash));
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    const size_t last = text.find_last_not_of(L" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::wstring DecodeIniText(const Bytes& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
        return text;
    }
    UINT codePage = CP_ACP;
    size_t skip = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        codePage = CP_UTF8;
        skip = 3;
    }
    if (bytes.size() == skip) return {};
    const char* data = reinterpret_cast<const char*>(bytes.data()) + skip;
    const int length = static_cast<int>(bytes.size() - skip);
    const int size = MultiByteToWideChar(codePage, 0, data, length, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, data, length, text.data(), size);
    return text;
}

struct WindowSearch {
    DWORD pid;
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && WindowClass(window) == search->className) search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::wstring*>(context);
    std::wstring cls = WindowClass(child);
    for (auto& c : cls) c = static_cast<wchar_t>(std::towlower(c));
    if (cls == L"static") {
        const std::wstring piece = WindowText(child);
        if (!piece.empty()) {
            if (!text->empty()) *text += L"\n";
            *text += piece;
        }
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

// ---- Configuration --------------------------------------------------------------

const Config& GetConfig() { return g_config; }

void LoadConfig() {
    const std::wstring here = ModuleFolder();
    g_config.tilerackExe = EnvOr(L"TILERACK_EXE", JoinPath(here, L"tilerack.exe"));
    g_config.probeExe = EnvOr(L"PROBE_EXE", JoinPath(here, L"probe.exe"));
    g_config.scratchRoot = EnvOr(L"E2E_SCRATCH", JoinPath(here, L"e2e\\scratch"));
    g_config.screenshotDir = EnvOr(L"E2E_SCREENSHOTS", JoinPath(here, L"e2e\\screenshots"));
    CreateFolders(g_config.scratchRoot);
    CreateFolders(g_config.screenshotDir);
}

// ---- Files --------------------------------------------------------------------

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    return (last == L'\\' || last == L'/') ? folder + name : folder + L"\\" + name;
}

std::optional<Bytes> ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    Bytes bytes;
    std::uint8_t buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
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

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

bool DeleteTree(const std::wstring& folder) {
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
    return RemoveDirectoryW(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

ScratchDir::ScratchDir(const std::wstring& name) : path_(JoinPath(GetConfig().scratchRoot, name)) {
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
    std::vector<ProbeRecord> records;
    const auto bytes = ReadFileBytes(JoinPath(folder, L"probe-record.txt"));
    if (!bytes || bytes->empty()) return records;
    const std::string utf8(bytes->begin(), bytes->end());
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find("\r\n", start);
        if (end == std::string::npos) end = utf8.size();
        const std::string line = utf8.substr(start, end - start);
        const int size = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), size);
        lines.push_back(wide);
        start = end + 2;
    }
    for (size_t i = 0; i + 1 < lines.size(); i += 2) records.push_back({lines[i], lines[i + 1]});
    return records;
}

std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return L"outside-test";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring wide;
    for (char c : name) wide += (c == '/' || c == '\\' || c == ':') ? L'_' : static_cast<wchar_t>(c);
    return wide;
}

// ---- Settings file ---------------------------------------------------------------

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

bool WriteIni(const std::vector<std::string>& lines) {
    Bytes bytes;
    for (const auto& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return WriteFileBytes(IniPath(), bytes);
}

bool NoCaseLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

std::optional<IniFile> ReadIni() {
    const auto bytes = ReadFileBytes(IniPath());
    if (!bytes) return std::nullopt;
    IniFile ini;
    IniSection* section = nullptr;
    const std::wstring text = DecodeIniText(*bytes);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[') {
            const size_t close = line.find(L']');
            section = &ini[Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1))];
        } else if (section) {
            const size_t equals = line.find(L'=');
            if (equals == std::wstring::npos) continue;
            (*section)[Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
        }
    }
    return ini;
}

// ---- Waiting ------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return predicate();
        std::this_thread::sleep_for(30ms);
    }
}

// ---- Windows --------------------------------------------------------------------

std::wstring WindowClass(HWND window) {
    wchar_t buffer[256];
    const int length = GetClassNameW(window, buffer, 256);
    return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes for any window class; the timeout
    // keeps a hung program under test from hanging the tests too.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) || length == 0) {
        wchar_t buffer[1024];
        const int stored = GetWindowTextW(window, buffer, 1024);
        return std::wstring(buffer, stored > 0 ? stored : 0);
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(static_cast<size_t>(copied));
    return text;
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

std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className) {
    WindowSearch search{pid, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Responds(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    return IsWindow(window) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                   static_cast<UINT>(timeout.count()), &result) != 0;
}

HWND FindPanelWindow(DWORD pid) {
    const auto windows = TopLevelWindows(pid, L"TMainPanel");
    for (HWND window : windows)
        if (IsWindowVisible(window)) return window;
    return windows.empty() ? nullptr : windows.front();
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
    for (HWND box : TopLevelWindows(pid, L"#32770")) {
        if (!IsWindowVisible(box)) continue;
        MessageBoxInfo info;
        info.window = box;
        info.caption = WindowText(box);
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&info.text));
        return info;
    }
    return std::nullopt;
}

void DismissMessageBox(HWND box) {
    HWND button = GetDlgItem(box, IDOK);
    const int id = button ? IDOK : IDCANCEL;
    if (!button) button = GetDlgItem(box, IDCANCEL);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

HWND FindPopupMenu(DWORD pid) {
    for (HWND menu : TopLevelWindows(pid, L"#32768"))
        if (IsWindowVisible(menu)) return menu;
    return nullptr;
}

bool CloseMenuWithEscape(DWORD pid) {
    // A real key press reaches the menu when its owner has the foreground;
    // the key posted into the menu's own queue is the fallback when it has not.
    PressKey(VK_ESCAPE);
    if (WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 2s)) return true;
    if (HWND menu = FindPopupMenu(pid)) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    }
    return WaitUntil([&] { return FindPopupMenu(pid) == nullptr; }, 5s);
}

void PostTrayCallback(HWND panel, UINT mouseMessage) { PostMessageW(panel, kTrayCallback, 0, mouseMessage); }

// ---- Input ----------------------------------------------------------------------

void MovePointer(int x, int y) { SetCursorPos(x, y); }

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

void PressKey(WORD virtualKey) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// ---- The program under test ---------------------------------------------------

PanelProcess::PanelProcess(const ScratchDir& dir, const std::wstring& workingFolder) {
    const std::wstring exe = dir.ExePath();
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring folder = workingFolder.empty() ? dir.Path() : workingFolder;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        ADD_FAILURE() << "cannot start " << Narrow(exe) << ", error " << GetLastError();
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
    WaitUntil(
        [&] {
            panel = FindPanelWindow(pid_);
            return (panel && IsWindowVisible(panel)) || !Running();
        },
        timeout);
    return panel && IsWindowVisible(panel) ? panel : nullptr;
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

// ---- Fixture --------------------------------------------------------------------

void PanelTest::SetUp() {
    DeleteIni();
    scratch_ = std::make_unique<ScratchDir>(CurrentTestName());
    // Away from both screen edges, so no panel slides in by itself.
    MovePointer(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

// ---- Text --------------------------------------------------------------------------

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

}  // namespace e2e
