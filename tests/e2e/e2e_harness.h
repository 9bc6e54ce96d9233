// Black-box driving of the real tilerack.exe from a Windows test program:
// scratch folders, the settings file, the panel process, its windows and
// geometry, input, and polling with deadlines. Everything here observes the
// program only through windows, messages, files and pixels.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "items/shortcut.h"
#include "platform/files.h"

namespace e2e {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

inline const std::wstring kAppTitle = L"Ярлыкс";
inline constexpr int kPanelDefaultWidth = 64;
inline constexpr COLORREF kPanelDefaultColour = 0x00F4E0E0;

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
std::wstring EnvironmentValue(const wchar_t* name, const std::wstring& fallback = {});

// ---- Files ----------------------------------------------------------------

using tilerack::win::FileExists;
using tilerack::win::ReadWholeFile;  // nothing when the file does not exist
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);
// Plain file names (no folders) directly inside `folder`.
std::vector<std::wstring> ListFiles(const std::wstring& folder);
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// Compares paths as Windows does: any case, either slash, no trailing slash.
bool SamePath(std::wstring a, std::wstring b);

// A fresh folder for one test with tilerack.exe copied in, so the program's
// item file lands there and nowhere else.
class ScratchDir {
public:
    explicit ScratchDir(const std::wstring& name);
    // The same inside another folder (another disk, say).
    ScratchDir(const std::wstring& root, const std::wstring& name);
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
// complete record per start, oldest first.
struct ProbeRecord {
    std::wstring commandLine;
    std::wstring folder;
};
std::vector<ProbeRecord> ReadProbeRecords(const std::wstring& folder);
// The part of a command line after the program's name and its blanks.
std::wstring ArgumentsOf(const std::wstring& commandLine);

// Name of the running test, usable as a file name ("Suite.Test").
std::wstring CurrentTestName();

// ---- Settings file in the Windows folder ----------------------------------

std::wstring IniPath();
void DeleteIni();
// Writes the settings file with section Keelstrip holding `keys` ("Key=value").
void WriteSettings(const std::vector<std::string>& keys);

// What the settings file holds, read as Windows reads it: whether section
// Keelstrip has any key, and the value of `key` there ("<missing>" without).
bool SettingsSaved();
std::wstring SavedSetting(const wchar_t* key);

// ---- Waiting and windows ----------------------------------------------------

// Polls `predicate` until it holds or `timeout` passes; true when it held.
bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout = 10s);

std::wstring WindowClass(HWND window);
std::wstring WindowText(HWND window);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
// True when the window exists and its thread handles a sent message in time.
bool Responds(HWND window, std::chrono::milliseconds timeout = 5s);

// Icons in Wine's notification area (its tray shows each as a window).
int CountTrayIcons();

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;  // the static controls' texts, lines broken by "\n" alone
};
// A visible message box (#32770 dialog) of `pid`.
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
// Presses the box's OK (or Cancel) button.
void DismissMessageBox(HWND box);

HWND FindPopupMenu(DWORD pid);
// Posts a key press straight into an open popup menu's thread.
void PostKeyToMenu(HWND menu, WORD virtualKey);
// Closes an open popup menu of `pid` with the Escape key; true when it closed.
bool CloseMenuWithEscape(DWORD pid);

// The panel's tray icon callback carrying a mouse message.
void PostTrayCallback(HWND panel, UINT mouseMessage);

// ---- Real input ------------------------------------------------------------------

void MovePointer(int x, int y);
// Moves the pointer with an input event, so the window under it sees the move.
void MoveWithInput(int x, int y);
POINT PointerPosition();
void ClickAt(int x, int y, bool rightButton = false);
// Presses the left button at `from`, moves in small steps to `to`, releases.
void DragWithLeftButton(POINT from, POINT to);

// ---- Geometry of the docked panel --------------------------------------------

int ScreenWidth();
int ScreenHeight();
int PanelLeft(HWND panel);
int PanelTop(HWND panel);
int PanelWidth(HWND panel);
int ClientWidthOf(HWND panel);
int ClientHeightOf(HWND panel);
// Left of the outer frame at the shown and the hidden place of a side.
int ShownLeft(int side, int width = kPanelDefaultWidth);
int HiddenLeft(int side, int width = kPanelDefaultWidth);
POINT ClientToScreenPoint(HWND window, int x, int y);
RECT ClientRectOnScreen(HWND window, RECT clientRect);
POINT Centre(const RECT& rect);

// Client rectangles of the strip's fixed buttons and of item `index`'s button.
RECT HideButtonRect(HWND panel, int side);
RECT CloseButtonRect(HWND panel, int side);
RECT MenuButtonRect(HWND panel, int side);
RECT ItemButtonRect(HWND panel, int index);

// A spot over the panel, below any item of a short strip and away from the
// fixed buttons, where a shown panel stays shown.
POINT RestingSpotOverPanel(int side, int panelWidth = kPanelDefaultWidth);
// Far from both edges: a shown panel slides out, a hidden one stays hidden.
POINT SpotAwayFromPanel();

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

// Success once the panel's frame stands at `left` (within `timeout`), and
// under a window manager the screen shows it there too; with where it stands
// instead when it does not.
::testing::AssertionResult ReachesLeft(HWND panel, int left, std::chrono::milliseconds timeout = 5s);
// With the pointer resting over the panel's place on `side`: the panel
// window once it stands at its shown place with its strip drawn (the close
// cross shows), or nullptr after a failure was recorded.
HWND StartShown(const PanelProcess& panel, int side = 0, int width = kPanelDefaultWidth);
// Waits until the panel has painted its close cross (black on the blended
// background): the strip is drawn and its buttons are where they should be.
bool WaitForCloseCross(HWND panel, int side, std::chrono::milliseconds timeout = 3s);

// Test base: fresh scratch folder, no settings file, pointer parked.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<ScratchDir> scratch_;
};

std::string Narrow(const std::wstring& text);  // UTF-8, for messages
std::string Hex(std::uint32_t value);

// ---- Saved items, the context menu, shell drops ------------------------------------

// The items of an item file as the program itself reads them (nothing when
// the file is missing or damaged, with a failure recorded for the damage).
std::vector<std::unique_ptr<tilerack::TShortCut>> ReadSavedItems(const std::wstring& shortsPath);

// Right-clicks the panel at a client point and returns the context menu it opens.
HWND OpenContextMenuAt(const PanelProcess& panel, HWND window, POINT clientPoint);
// Chooses entry `index` of an open menu (separators do not count) by the keyboard.
void ChooseMenuEntry(HWND menu, int index);

// The Unix path of a Windows path (Wine's file name mapping).
std::string UnixPath(const std::wstring& windowsPath);

// Drags `files` with the X server's own pointer from a GTK drag source shown
// around `from` (a Linux process, see tests/e2e/drag/drag_source.py) and
// releases them at `to`, so the program gets them through Wine's XDND
// support. Returns the source's verdict: "ended accepted", "ended refused
// ..." or "error ...".
std::string DragFilesFromX11(const ScratchDir& dir, POINT from, POINT to, const std::vector<std::wstring>& files);

// The window manager of the test display ("openbox"), or nothing on a bare
// X server (E2E_WINDOW_MANAGER, set by run-e2e.sh).
std::wstring WindowManager();
// Presses the left button at `from`, moves in small steps to `to` and
// releases, with the X server's own pointer (tests/e2e/x11/pointer_drag.sh):
// a window manager's frame drag follows it as it follows a user's mouse,
// which input sent through Windows never reaches. Returns "ended" or
// "error ...".
std::string DragWithXPointer(POINT from, POINT to);
// Where the X server shows a top-level window (tests/e2e/x11/window_place.sh):
// its outer rectangle, and whether it is mapped; nothing when it cannot tell.
struct XWindowPlace {
    RECT rect{};
    bool mapped = false;
};
std::optional<XWindowPlace> XWindowPlaceOf(HWND window);

}  // namespace e2e
