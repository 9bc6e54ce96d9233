#pragma once
// The settings dialog (TFormTuning): colour, transparency, delay, stay-on-top
// and side of the panel, each applied to the panel as it changes.
//
// Where each behaviour lives: tunint_win.cpp (the window, its controls and
// the preview); tuning_rules.h (transparency, delay and preview arithmetic);
// side_picture.h (the pictures of the two side buttons).
#include <windows.h>

#include "dialogs/panel_host.h"

namespace tilerack {

// Shows the dialog modally over `owner`; returns once it has been destroyed.
void ShowTuningDialog(IPanelHost& panel, HWND owner);

}  // namespace tilerack
