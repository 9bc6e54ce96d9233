// Helpers that act on the X server under Wine from the Windows side: Unix
// paths, a Linux drag source for shell drops, the X server's own pointer and
// where it shows a window.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "test_files.h"

namespace e2e {

// The Unix path of a Windows path (Wine's file name mapping).
std::string UnixPath(const std::wstring& windowsPath);

// Drags `files` with the X server's own pointer from a GTK drag source shown
// around `from` (a Linux process, see tests/e2e/drag/drag_source.py) and
// releases them at `to`, so the program gets them through Wine's XDND
// support. Returns the source's verdict: "ended accepted", "ended refused
// ..." or "error ...". The pointer rests on `to` for `rest` before the
// button comes up.
std::string DragFilesFromX11(const ScratchDir& dir, POINT from, POINT to, const std::vector<std::wstring>& files,
                             std::chrono::milliseconds rest = std::chrono::milliseconds(300));

// The window manager of the test display ("openbox"), or nothing on a bare
// X server (E2E_WINDOW_MANAGER, set by run-e2e.sh).
std::wstring WindowManager();
// Presses the left button at `from`, moves in small steps to `to` and
// releases, with the X server's own pointer (tests/e2e/x11/pointer_drag.sh):
// a window manager's frame drag follows it as it follows a user's mouse,
// which input sent through Windows never reaches. Returns "ended" or
// "error ...".
std::string DragWithXPointer(POINT from, POINT to);
// Presses each key or chord (xdotool's names: "Down", "ctrl+Down",
// "shift+F10") in turn on the X server's keyboard (tests/e2e/x11/key_press.sh):
// Wine reads them as a user's keys, hot keys included, which input sent
// through Windows never tests. Returns "ended" or "error ...".
std::string PressXKeys(const std::vector<std::string>& keys);
// Clicks the left button at a screen point with the X server's pointer
// (tests/e2e/x11/pointer_click.sh): the window manager gives that window
// the X input focus. Returns "ended" or "error ...".
std::string ClickWithXPointer(POINT at);
// Runs one chain of xdotool commands at the X server
// (tests/e2e/x11/pointer_steps.sh), for example a press, moves, a rest, a
// key and the release of one slow drag. Returns "ended" or "error ...".
std::string XPointerSteps(const std::vector<std::string>& words);
// The xdotool words that move the pointer from `from` to `to` in `steps`
// even steps, resting `restSeconds` after each.
std::vector<std::string> XMoveSteps(POINT from, POINT to, int steps, double restSeconds);
// Where the X server shows a top-level window (tests/e2e/x11/window_place.sh):
// its outer rectangle, and whether it is mapped; nothing when it cannot tell.
struct XWindowPlace {
    RECT rect{};
    bool mapped = false;
};
std::optional<XWindowPlace> XWindowPlaceOf(HWND window);

}  // namespace e2e
