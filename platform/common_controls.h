#pragma once
// The common controls library is bound at its first use (see
// platform/delayload): a start that shows only the panel does without it.
// Everything that creates a common control calls this first.
#include <windows.h>

namespace tilerack::win {

// Registers the common control classes the program uses; runs once.
void EnsureCommonControls();

// A tooltip control owned by `owner`: topmost, shown also while the owner is
// inactive, texts taken literally, and wrapped at 400 pixels of a 96-DPI
// screen (scaled for `dpi`) so that hints of several lines show as several
// lines. Destroyed with its owner.
HWND CreateTooltipControl(HWND owner, int dpi = 96);
// The wrapping width of a tooltip control for a screen of `dpi`.
void SetTooltipWrapWidth(HWND tooltip, int dpi);

}  // namespace tilerack::win
