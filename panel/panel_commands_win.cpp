// Presses on the strip, the context menu's item commands, the items menu,
// starting items and dropped files.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "items/launcher.h"
#include "items/separator.h"
#include "common/app_texts.h"
#include "items/separator.h"
#include "panel/item_insert.h"
#include "panel/open_with_win.h"
#include "panel/strip_layout.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/com_apartment.h"
#include "platform/dropped_files.h"
#include "platform/text.h"

namespace tilerack {

namespace {

win::Application& App() { return win::Application::Instance(); }

}  // namespace

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
    dropPictures_.Forget(item);
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

// A click (or Enter) with Ctrl+Shift held starts the item as administrator.
void TMainPanel::ItemClick(TShortCut& item) {
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    StartItem(item, VerbForModifiers(control, shift), {});
}

void TMainPanel::StartItem(const TShortCut& item, LaunchVerb verb, const std::vector<std::string>& files) {
    EnableTimerMouse(true);
    if (IsSeparator(item)) return;  // a separator starts nothing
    const std::string message = RunShortCut(item, verb, files);
    if (!message.empty())
        MessageBoxW(hwnd_, win::Widen(kErrorPrefix + message).c_str(), kAppTitleW, MB_OK);
}

PanelMenus::ItemStarts TMainPanel::ClickedItemStarts() const {
    using Starts = PanelMenus::ItemStarts;
    const TShortCut* item = strip_.ItemOf(ClickedControl);
    if (!item || IsSeparator(*item)) return Starts::None;
    return StartsAProgram(*item) ? Starts::Program : Starts::Item;
}

void TMainPanel::RunClickedItemAsAdministrator() {
    if (const TShortCut* item = strip_.ItemOf(ClickedControl)) StartItem(*item, LaunchVerb::RunAs, {});
}

void TMainPanel::OpenFileWithClickedItem() {
    const TShortCut* item = strip_.ItemOf(ClickedControl);
    if (!item) return;
    std::optional<std::string> file;
    {
        PointerWatchSuspension dialog(*this, PointerWatchSuspension::OnExit::StaySuspended);
        file = ChooseFileToOpen(hwnd_);
    }
    // The item may have gone while the dialog was open.
    item = strip_.ItemOf(ClickedControl);
    if (file && item) StartItem(*item, LaunchVerb::Open, {*file});
}

void TMainPanel::ItemClickAt(TShortCut& item, Point at) {
    const TItemButton* b = item.Button;
    if (b && b->opensMenu && MenuMarkRect(b->bounds, settings_.side, metrics_).Contains(at.x, at.y))
        OpenFolderMenu(*b);
    else
        ItemClick(item);
}

bool TMainPanel::OpenFolderMenu(const TFlatButton& button) {
    const TShortCut* item = strip_.ItemOf(button.id);
    if (!item || !button.opensMenu) return false;
    POINT topLeft{button.bounds.left, button.bounds.top};
    ClientToScreen(hwnd_, &topLeft);
    const RECT beside{topLeft.x, topLeft.y, topLeft.x + button.bounds.width, topLeft.y + button.bounds.height};
    // The panel stays in while the menu is open, as for the items menu.
    PointerWatchSuspension folderMenuPopup(*this, PointerWatchSuspension::OnExit::StaySuspended);
    folderMenu_.Open(win::Widen(item->FileName), beside, settings_.side == PanelSide::Right);
    return true;
}

void TMainPanel::StartFolderEntry(const std::wstring& file, const std::wstring& folder) {
    TShortCut entry;
    entry.FileName = win::Narrow(file);
    entry.WorkDir = win::Narrow(folder);
    ItemClick(entry);
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
        sharpIcons_.Request(/*everyItem=*/true);
        chosen = menus_.ChooseItem(at);
    }
    if (chosen) ItemClick(*chosen);
}

void TMainPanel::WMDropFiles(HDROP handle) {
    // Released however the handler ends, a failing icon or item included.
    win::UniqueDrop drop(handle);
    std::vector<std::string> paths;
    for (const std::wstring& path : win::DroppedFilePaths(drop.get())) paths.push_back(win::Narrow(path));
    // Some systems send this besides the drop target's drop of the same
    // files; others send only this, the target registered or not.
    if (!drops_.TakesShellDrop(paths)) return;
    POINT at{};
    GetCursorPos(&at);
    DropFiles(paths, at);
}

void TMainPanel::DropFiles(const std::vector<std::string>& paths, POINT at) {
    for (const std::string& path : paths) {
        auto item = std::make_unique<TShortCut>();
        dropPictures_.Ask(hwnd_, win::kDropPicturesMessage, *item, path, win::ToColorRef(settings_.color));
        DescribeDroppedFile(*item, path);
        ClickPoint = at;
        POINT client = at;
        ScreenToClient(hwnd_, &client);
        AddItemButton(
            strip_.InsertItem(static_cast<size_t>(DropPosition(strip_.ItemTops(), client.y)), std::move(item)), true);
    }
    // Painted once the whole drop has joined the strip, not after each file.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace tilerack
