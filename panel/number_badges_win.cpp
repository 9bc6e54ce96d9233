#include "panel/number_badges_win.h"

#include <algorithm>

#include "platform/handles.h"

namespace tilerack {

namespace {

constexpr COLORREF kBadgeFill = RGB(32, 32, 32);
constexpr COLORREF kBadgeDigit = RGB(255, 255, 255);

}  // namespace

void DrawNumberBadge(HDC dc, const Rect& button, int digit, const PanelMetrics& metrics) {
    const wchar_t text[2] = {static_cast<wchar_t>(L'0' + digit), L'\0'};
    SIZE glyph{};
    GetTextExtentPoint32W(dc, text, 1, &glyph);
    const int inset = metrics.focusInset;
    const int side = std::max<int>(glyph.cx, glyph.cy) + 2 * metrics.scale.Scale(1);
    RECT box{button.left + inset, button.top + inset, button.left + inset + side, button.top + inset + side};
    const win::UniqueBrush fill(CreateSolidBrush(kBadgeFill));
    FillRect(dc, &box, fill.get());
    SetTextColor(dc, kBadgeDigit);
    DrawTextW(dc, text, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace tilerack
