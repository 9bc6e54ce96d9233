// Black-box driving of the real tilerack.exe from a Windows test program:
// scratch folders, the settings file, the panel process, its windows, input,
// and polling with deadlines. Everything here observes the program only
// through windows, messages, files and pixels.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Where the program under test, the probe and the output folders are; taken
// from TILERACK_EXE, PROBE_EXE, E2E_SCRATCH and E2E_SCREENSHOTS, falling back
// to the folder of the test program.
struct Config {
    std::wstring tilerackExe;
    std::wstring probeExe;
    std::wstring scratchRoot;
    std::wstring screenshotDir;
};
const Config& GetConfig();
void LoadConfig();

// ---- Files ----------------------------------------------------------------

std::optional<Bytes> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);
bool FileExists(const std::wstring& path);
// Plain file names (no folders) directly inside `folder`.
std::vector<std::wstring> ListFiles(const std::wstring& folder);
bool DeleteTree(const std::wstring& folder);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// A fresh folder for one test with tilerack.exe copied in, so the program's
// item file lands there and nowhere else.
class ScratchDir {
public:
    explicit ScratchDir(const std::wstring& name);
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return JoinPath(path_, name); }
    std::wstring ExePath() const { return File(L"tilerack.exe"); }
    // Copies the probe program in under `name` and returns its full path.
    std::wstring AddProbe(const std::wstring& name = L"probe.exe") const;
    // A sub-folder, created when missing.
    std::wstring SubFolder(const std::wstring& name) const;

private:
    std::wstring path_;
};

// What the probe program wrote into probe-record.txt in `folder`: one
// record per start, oldest first.
struct ProbeRecord {
    std::wstring commandLine;
    std::wstring currentFolder;
};
std::vector<ProbeRecord> ReadProbeRecords(const std::wstring& folder);

// Name of the running test, usable as a file name ("Suite.Test").
std::wstring CurrentTestName();

// ---- Settings file in the Windows folder ----------------------------------

std::wstring IniPath();
void DeleteIni();
// Writes the settings file verbatim (ASCII text, "\r\n" added per line).
bool WriteIni(const std::vector<std::string>& lines);

// Section and key names are compared without regard to case, as Windows does.
struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};
using IniSection = std::map<std::wstring, std::wstring, NoCaseLess>;
using IniFile = std::map<std::wstring, IniSection, NoCaseLess>;
// Parses the settings file as Windows would (ANSI, UTF-8 or UTF-16 with BOM).
std::optional<IniFile> ReadIni();

// ---- Waiting ----------------------------------------------------------------

// Polls `predicate` until it holds or `timeout` passes; true when it held.
bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout = 10s);

// ---- Windows ------------------------------------------------------------------

std::wstring WindowClass(HWND window);
std::wstring WindowText(HWND window);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
// Visible and invisible top-level windows of `pid` with the given class.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className);
// True when the window exists and its thread handles a sent message in time.
bool Responds(HWND window, std::chrono::milliseconds timeout = 5s);

HWND FindPanelWindow(DWORD pid);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};
// A visible message box (#32770 dialog) of `pid`, with its caption and the
// text of its static controls.
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
// Presses the box's OK (or first) button.
void DismissMessageBox(HWND box);

HWND FindPopupMenu(DWORD pid);
// Closes an open popup menu of `pid` with the Escape key; true when it closed.
bool CloseMenuWithEscape(DWORD pid);

// The panel's tray icon callback: the message and the mouse messages it carries.
constexpr UINT kTrayCallback = 0x8001;
void PostTrayCallback(HWND panel, UINT mouseMessage);

// ---- Real input ------------------------------------------------------------------

void MovePointer(int x, int y);
POINT PointerPosition();
void ClickAt(int x, int y, bool rightButton = false);
void PressKey(WORD virtualKey);

// ---- The program under test ----------------------------------------------------

// Owns one run of tilerack.exe. The destructor closes it gracefully (WM_CLOSE)
// and terminates it by its handle only if it does not end in time; it never
// touches any other process.
class PanelProcess {
public:
    // Starts the copy of the program in `dir`; the working folder is `dir`
    // unless `workingFolder` names another one.
    explicit PanelProcess(const ScratchDir& dir, const std::wstring& workingFolder = {});
    ~PanelProcess();
    PanelProcess(const PanelProcess&) = delete;
    PanelProcess& operator=(const PanelProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    bool Running() const;
    // The panel window once it exists and is visible, or nullptr after `timeout`.
    HWND WaitForWindow(std::chrono::milliseconds timeout = 20s) const;
    // Posts WM_CLOSE to the panel and waits for the process to end by itself.
    bool Close(std::chrono::milliseconds timeout = 20s);
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    std::optional<DWORD> ExitCode() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Test base: fresh scratch folder, no settings file, pointer parked.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<ScratchDir> scratch_;
};

std::string Narrow(const std::wstring& text);  // UTF-8, for messages
std::string Hex(std::uint32_t value);

}  // namespace e2e
