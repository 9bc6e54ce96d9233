// Placeholder until the settings dialog lands.
#include "dialogs/tunint.h"
namespace tilerack {
void ShowTuningDialog(IPanelHost& panel, HWND) { panel.EnableTimerMouse(true); }
}  // namespace tilerack
