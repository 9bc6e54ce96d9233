// The pointer on the strip, the context menu, the items menu, starting items
// and dropped files.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "items/launcher.h"
#include "common/app_texts.h"
#include "panel/item_insert.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/com_apartment.h"
#include "platform/dropped_files.h"
#include "platform/text.h"

namespace tilerack {

namespace {

win::Application& App() { return win::Application::Instance(); }

enum MainCommand : UINT {
    N1 = 1, N3 = 3, N4 = 4, N7 = 7, N9 = 9, N10 = 10, N11 = 11, N12 = 12,
    // The entries of the screen menu: this plus the screen's index.
    kFirstScreenCommand = 100, kLastScreenCommand = 199,
};

}  // namespace

void TMainPanel::OnMouseMove(POINT p) {
    if (DragMove(p)) return;
    TFlatButton* over = router_.Move(p);
    if (over == &SButtonHide || over == &SButtonMenu) SButtonHideMouseMove();
}

void TMainPanel::OnLeftDown(POINT p) {
    TFlatButton* over = HitTest(p);
    FormMouseDown(over, VK_LBUTTON, p);
    router_.Press(over);
    PressForDrag(over, p);
}

void TMainPanel::OnLeftUp(POINT p) {
    if (!DragRelease(p)) router_.Release(p);
}

bool TMainPanel::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    const TFlatButton* over = HitTest(p);
    SetCursor(LoadCursorW(nullptr, over && over->handCursor ? IDC_HAND : IDC_ARROW));
    return true;
}

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
    itemCommandsEnabled_ = ClickedItem() != nullptr;
    POINT screen = clientPoint;
    ClientToScreen(hwnd_, &screen);
    ClickPoint = screen;
    PopupMainAt(menuAt);
}

// The item whose button the last right press was on, while it is listed.
TShortCut* TMainPanel::ClickedItem() const {
    const ItemEntry* entry = strip_.EntryOf(ClickedControl);
    return entry ? entry->item.get() : nullptr;
}

void TMainPanel::PopupMainAt(POINT at) {
    win::UniqueMenu menu(CreatePopupMenu());
    const UINT itemFlags = MF_STRING | (itemCommandsEnabled_ ? MF_ENABLED : MF_GRAYED);
    auto add = [&](UINT flags, UINT id, const char* text) {
        AppendMenuW(menu.get(), flags, id, text ? win::Widen(text).c_str() : nullptr);
    };
    add(MF_STRING, N1, kMenuCreateItem);
    add(itemFlags, N10, kMenuMoveUp);
    add(itemFlags, N11, kMenuMoveDown);
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N4, kMenuDelete);
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N12, kMenuShowFile);
    add(itemFlags, N3, kMenuProperties);
    add(MF_STRING, N9, kMenuSettings);
    // With two screens or more: the screen the panel stands on, one entry each.
    win::UniqueMenu screens;
    const std::vector<Screen>& list = dock_.Screens();
    if (list.size() > 1) {
        screens.reset(CreatePopupMenu());
        const int current = dock_.Plan(settings_.side).screen;
        for (size_t i = 0; i < list.size() && kFirstScreenCommand + i <= kLastScreenCommand; ++i)
            AppendMenuW(screens.get(), MF_STRING | (static_cast<int>(i) == current ? MF_CHECKED : 0),
                        kFirstScreenCommand + i, ScreenEntryText(static_cast<int>(i) + 1, list[i]).c_str());
        // The submenu is the menu's from here on and goes with it.
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(screens.release()),
                    win::Widen(kMenuScreens).c_str());
    }
    add(MF_SEPARATOR, 0, nullptr);
    add(MF_STRING, N7, kMenuExit);
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
    default:
        if (command >= kFirstScreenCommand && command <= kLastScreenCommand) ChooseScreen(command - kFirstScreenCommand);
        break;
    }
}

void TMainPanel::MoveClickedItem(int delta) {
    const TShortCut* item = ClickedItem();
    const std::optional<size_t> at = item ? Items.IndexOf(item) : std::nullopt;
    if (at) MoveItemTo(*item, static_cast<int>(*at) + delta);
}

void TMainPanel::DeleteClickedItem() {
    TShortCut* item = ClickedItem();
    if (!item) return;
    const std::string question =
        kDeleteQuestionHead + item->Hint + kDeleteQuestionFileHead + item->FileName + kDeleteQuestionTail;
    if (MessageBoxW(hwnd_, win::Widen(question).c_str(), win::Widen(kDeleteCaption).c_str(),
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONSTOP) != IDYES)
        return;
    RemoveItem(*item);
}

void TMainPanel::ShowClickedItemFile() {
    const TShortCut* item = ClickedItem();
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

void TMainPanel::ItemClick(TShortCut& item) {
    EnableTimerMouse(true);
    const std::string message = RunShortCut(item);
    if (!message.empty())
        MessageBoxW(hwnd_, win::Widen(kErrorPrefix + message).c_str(), kAppTitleW, MB_OK);
}

void TMainPanel::SButtonCloseClick() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TMainPanel::SButtonMenuClick() {
    POINT at{SButtonMenu.bounds.left, SButtonMenu.bounds.top};
    ClientToScreen(hwnd_, &at);
    at.x += SButtonMenu.bounds.width + 1;
    at.y -= 1;
    TShortCut* chosen = nullptr;
    {
        PointerWatchSuspension popupMenuDynPopup(*this, PointerWatchSuspension::OnExit::StaySuspended);
        RequestSharpIcons(/*everyItem=*/true);
        chosen = itemsMenu_.Choose(hwnd_, at);
    }
    if (chosen) ItemClick(*chosen);
}

void TMainPanel::WMDropFiles(HDROP handle) {
    // Released however the handler ends, a failing icon or item included.
    win::UniqueDrop drop(handle);
    const UINT count = win::DroppedFileCount(drop.get());
    for (UINT i = 0; i < count; ++i) {
        const std::string path = win::Narrow(win::DroppedFilePath(drop.get(), i));
        auto item = std::make_unique<TShortCut>();
        dropPictures_.Ask(hwnd_, win::kDropPicturesMessage, *item, path, win::ToColorRef(settings_.color));
        DescribeDroppedFile(*item, path);
        GetCursorPos(&ClickPoint);
        AddItem(static_cast<size_t>(DropPosition(ButtonTopsOnScreen(), ClickPoint.y)), std::move(item));
    }
    // Painted once the whole drop has joined the strip, not after each file.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace tilerack
