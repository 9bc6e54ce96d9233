#pragma once
// The screens as the system reports them.
#include <windows.h>

#include <vector>

#include "common/screen.h"

namespace tilerack::win {

// Every screen with its work area, scale, device name and whether it is the
// primary, in the system's order. A system that lists none gives the primary
// screen from the system metrics.
std::vector<Screen> ListScreens();

}  // namespace tilerack::win
