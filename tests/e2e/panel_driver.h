// The running tilerack.exe driven from outside: its process, the docked
// panel's geometry and places, its strip, menus and hints, and the test
// fixture that starts it. Every wait here waits for the state it means, so
// the program's own timers (the pointer watch, the button reveal, the
// tooltips) cannot change a state between its check and its use.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop.h"
#include "shorts_file_builder.h"
#include "test_files.h"

namespace e2e {

inline const std::wstring kAppTitle = L"Ярлыкс";
inline constexpr int kPanelDefaultWidth = 64;
inline constexpr COLORREF kPanelDefaultColour = 0x00F4E0E0;

// The screen edge the panel docks at; its settings key holds 0 or 1.
enum class Side { Left, Right };
// "Side=0" or "Side=1", as the settings file holds it.
std::string SideSetting(Side side);

// ---- Geometry of the docked panel --------------------------------------------

// The display scale a panel runs at: its sizes are sizes of a 96-DPI screen
// scaled to the screen's real pixels. The default is 96 DPI, where every
// size is the designed one.
struct DisplayScale {
    int dpi = 96;
    // A 96-DPI size in real pixels, halves rounded away from zero.
    int S(int designed) const { return (designed * dpi + (designed < 0 ? -48 : 48)) / 96; }
    // The border the system gives the panel's frame (a thin-border,
    // sizeable tool window) at this scale; the docked frame stands that far
    // past the screen edge.
    int FrameBorder() const;
};

int ScreenWidth();
int ScreenHeight();
int PanelLeft(HWND panel);
int PanelTop(HWND panel);
int PanelWidth(HWND panel);
int ClientWidthOf(HWND panel);
int ClientHeightOf(HWND panel);
// Left of the outer frame at the shown and the hidden place of a side, for
// a frame `width` real pixels wide.
int ShownLeft(Side side, int width = kPanelDefaultWidth, const DisplayScale& scale = {});
int HiddenLeft(Side side, int width = kPanelDefaultWidth, const DisplayScale& scale = {});
// The screen column at the edge of `side`, where a resting pointer brings the panel in.
int EdgeX(Side side);

// Client rectangles of the strip's fixed buttons and of item `index`'s button.
RECT HideButtonRect(HWND panel, Side side, const DisplayScale& scale = {});
RECT CloseButtonRect(HWND panel, Side side, const DisplayScale& scale = {});
RECT MenuButtonRect(HWND panel, Side side, const DisplayScale& scale = {});
RECT ItemButtonRect(HWND panel, int index, const DisplayScale& scale = {});
// The centre of item `index`'s button on the screen.
POINT ItemCentre(HWND panel, int index, const DisplayScale& scale = {});

// A spot over the panel, below any item of a short strip and away from the
// fixed buttons, where a shown panel stays shown (`panelWidth` in real pixels).
POINT RestingSpotOverPanel(Side side, int panelWidth = kPanelDefaultWidth);
void RestPointerOverPanel(Side side = Side::Left, int panelWidth = kPanelDefaultWidth);
// Far from both edges: a shown panel slides out, a hidden one stays hidden.
POINT SpotAwayFromPanel();
void MovePointerAway();

// ---- The program under test ----------------------------------------------------

// Owns one run of tilerack.exe, started by the fixture (PanelTest::StartPanel).
// The destructor closes it gracefully (WM_CLOSE) and terminates it by its
// handle only if it does not end in time; it never touches any other process.
class PanelProcess {
public:
    // Starts the program `exe` in `workingFolder`.
    PanelProcess(const std::wstring& exe, const std::wstring& workingFolder);
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
    // Ends it at once, as a crash or the task manager would, and waits until it has gone.
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Success once the panel's frame stands at `left` (within `timeout`), and
// under a window manager the screen shows it there too; with where it stands
// instead when it does not.
::testing::AssertionResult ReachesLeft(HWND panel, int left, std::chrono::milliseconds timeout = 5s);
// True when the panel's frame stays at `left` for the whole of `duration`
// (the pointer watch, say, has had time to move it and has not).
bool StaysAt(HWND panel, int left, std::chrono::milliseconds duration);
// The same for the shown and the hidden place of `side`, for a frame
// `width` real pixels wide.
::testing::AssertionResult ReachesShown(HWND panel, Side side, int width = kPanelDefaultWidth,
                                        const DisplayScale& scale = {}, std::chrono::milliseconds timeout = 5s);
::testing::AssertionResult ReachesHidden(HWND panel, Side side, int width = kPanelDefaultWidth,
                                         const DisplayScale& scale = {}, std::chrono::milliseconds timeout = 5s);
inline ::testing::AssertionResult ReachesShown(HWND panel, Side side, std::chrono::milliseconds timeout) {
    return ReachesShown(panel, side, kPanelDefaultWidth, {}, timeout);
}
inline ::testing::AssertionResult ReachesHidden(HWND panel, Side side, std::chrono::milliseconds timeout) {
    return ReachesHidden(panel, side, kPanelDefaultWidth, {}, timeout);
}
// Widens the shown panel by `by` real pixels with its frame's inner edge, as a
// user's drag does; where Wine without a window manager runs no sizing loop,
// the resize comes from outside as one would deliver it. How it was resized
// ("frame drag", "SetWindowPos", or the window manager's drag), or a failure.
std::string WidenByFrame(HWND panel, Side side, int by);
// Waits until the panel has painted its close cross (black on the blended
// background): the strip is drawn and its buttons are where they should be.
bool WaitForCloseCross(HWND panel, Side side, const DisplayScale& scale = {}, std::chrono::milliseconds timeout = 3s);
// With the pointer resting over the panel's place (where the pointer watch
// keeps it), the tray icon's double click brings a panel that slid out back;
// false, with a failure recorded, when it does not stand shown.
bool BringIn(HWND panel, Side side = Side::Left, const DisplayScale& scale = {});

// Compares the panel's pixels at client points well away from every strip
// button with the blend of what the screen holds under them (`under`) with
// the panel's colour at `opacity`, until they agree; failures recorded for
// the points that never do.
void ExpectBlendedBackground(HWND panel, const std::function<COLORREF(int x, int y)>& under, COLORREF colour,
                             int opacity, const char* when);

// The panel's tray icon callback carrying a mouse message.
void PostTrayCallback(HWND panel, UINT mouseMessage);

// ---- Menus and hints -----------------------------------------------------------------

// The entries of the panel's context menu in keyboard order (separators are
// skipped by the arrow keys).
enum class MainMenuEntry {
    NewItem, AddSeparator, MoveUp, MoveDown, Delete, ShowFile, Properties, Settings, Language, Exit, Count
};

// Right-clicks the panel at a client point and returns the context menu it
// opens; the tray icon's right-button callback and the menu it opens.
HWND OpenContextMenuAt(const PanelProcess& panel, HWND window, POINT clientPoint);
HWND OpenTrayMenu(const PanelProcess& panel, HWND window);
// Chooses `entry` of an open context menu and waits until the menu has gone.
bool ChooseFromMenu(const PanelProcess& panel, HWND menu, MainMenuEntry entry);
// Right-clicks the panel at `clientPoint` and chooses `entry` by the keyboard;
// false (with a recorded failure) when the menu did not open or did not close.
bool ChooseFromContextMenu(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry);
bool ChooseFromTrayMenu(const PanelProcess& panel, HWND window, MainMenuEntry entry);

// Moves the pointer onto the menu button until the button reveal shows it,
// clicks it and returns the items menu, or nullptr with a failure recorded.
HWND OpenItemsMenu(const PanelProcess& panel, HWND window, Side side = Side::Left, const DisplayScale& scale = {});

// Rests the pointer on `clientRect` of the strip until a hint shows, from a
// spot over the panel's empty area where no hint shows; the hint window and
// its text, or nothing. The pointer then goes back to that spot.
struct Hint {
    HWND window = nullptr;
    std::wstring text;
    RECT place{};  // where it showed, read while it showed
};
std::optional<Hint> HoverHint(const PanelProcess& panel, HWND window, RECT clientRect, Side side = Side::Left);
HWND FindHint(const PanelProcess& panel);

// ---- Test fixture ---------------------------------------------------------------------

// What the fixture waits for once it has started the program.
enum class PanelState {
    Started,  // nothing: the process runs (a message box may come before any window)
    Visible,  // its panel window is visible, wherever it stands
    Shown,    // it stands at its shown place with its strip drawn, the pointer resting over it
    Hidden,   // it has slid out, the pointer resting away from it
};

// One start of the program.
struct PanelStart {
    Side side = Side::Left;          // the edge it is expected at
    int width = kPanelDefaultWidth;  // the settings' width (96-DPI pixels) it is expected at
    std::optional<int> dpi{};        // the display scale it runs at (see RunAtDpi)
    // Written as the item file beside the program before the start.
    std::optional<std::vector<ShortRecord>> items{};
    // The settings file's keys ("TimeOut=300"; SideSetting(side) for the
    // right side), written before the start when there are any; otherwise
    // the settings file stays as it is (none after SetUp).
    std::vector<std::string> settings{};
    PanelState expect = PanelState::Shown;
    // Where the pointer rests during the start, when not where `expect` puts it.
    std::optional<POINT> pointer{};
    // The frame's left at its shown place, when not the side's own (an edge between two screens).
    std::optional<int> shownLeft{};
    // The folder of the program that runs (the scratch folder unless named)
    // and its working folder (the same unless named).
    std::wstring programFolder{};
    std::wstring workingFolder{};
    std::chrono::milliseconds windowTimeout = 20s;  // for the panel window to appear
};

// Fresh scratch folder, no settings file, pointer parked away from both edges.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::wstring ItemsPath() const { return scratch_->File(L"shorts.dat"); }
    // Writes the item file beside the program; false, with a failure recorded, when it cannot.
    bool WriteItems(const std::vector<ShortRecord>& records) const;
    std::vector<ShortRecord> SavedItems() const { return ReadSavedItems(ItemsPath()); }
    std::vector<std::string> SavedCaptions() const;
    // Starts the program as `start` says (panel_), ending one that still
    // runs first, and waits for the state it expects; its window (window_)
    // once it is there, or nullptr after a recorded failure (always nullptr
    // for PanelState::Started).
    HWND StartPanel(const PanelStart& start = {});
    // Programs started from now on run at `dpi` (scale_), until the test ends.
    void RunAtDpi(int dpi);
    // Ends the program with WM_CLOSE and reads the items it saved.
    std::vector<ShortRecord> CloseAndReadItems();
    DWORD Pid() const { return panel_->Pid(); }

    // Destroyed last: the display scale goes back once the program has ended.
    std::unique_ptr<DisplayScaleSetting> displayScale_;
    DisplayScale scale_;
    std::unique_ptr<ScratchDir> scratch_;
    std::unique_ptr<PanelProcess> panel_;
    HWND window_ = nullptr;

private:
    HWND WaitForStartedState(const PanelStart& start);
};

// Names for the instances of a suite run on both sides: "Left", "Right".
std::string SideName(const ::testing::TestParamInfo<Side>& info);
inline const auto kBothSides = ::testing::Values(Side::Left, Side::Right);

}  // namespace e2e
