// The desktop as a user meets it, seen from the test program: polling with
// deadlines, windows of another process, message boxes, popup menus, and
// real pointer and key input.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace e2e {

using namespace std::chrono_literals;

// Polls `predicate` until it holds or `timeout` passes; true when it held.
bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout = 10s);
// Polls `probe` until what it returns counts as true or `timeout` passes;
// the last value it returned (a window, a box found, nothing).
template <class Probe>
auto WaitFor(Probe probe, std::chrono::milliseconds timeout = 10s) -> decltype(probe()) {
    decltype(probe()) value{};
    WaitUntil([&] { return static_cast<bool>(value = probe()); }, timeout);
    return value;
}

std::wstring WindowClass(HWND window);
std::wstring WindowText(HWND window);  // WM_GETTEXT: works across processes
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
POINT ClientToScreenPoint(HWND window, int x, int y);
RECT ClientRectOnScreen(HWND window, RECT clientRect);
POINT Centre(const RECT& rect);
// True when the window exists and its thread handles a sent message in time.
bool Responds(HWND window, std::chrono::milliseconds timeout = 5s);
// Waits until the window is destroyed or hidden.
bool WaitUntilGone(HWND window, std::chrono::milliseconds timeout = 5s);
bool IsTopmost(HWND window);

// A visible top-level window of `pid` of the class (any case), or nullptr;
// the same, waiting up to `timeout` for it.
HWND FindTopWindow(DWORD pid, const std::wstring& className);
HWND WaitForTopWindow(DWORD pid, const std::wstring& className, std::chrono::milliseconds timeout = 10s);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;  // the static controls' texts, lines broken by "\n" alone
};
// A visible message box (#32770 dialog) of `pid`; the same, waited for.
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 10s);
// Presses the box's button `id`, or its OK (or Cancel) button.
void DismissMessageBox(HWND box, int id = 0);
// The same, then waits until `pid` shows no box any more.
bool AnswerMessageBox(DWORD pid, HWND box, int id = 0);

// The open popup menu of `pid`; the same, waited for.
HWND FindPopupMenu(DWORD pid);
HWND WaitForPopupMenu(DWORD pid, std::chrono::milliseconds timeout = 5s);
// Posts a key press straight into an open popup menu's thread.
void PostKeyToMenu(HWND menu, WORD virtualKey);
// Chooses entry `index` of an open menu (separators do not count) by the
// keyboard, counting from the first entry, or from the last when negative.
void ChooseMenuEntry(HWND menu, int index);
// Closes an open popup menu of `pid` with the Escape key; true when it closed.
bool CloseMenuWithEscape(DWORD pid);

// Whether the shell holds notification-area icon `id` of `owner` (also after
// `owner` has gone). Asks the shell, not the windows one shell shows its icons in.
bool ShellHasTrayIcon(HWND owner, UINT id = 0);

// ---- Display scale ------------------------------------------------------------

// Makes the test program aware of each screen's scale, so that window
// places, the pointer, input and captures are all in the screen's real
// pixels whatever scale a program under test runs at (Windows shows an
// unaware program places scaled to 96 DPI; Wine 8 starts every program
// aware already). Returns the awareness it has then, for the log.
std::string BecomeDpiAware();

// The display scale (DPI) of the session the test program runs in.
int SystemDpi();
// Wine's major version (8, 10, ...); 0 on Windows.
int WineMajorVersion();
// Whether programs started in this session take a display scale set during
// it (Wine before 10); Windows and Wine 10 read it once, as the session starts.
bool ScaleChangesWithinASession();

// The display scale (DPI) programs started from now on run at, for the
// lifetime of this object: nothing to do when the session runs at it (a
// session per scale, started by run-e2e.sh); otherwise, where the system
// allows it, kept as LogPixels under HKCU\Control Panel\Desktop and then put
// back as it was (removed when it was not set); a recorded failure where it
// does not.
class DisplayScaleSetting {
public:
    explicit DisplayScaleSetting(int dpi);
    ~DisplayScaleSetting();
    DisplayScaleSetting(const DisplayScaleSetting&) = delete;
    DisplayScaleSetting& operator=(const DisplayScaleSetting&) = delete;

private:
    std::optional<DWORD> previous_;
    bool written_ = false;
};
// Removes a LogPixels left by a run that was killed before it could put it
// back (not in a session run-e2e.sh started at a scale of its own).
void ForgetLeftoverDisplayScale();

// ---- Real input ------------------------------------------------------------------

void MovePointer(int x, int y);
// Moves the pointer with an input event, so the window under it sees the move.
void MoveWithInput(int x, int y);
POINT PointerPosition();
// Rests the pointer at `at` until `appears` finds a window (a tooltip), and
// returns it, or null after `timeout`. Under Wine a lone programmatic move now
// and then reaches no window at all, which a hand's stream of moves never
// shows: with nothing 3 s after the move, the pointer stirs a pixel, as a
// resting hand does, and `timeout` runs again.
HWND RestPointerUntil(POINT at, const std::function<HWND()>& appears, std::chrono::milliseconds timeout = 5s);
void ClickAt(int x, int y, bool rightButton = false);
void ClickAt(POINT at, bool rightButton = false);
// Moves the pointer to `at` with an input event and waits until it stands
// there over `window` (a window shown above it, such as Wine's stand-in
// notification area, may cover it for a while); then a real click there.
// False, with a failure recorded, when `window` does not come under the pointer.
bool PointAt(HWND window, POINT at, std::chrono::milliseconds timeout = 5s);
bool ClickOn(HWND window, POINT at, bool rightButton = false);
// Two real left clicks at a screen point, within the double-click time.
void DoubleClickAt(int x, int y);
// The same once the pointer stands over `window` there (see ClickOn).
bool DoubleClickOn(HWND window, POINT at);
// Presses the left button at `from`, moves in small steps to `to`, releases.
void DragWithLeftButton(POINT from, POINT to);
void PressKey(WORD virtualKey);
// Types `text` as key input into whatever has the focus (line breaks as Enter).
void TypeText(const std::wstring& text);

}  // namespace e2e
