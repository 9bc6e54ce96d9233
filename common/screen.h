#pragma once
// One screen as the system reports it, in virtual-screen pixels.
#include <string>

#include "common/geometry.h"

namespace tilerack {

struct Screen {
    Rect bounds;         // the whole screen
    Rect work;           // its work area: without the taskbar and other docked bars
    int dpi = 96;        // its display scale
    bool primary = false;
    std::string device;  // the system's name for it ("\\.\DISPLAY1")
};

}  // namespace tilerack
