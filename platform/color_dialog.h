#pragma once
// The system's colour selection dialog.
#include <windows.h>

#include <array>
#include <optional>

namespace tilerack::win {

// The sixteen custom colour slots of the dialog, kept by the caller between
// runs (the dialog writes the user's changes back into them).
using CustomColors = std::array<COLORREF, 16>;

// Runs the dialog preset to `initial`; the chosen colour, or nothing when
// the user cancelled.
std::optional<COLORREF> AskColor(HWND owner, COLORREF initial, CustomColors& custom);

}  // namespace tilerack::win
