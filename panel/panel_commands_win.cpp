// The pointer on the strip, the context menu, the items menu, starting items
// and dropped files.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "items/launcher.h"
#include "common/app_texts.h"
#include "panel/item_insert.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/com_apartment.h"
#include "platform/common_controls.h"
#include "platform/dib.h"
#include "platform/dropped_files.h"
#include "platform/text.h"

namespace tilerack {

namespace {

win::Application& App() { return win::Application::Instance(); }

enum MainCommand : UINT {
    N1 = 1, N3 = 3, N4 = 4, N7 = 7, N9 = 9, N10 = 10, N11 = 11, N12 = 12,
};

constexpr UINT kItemsMenuFirstId = 1000;

}  // namespace

void TMainPanel::OnMouseMove(POINT p) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = hwnd_;
        trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
    }
    TFlatButton* over = HitTest(p);
    if (over != hotControl_) {
        if (hotControl_) hotControl_->hot = false;
        hotControl_ = over;
        if (over) over->hot = true;
        Invalidate();
    }
    if (over == &SButtonHide || over == &SButtonMenu) SButtonHideMouseMove();
}

void TMainPanel::OnMouseLeave() {
    trackingLeave_ = false;
    if (pressedControl_) return;  // captured: the button keeps its state until release
    if (hotControl_) {
        hotControl_->hot = false;
        hotControl_ = nullptr;
        Invalidate();
    }
}

void TMainPanel::OnLeftDown(POINT p) {
    TFlatButton* over = HitTest(p);
    FormMouseDown(over, VK_LBUTTON, p);
    if (!over) return;
    pressedControl_ = over;
    over->pressed = true;
    SetCapture(hwnd_);
    Invalidate();
}

void TMainPanel::OnLeftUp(POINT p) {
    TFlatButton* pressed = pressedControl_;
    pressedControl_ = nullptr;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (!pressed) return;
    pressed->pressed = false;
    Invalidate();
    if (HitTest(p) == pressed && pressed->onClick) pressed->onClick();
}

void TMainPanel::FormMouseDown(TFlatButton* sender, int button, POINT clientPoint) {
    EnableTimerMouse(true);
    if (button != VK_RBUTTON) return;
    POINT cursor;
    GetCursorPos(&cursor);
    ClickedControl = sender;
    menuItemsEnabled_ = ClickedItemButton() != nullptr;
    POINT screen = clientPoint;
    ClientToScreen(hwnd_, &screen);
    ClickPoint = screen;
    PopupMainAt(cursor);
}

std::vector<int> TMainPanel::ButtonTopsOnScreen() const {
    std::vector<int> tops;
    for (const auto& item : Items) {
        POINT top{0, item->Button ? item->Button->bounds.top : 0};
        ClientToScreen(hwnd_, &top);
        tops.push_back(top.y);
    }
    return tops;
}

TItemButton* TMainPanel::ClickedItemButton() const {
    for (const auto& b : buttons_)
        if (b.get() == ClickedControl) return b.get();
    return nullptr;
}

void TMainPanel::PopupMainAt(POINT at) {
    win::UniqueMenu menu(CreatePopupMenu());
    const UINT itemFlags = MF_STRING | (menuItemsEnabled_ ? MF_ENABLED : MF_GRAYED);
    auto add = [&](UINT flags, UINT id, const char* text) {
        AppendMenuW(menu.get(), flags, id, text ? win::Widen(text).c_str() : nullptr);
    };
    add(MF_STRING, N1, "Создать иконку...");
    add(itemFlags, N10, "Поднять");
    add(itemFlags, N11, "Опустить");
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N4, "Удалить");
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N12, "Размещение");
    add(itemFlags, N3, "Свойства...");
    add(MF_STRING, N9, "Настройки...");
    add(MF_SEPARATOR, 0, nullptr);
    add(MF_STRING, N7, "Выход");
    SetMenuDefaultItem(menu.get(), N7, FALSE);

    PointerWatchSuspension popupMainPopup(*this, PointerWatchSuspension::OnExit::StaySuspended);
    // The menu closes properly when the user clicks elsewhere only while the
    // panel is the foreground window (tray menus rely on it too).
    SetForegroundWindow(hwnd_);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                        at.x, at.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (command) RunMainCommand(command);
}

void TMainPanel::RunMainCommand(UINT command) {
    switch (command) {
    case N1: N1Click(); break;
    case N3: N3Click(); break;
    case N9: N9Click(); break;
    case N10: MoveClickedItem(-1); break;
    case N11: MoveClickedItem(+1); break;
    case N4: DeleteClickedItem(); break;
    case N12: ShowClickedItemFile(); break;
    case N7: App().Terminate(); break;
    default: break;
    }
}

void TMainPanel::MoveClickedItem(int delta) {
    TItemButton* b = ClickedItemButton();
    if (!b || !b->item) return;
    auto it = std::find_if(Items.begin(), Items.end(), [&](const auto& item) { return item.get() == b->item; });
    if (it == Items.end()) return;
    const auto i = it - Items.begin();
    const auto j = i + delta;
    if (j < 0 || j >= static_cast<long>(Items.size())) return;
    std::swap(Items[i], Items[j]);
    LayoutButtons();
}

void TMainPanel::DeleteClickedItem() {
    TItemButton* b = ClickedItemButton();
    if (!b || !b->item) return;
    TShortCut* item = b->item;
    const std::string question = "Вы действительно хотите\rудалить ярлык " + item->Hint + " (" + item->FileName + ")";
    if (MessageBoxW(hwnd_, win::Widen(question).c_str(), win::Widen("Удаление").c_str(),
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONSTOP) != IDYES)
        return;
    auto it = std::find_if(Items.begin(), Items.end(), [&](const auto& i) { return i.get() == item; });
    if (it != Items.end()) Items.erase(it);
    DeleteItemButton(b);
    ClickedControl = nullptr;
    LayoutButtons();
}

void TMainPanel::DeleteItemButton(TItemButton* button) {
    RemoveTooltip(*button);
    if (hotControl_ == button) hotControl_ = nullptr;
    if (pressedControl_ == button) pressedControl_ = nullptr;
    auto it = std::find_if(buttons_.begin(), buttons_.end(), [&](const auto& b) { return b.get() == button; });
    if (it != buttons_.end()) buttons_.erase(it);
}

void TMainPanel::ShowClickedItemFile() {
    TItemButton* b = ClickedItemButton();
    if (!b || !b->item) return;
    const auto request = ShowFileRequest(b->item->FileName, b->item->WorkDir);
    if (!request) {
        MessageBoxW(hwnd_, win::Widen("Путь не задан").c_str(), kAppTitleW, MB_OK);
        return;
    }
    win::EnsureComApartment();
    ShellExecuteW(nullptr, L"open", L"explorer", win::Widen(request->params).c_str(),
                  win::Widen(request->folder).c_str(), SW_SHOWNORMAL);
}

void TMainPanel::ItemClick(TShortCut& item) {
    EnableTimerMouse(true);
    const std::string message = RunShortCut(item);
    if (!message.empty())
        MessageBoxW(hwnd_, win::Widen(kErrorPrefix + message).c_str(), kAppTitleW, MB_OK);
}

void TMainPanel::SButtonCloseClick() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TMainPanel::SButtonMenuClick() {
    win::UniqueMenu menu(CreatePopupMenu());
    menuItems_.clear();
    for (const auto& item : Items) {
        menuItems_.push_back(item.get());
        AppendMenuW(menu.get(), MF_OWNERDRAW, kItemsMenuFirstId + menuItems_.size() - 1,
                    reinterpret_cast<LPCWSTR>(menuItems_.size() - 1));
    }
    POINT at{SButtonMenu.bounds.left, SButtonMenu.bounds.top};
    ClientToScreen(hwnd_, &at);
    at.x += SButtonMenu.bounds.width + 1;
    at.y -= 1;
    PointerWatchSuspension popupMenuDynPopup(*this, PointerWatchSuspension::OnExit::StaySuspended);
    SetForegroundWindow(hwnd_);
    const UINT command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERNEGANIMATION,
                                        at.x, at.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    std::vector<TShortCut*> entries;
    entries.swap(menuItems_);
    if (command >= kItemsMenuFirstId && command - kItemsMenuFirstId < entries.size())
        ItemClick(*entries[command - kItemsMenuFirstId]);
}

LRESULT TMainPanel::HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp) {
    auto entryItem = [this](ULONG_PTR data) -> TShortCut* {
        return data < menuItems_.size() ? menuItems_[data] : nullptr;
    };
    auto entryText = [](const TShortCut& item) {
        return win::Widen(item.Caption.empty() ? item.FileName : item.Caption);
    };
    switch (msg) {
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        TShortCut* item = m->CtlType == ODT_MENU ? entryItem(m->itemData) : nullptr;
        if (!item) return FALSE;
        win::WindowDC dc(hwnd_);
        win::SelectScope font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
        const std::wstring text = entryText(*item);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        m->itemWidth = std::max(item->Icon.Width(), 16) + 8 + size.cx + 8;
        m->itemHeight = std::max<int>(item->Icon.Height() + 4, size.cy + 6);
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        TShortCut* item = d->CtlType == ODT_MENU ? entryItem(d->itemData) : nullptr;
        if (!item) return FALSE;
        const bool selected = (d->itemState & ODS_SELECTED) != 0;
        FillRect(d->hDC, &d->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
        const RECT& r = d->rcItem;
        // The picture as the strip shows it: its lower-left colour is transparent.
        TBitmap picture(item->Icon.Width(), item->Icon.Height());
        picture.Fill(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
        DrawGlyphImage(picture, 0, 0, item->Icon, 0, 1);
        win::DrawPicture(d->hDC, r.left + 2, r.top + (r.bottom - r.top - picture.Height()) / 2, picture);
        RECT text{r.left + std::max(item->Icon.Width(), 16) + 8, r.top, r.right, r.bottom};
        SetBkMode(d->hDC, TRANSPARENT);
        SetTextColor(d->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        win::SelectScope font(d->hDC, GetStockObject(DEFAULT_GUI_FONT));
        const std::wstring caption = entryText(*item);
        DrawTextW(d->hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        return TRUE;
    }
    case WM_MENUSELECT: {
        // The hint of the highlighted items-menu entry, shown beside it.
        const UINT id = LOWORD(wp);
        HMENU menu = reinterpret_cast<HMENU>(lp);
        const bool entry = !menuItems_.empty() && HIWORD(wp) != 0xFFFF && id >= kItemsMenuFirstId &&
                           id - kItemsMenuFirstId < menuItems_.size();
        if (!entry) {
            ShowMenuHint(nullptr, RECT{});
            return 0;
        }
        RECT r{};
        GetMenuItemRect(hwnd_, menu, id - kItemsMenuFirstId, &r);
        ShowMenuHint(menuItems_[id - kItemsMenuFirstId], r);
        return 0;
    }
    case WM_EXITMENULOOP:
        ShowMenuHint(nullptr, RECT{});
        return 0;
    }
    return 0;
}

void TMainPanel::ShowMenuHint(const TShortCut* item, RECT entry) {
    if (!menuHint_) {
        win::EnsureCommonControls();
        menuHint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                    0, 0, 0, 0, hwnd_, nullptr, App().Module(), nullptr);
        SendMessageW(menuHint_, TTM_SETMAXTIPWIDTH, 0, 400);
        TOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        ti.hwnd = hwnd_;
        ti.uId = 1;
        ti.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(menuHint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd_;
    ti.uId = 1;
    if (!item || item->Hint.empty()) {
        SendMessageW(menuHint_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        return;
    }
    std::wstring text = win::Widen(item->Hint);
    ti.lpszText = text.data();
    SendMessageW(menuHint_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(menuHint_, TTM_TRACKPOSITION, 0, MAKELPARAM(entry.right + 4, entry.top));
    SendMessageW(menuHint_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void TMainPanel::WMDropFiles(HDROP handle) {
    // Released however the handler ends, a failing icon or item included.
    win::UniqueDrop drop(handle);
    const UINT count = win::DroppedFileCount(drop.get());
    std::wstring refused;
    for (UINT i = 0; i < count; ++i) {
        const std::wstring wide = win::DroppedFilePath(drop.get(), i);
        bool lossless = true;
        const std::string path = win::Narrow(wide, &lossless);
        if (!lossless) {
            // Such a name cannot be stored in the item file without changing
            // it; the message names it as the user sees it.
            refused += L"\r" + wide;
            continue;
        }
        auto item = std::make_unique<TShortCut>();
        ExtractFileIcon(item->Icon, path, 0);
        DescribeDroppedFile(*item, path);
        GetCursorPos(&ClickPoint);
        const int at = DropPosition(ButtonTopsOnScreen(), ClickPoint.y);
        TShortCut& added = *item;
        Items.insert(Items.begin() + at, std::move(item));
        AddItemButton(added);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    drop.reset();
    if (!refused.empty()) {
        const std::wstring text =
            win::Widen("Эти файлы нельзя добавить: их имена содержат знаки вне кодовой страницы 1251:") + refused;
        MessageBoxW(nullptr, text.c_str(), App().Title().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
}

}  // namespace tilerack
