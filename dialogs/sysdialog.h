#pragma once
// The item properties dialog (TMainDialog): edits one shortcut item.
#include <windows.h>

#include "dialogs/panel_host.h"
#include "items/shortcut.h"

namespace tilerack {

// Shows the dialog modally over `owner` for `item`; true when ОК was pressed
// (the item has then been written through its setters).
bool EditShortCut(TShortCut& item, IPanelHost& panel, HWND owner);

}  // namespace tilerack
