#include "platform/color_dialog.h"

#include <commdlg.h>

namespace tilerack::win {

std::optional<COLORREF> AskColor(HWND owner, COLORREF initial, CustomColors& custom) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = initial;
    cc.lpCustColors = custom.data();
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorW(&cc)) return std::nullopt;
    return cc.rgbResult;
}

}  // namespace tilerack::win
