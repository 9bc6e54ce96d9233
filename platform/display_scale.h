#pragma once
// The display scale a window stands at, and what the system sizes by it:
// looked up at run time, since older systems have a single scale for all
// screens (or know none at all: 96 DPI).
#include <windows.h>

#include "platform/handles.h"

namespace tilerack::win {

// The scale of the whole system (the primary screen's at sign-in).
int SystemDpi();
// The scale of the screen `window` stands on (the system's where the system
// has no scale per screen).
int WindowDpi(HWND window);
// The border width of a window of these styles at `dpi`: what the frame adds
// on each side of the client area.
int FrameBorder(DWORD style, DWORD exStyle, int dpi);
// The outer height of a frame of these styles whose client area is
// `clientHeight` high, at `dpi`.
int FrameHeightFor(DWORD style, DWORD exStyle, int clientHeight, int dpi);
// A copy of `font` (a system or stock font made for the system's scale)
// made for `dpi`; nullptr when the two scales are the same, so the caller
// keeps the system's own font.
UniqueFont FontForDpi(HFONT font, int dpi);
// How far the pointer may move on either side of a press before a drag
// starts (SM_CXDRAG, SM_CYDRAG), at `dpi`: the user's setting for a 96-DPI
// screen, scaled.
SIZE DragDistanceFor(int dpi);

}  // namespace tilerack::win
