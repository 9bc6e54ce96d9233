// Placeholder until the item dialog lands.
#include "dialogs/sysdialog.h"
namespace tilerack {
bool EditShortCut(TShortCut&, IPanelHost&, HWND) { return false; }
}  // namespace tilerack
