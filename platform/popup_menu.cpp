#include "platform/popup_menu.h"

namespace tilerack::win {

UINT ChooseFromPopupMenu(HWND owner, HMENU menu, POINT at) {
    SetForegroundWindow(owner);
    const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                                        at.y, 0, owner, nullptr);
    // The owner's queue wakes, so the menu's end is seen at once.
    PostMessageW(owner, WM_NULL, 0, 0);
    return command;
}

}  // namespace tilerack::win
