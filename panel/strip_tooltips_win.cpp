#include "panel/strip_tooltips_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "platform/common_controls.h"
#include "platform/display_scale.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace tilerack {

void StripTooltips::Create() {
    tooltip_ = win::CreateTooltipControl(panel_);
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, 1000);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 5000);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_RESHOW, 100);
    ApplyScale();
    SyncAll();
}

void StripTooltips::SetDpi(int dpi) {
    dpi_ = dpi;
    ApplyScale();
}

void StripTooltips::ApplyScale() {
    if (!tooltip_) return;
    const int dpi = dpi_ > 0 ? dpi_ : win::SystemDpi();
    win::SetTooltipWrapWidth(tooltip_, dpi);
    win::UniqueFont font = win::MakeStatusFont(dpi);
    if (!font) return;
    // The control lets go of the old font before it is deleted.
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);
}

void StripTooltips::Relay(UINT msg, WPARAM wp, LPARAM lp) {
    if (!tooltip_ && msg == WM_MOUSEMOVE) Create();
    if (!tooltip_) return;
    MSG relayed{};
    relayed.hwnd = panel_;
    relayed.message = msg;
    relayed.wParam = wp;
    relayed.lParam = lp;
    relayed.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    relayed.pt = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void StripTooltips::SyncAll() {
    for (const TFlatButton* b : strip_.Buttons()) Sync(*b);
}

void StripTooltips::Sync(const TFlatButton& b) {
    if (!tooltip_) return;
    // A hidden button or one without a hint keeps its tool with an empty
    // place: deleting tools while a tip shows (the hide button vanishing as
    // the pointer leaves it) leaves Wine's tooltip unable to show any tip
    // again, and removing and adding loses its tracking of the pointer.
    const bool shows = b.visible && !b.hint.empty();
    const bool added = tools_.count(b.id) != 0;
    if (!shows && !added) return;
    std::wstring text = win::Widen(b.hint);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = 0;  // fed by Relay
    ti.hwnd = panel_;
    ti.uId = b.id;
    ti.rect = shows ? RECT{b.bounds.left, b.bounds.top, b.bounds.Right(), b.bounds.Bottom()} : RECT{0, 0, 0, 0};
    ti.lpszText = text.data();
    if (added) {
        SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    } else if (SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
        tools_.insert(b.id);
    }
}

void StripTooltips::ButtonRemoving(const TFlatButton& b) {
    if (!tooltip_ || !tools_.erase(b.id)) return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = panel_;
    ti.uId = b.id;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tilerack
