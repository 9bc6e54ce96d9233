#pragma once
// The screens as the system reports them, and the foreground window a
// full-screen program shows in.
#include <windows.h>

#include <optional>
#include <vector>

#include "common/screen.h"

namespace tilerack::win {

// Every screen with its work area, scale, device name and whether it is the
// primary, in the system's order. A system that lists none gives the primary
// screen from the system metrics.
std::vector<Screen> ListScreens();

// The rectangle of the foreground window when it is a window without a
// caption of another thread (a game, a video, a slide show), not the shell's
// desktop; nothing otherwise.
std::optional<Rect> CaptionlessForegroundRect();

}  // namespace tilerack::win
