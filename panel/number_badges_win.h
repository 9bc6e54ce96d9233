#pragma once
// The digit badges of the number keys: a small dark box with the digit in
// white at the top left corner of an item button, drawn while the keyboard
// uses the panel (the painter asks which button has which digit).
#include <windows.h>

#include "common/geometry.h"
#include "panel/panel_metrics.h"

namespace tilerack {

// Draws `digit`'s badge on `button` into `dc`, in the font selected there.
void DrawNumberBadge(HDC dc, const Rect& button, int digit, const PanelMetrics& metrics);

}  // namespace tilerack
