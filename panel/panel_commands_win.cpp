// Presses on the strip, the context menu's item commands, the items menu,
// and the handlers that hand starts and dropped files to their collaborators.
#include <windows.h>
#include <shellapi.h>

#include "common/app_texts.h"
#include "panel/item_insert.h"
#include "panel/sysmain.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

namespace tilerack {

void TMainPanel::FormMouseDown(const TFlatButton* sender, int button, POINT clientPoint) {
    EnableTimerMouse(true);
    if (button != VK_RBUTTON) return;
    POINT cursor;
    GetCursorPos(&cursor);
    OpenContextMenu(sender, clientPoint, cursor);
}

void TMainPanel::OpenContextMenu(const TFlatButton* sender, POINT clientPoint, POINT menuAt) {
    EnableTimerMouse(true);
    ClickedControl = sender ? sender->id : kNoButton;
    menus_.EnableItemCommands(strip_.ItemOf(ClickedControl) != nullptr);
    POINT screen = clientPoint;
    ClientToScreen(hwnd_, &screen);
    ClickPoint = screen;
    menus_.PopupMain(menuAt);
}

void TMainPanel::InsertAtClick(std::unique_ptr<TShortCut> item) {
    POINT at = ClickPoint;
    ScreenToClient(hwnd_, &at);
    AddItemButton(strip_.InsertItem(static_cast<size_t>(InsertPosition(strip_.ItemTops(), at.y)), std::move(item)),
                  true);
}

void TMainPanel::MoveClickedItem(int delta) {
    const TShortCut* item = strip_.ItemOf(ClickedControl);
    const std::optional<size_t> at = item ? Items.IndexOf(item) : std::nullopt;
    if (at) MoveItemTo(*item, static_cast<int>(*at) + delta);
}

void TMainPanel::DeleteClickedItem() {
    const TShortCut* item = strip_.ItemOf(ClickedControl);
    if (!item) return;
    const std::string question =
        kDeleteQuestionHead + item->Hint + kDeleteQuestionFileHead + item->FileName + kDeleteQuestionTail;
    if (MessageBoxW(hwnd_, win::Widen(question).c_str(), win::Widen(kDeleteCaption).c_str(),
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONSTOP) != IDYES)
        return;
    drops_.ForgetPicture(item);
    if (strip_.RemoveItem(item)) LayoutButtons();
    ClickedControl = kNoButton;
}

void TMainPanel::ShowClickedItemFile() {
    const TShortCut* item = strip_.ItemOf(ClickedControl);
    if (!item) return;
    const auto request = ShowFileRequest(item->FileName, item->WorkDir);
    if (!request) {
        MessageBoxW(hwnd_, win::Widen(kShowFileNoPath).c_str(), kAppTitleW, MB_OK);
        return;
    }
    win::EnsureComApartment();
    ShellExecuteW(nullptr, L"open", L"explorer", win::Widen(request->params).c_str(),
                  win::Widen(request->folder).c_str(), SW_SHOWNORMAL);
}

// A click, Enter or the items menu: Ctrl+Shift held starts the item as
// administrator.
void TMainPanel::ItemClick(TShortCut& item) { starts_.StartAsKeysSay(item); }

void TMainPanel::SButtonCloseClick() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TMainPanel::SButtonMenuClick() {
    POINT at{SButtonMenu.bounds.left, SButtonMenu.bounds.top};
    ClientToScreen(hwnd_, &at);
    at.x += SButtonMenu.bounds.width + 1;
    at.y -= 1;
    TShortCut* chosen = nullptr;
    {
        PointerWatchSuspension popupMenuDynPopup(*this, PointerWatchSuspension::OnExit::StaySuspended);
        sharpIcons_.Request(/*everyItem=*/true);
        chosen = menus_.ChooseItem(at);
    }
    if (chosen) ItemClick(*chosen);
}

// Files dropped the shell's plain way, where the panel is no drop target.
void TMainPanel::WMDropFiles(HDROP drop) { drops_.TakeShellDrop(drop); }

}  // namespace tilerack
