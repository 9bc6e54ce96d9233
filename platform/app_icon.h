#pragma once
// The program's own icon, the resource "MAINICON", which holds it at 16 to
// 256 pixels: loaded at the exact size the system shows an icon at a scale,
// so Windows never has to enlarge a smaller image.
#include <windows.h>

#include "platform/handles.h"

namespace tilerack::win {

// The system's small (title bar, notification area) and large (Alt+Tab,
// desktop) icon sizes at `dpi`.
int SmallIconSize(int dpi);
int LargeIconSize(int dpi);

// "MAINICON" at `pixels` square; null only when the resource is missing.
UniqueIcon LoadAppIcon(int pixels);
// "MAINICON" at the notification area's size: the small icon of the
// taskbar's screen (the primary's without a taskbar), whatever scale the
// panel's own screen has.
UniqueIcon LoadTrayIcon();

// Gives `window` the program's icon at both sizes for `dpi` (WM_SETICON),
// keeping the icons as long as the window may show them.
class WindowIcons {
public:
    void Apply(HWND window, int dpi);

private:
    UniqueIcon small_, large_;
};

}  // namespace tilerack::win
