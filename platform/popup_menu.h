#pragma once
// A context menu opened for a window at a screen point, waited for, and its
// chosen command returned.
#include <windows.h>

namespace tilerack::win {

// Opens `menu` at `at` for `owner` (made the foreground window first: only
// then does a click elsewhere close the menu) and returns the chosen
// command, or 0 when none was chosen.
UINT ChooseFromPopupMenu(HWND owner, HMENU menu, POINT at);

}  // namespace tilerack::win
