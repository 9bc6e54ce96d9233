#pragma once
// The item properties dialog (TMainDialog): edits one shortcut item.
//
// Where each behaviour lives: sysdialog_win.cpp (the window, its controls,
// OK, the browse buttons, the picture and its preview); what it decides
// without windows in icon_choice_rule.h (taking the picker's choice) and
// path_quoting.h (names with blanks); the picker it opens in mainselform.h.
// It sees the panel only through IPanelHost (panel_host.h).
#include <windows.h>

#include "dialogs/panel_host.h"
#include "items/shortcut.h"

namespace tilerack {

// Shows the dialog modally over `owner` for `item`; true when ОК was pressed
// (the item has then been written through its setters).
bool EditShortCut(TShortCut& item, IPanelHost& panel, HWND owner);

}  // namespace tilerack
