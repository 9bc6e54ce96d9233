#include "platform/common_controls.h"

#include <commctrl.h>

#include "common/dpi_scale.h"
#include "platform/application.h"

namespace tilerack::win {

void EnsureCommonControls() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

void SetTooltipWrapWidth(HWND tooltip, int dpi) {
    constexpr int kWrapWidth = 400;
    if (tooltip) SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, DpiScale::Of(dpi).Scale(kWrapWidth));
}

HWND CreateTooltipControl(HWND owner, int dpi) {
    EnsureCommonControls();
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                   Application::Instance().Module(), nullptr);
    SetTooltipWrapWidth(tooltip, dpi);
    return tooltip;
}

}  // namespace tilerack::win
