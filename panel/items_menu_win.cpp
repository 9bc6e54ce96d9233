#include "panel/items_menu_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "panel/item_glyph.h"
#include "platform/common_controls.h"
#include "platform/dib.h"
#include "platform/display_scale.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack {

namespace {

constexpr UINT kFirstEntryId = 1000;

std::wstring EntryText(const TShortCut& item) { return win::Widen(item.Caption.empty() ? item.FileName : item.Caption); }

}  // namespace

void ItemsMenu::SetScale(DpiScale scale) {
    scale_ = scale;
    font_ = win::FontForDpi(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), scale.dpi);
    win::SetTooltipWrapWidth(hint_, scale.dpi);
}

HFONT ItemsMenu::Font() const {
    return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TShortCut* ItemsMenu::Listed(ULONG_PTR entryData) const {
    auto* item = reinterpret_cast<TShortCut*>(entryData);
    return item && items_.Contains(item) ? item : nullptr;
}

TShortCut* ItemsMenu::Choose(HWND owner, POINT at) {
    win::UniqueMenu menu(CreatePopupMenu());
    if (folders_) folders_->BeginSession();
    UINT id = kFirstEntryId;
    for (const auto& entry : items_) {
        const auto data = reinterpret_cast<LPCWSTR>(entry->item.get());
        // A separator of the strip is the menu's own separator line.
        if (entry->button.separator) AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        else if (entry->button.opensMenu && folders_)
            AppendMenuW(menu.get(), MF_OWNERDRAW | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(folders_->Submenu(win::Widen(entry->item->FileName))), data);
        else AppendMenuW(menu.get(), MF_OWNERDRAW, id, data);
        ++id;
    }
    SetForegroundWindow(owner);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERNEGANIMATION,
                                        at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (folders_) {
        folders_->EndSession();
        if (folders_->Run(command)) return nullptr;  // an entry of a folder's submenu, started
    }
    if (command < kFirstEntryId) return nullptr;
    // The entry's item, if the list still holds it.
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(menu.get(), command, FALSE, &info)) return nullptr;
    return Listed(info.dwItemData);
}

bool ItemsMenu::MeasureMenuEntry(HWND owner, MEASUREITEMSTRUCT& entry) {
    const TShortCut* item = Listed(entry.itemData);
    if (!item) return false;
    win::WindowDC dc(owner);
    win::SelectScope font(dc.get(), Font());
    const std::wstring text = EntryText(*item);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    const DpiScale& s = scale_;
    entry.itemWidth = s.Scale(std::max(item->Icon.Width(), 16) + 8) + size.cx + s.Scale(8);
    entry.itemHeight = std::max<int>(s.Scale(item->Icon.Height() + 4), size.cy + s.Scale(6));
    return true;
}

bool ItemsMenu::DrawMenuEntry(const DRAWITEMSTRUCT& d) {
    const TShortCut* item = Listed(d.itemData);
    if (!item) return false;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const RECT& r = d.rcItem;
    // The picture as the strip shows it: its lower-left colour is
    // transparent; its sharp picture or scaled smoothly at a larger scale.
    const DpiScale& s = scale_;
    TBitmap picture(s.Scale(item->Icon.Width()), s.Scale(item->Icon.Height()));
    picture.Fill(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const TBitmap& source = item->Button ? item->Button->PictureFor(picture.Width(), picture.Height()) : item->Icon;
    DrawGlyphImageScaled(picture.Rows(), 0, 0, source, 0, 1, picture.Width(), picture.Height());
    win::DrawPicture(d.hDC, r.left + s.Scale(2), r.top + (r.bottom - r.top - picture.Height()) / 2, picture);
    RECT text{r.left + s.Scale(std::max(item->Icon.Width(), 16) + 8), r.top, r.right, r.bottom};
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    win::SelectScope font(d.hDC, Font());
    const std::wstring caption = EntryText(*item);
    DrawTextW(d.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    return true;
}

void ItemsMenu::MenuEntryHighlighted(HWND owner, HMENU menu, UINT id, UINT flags) {
    // The hint of the highlighted entry, shown beside it.
    const TShortCut* item = nullptr;
    // A submenu's entry is told by its place, any other by its id.
    const bool byPlace = (flags & MF_POPUP) != 0;
    if (menu && flags != 0xFFFF && (byPlace || id >= kFirstEntryId)) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfoW(menu, id, byPlace, &info)) item = Listed(info.dwItemData);
    }
    RECT r{};
    // No window for a popup menu: the system finds the menu's own window.
    // Given the owner, the entry's place would be read against the
    // owner's client area instead.
    if (item) GetMenuItemRect(nullptr, menu, byPlace ? id : id - kFirstEntryId, &r);
    ShowHint(owner, item, r);
}

void ItemsMenu::MenuClosed(HWND owner) { ShowHint(owner, nullptr, RECT{}); }

void ItemsMenu::ShowHint(HWND owner, const TShortCut* item, RECT entry) {
    const bool shows = item && !item->Hint.empty();
    if (!hint_) {
        if (!shows) return;  // nothing to hide yet
        hint_ = win::CreateTooltipControl(owner, scale_.dpi);
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        ti.hwnd = owner;
        ti.uId = 1;
        ti.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = owner;
    ti.uId = 1;
    if (!shows) {
        SendMessageW(hint_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        return;
    }
    std::wstring text = win::Widen(item->Hint);
    ti.lpszText = text.data();
    SendMessageW(hint_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(hint_, TTM_TRACKPOSITION, 0, MAKELPARAM(entry.right + scale_.Scale(4), entry.top));
    SendMessageW(hint_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tilerack
