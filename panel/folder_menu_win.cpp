// A folder item's menu: built from the folder's listing, submenus filled as
// they open, the chosen entry started.
#include "panel/folder_menu_win.h"

#include <shellapi.h>

#include "common/app_texts.h"
#include "panel/strip_layout.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

constexpr UINT kFirstCommand = 0x4000;
constexpr UINT kLastCommand = 0xBFFF;
// An entry's data: this tag with its icon's index in the system's list.
constexpr ULONG_PTR kIconTag = ULONG_PTR{0xF01} << 20;
constexpr ULONG_PTR kIconMask = (ULONG_PTR{1} << 20) - 1;

bool IsIconData(ULONG_PTR data) { return (data & ~kIconMask) == kIconTag; }

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') return folder + L"\\" + name;
    return folder + name;
}

// A name as a menu shows it: an ampersand is a letter, not a mnemonic.
std::wstring MenuText(const std::wstring& name) {
    std::wstring text;
    text.reserve(name.size());
    for (wchar_t c : name) {
        text += c;
        if (c == L'&') text += L'&';
    }
    return text;
}

// A submenu shown with "Чтение…" keeps the size it opened with: closed and
// opened again by the keys, it is measured anew with its contents.
void ShowAgain(HMENU menu) {
    struct Search {
        HMENU menu;
        HWND window = nullptr;
    } search{menu};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32768") || reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)) != s.menu)
                return TRUE;
            s.window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.window || !IsWindowVisible(search.window)) return;
    PostMessageW(search.window, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageW(search.window, WM_KEYDOWN, VK_RIGHT, 0);
}

void AddDisabled(HMENU menu, const char* text) {
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, win::Widen(text).c_str());
}

}  // namespace

void FolderMenu::Attach(HWND panel) {
    panel_ = panel;
    reader_ = std::make_unique<FolderReader>(panel, win::kFolderListingMessage);
}

void FolderMenu::BeginSession() {
    commands_.clear();
    pending_.clear();
    if (!icons_) {
        SHFILEINFOW info{};
        icons_ = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    }
}

void FolderMenu::EndSession() {
    pending_.clear();
    rootRead_ = 0;
}

bool FolderMenu::OpenBeside(const TFlatButton& button) {
    const TShortCut* item = strip_.ItemOf(button.id);
    if (!item || !button.opensMenu) return false;
    POINT topLeft{button.bounds.left, button.bounds.top};
    ClientToScreen(panel_, &topLeft);
    const RECT beside{topLeft.x, topLeft.y, topLeft.x + button.bounds.width, topLeft.y + button.bounds.height};
    host_.EnableTimerMouse(false);
    Open(win::Widen(item->FileName), beside, host_.OnRightSide());
    return true;
}

bool FolderMenu::OpenAtMark(const TFlatButton& button, Point at) {
    const PanelSide side = host_.OnRightSide() ? PanelSide::Right : PanelSide::Left;
    return button.opensMenu && MenuMarkRect(button.bounds, side, metrics_).Contains(at.x, at.y) && OpenBeside(button);
}

void FolderMenu::Open(const std::wstring& folder, RECT button, bool leftOfButton) {
    if (!reader_) return;
    BeginSession();
    const uint64_t read = reader_->Ask(folder);
    reader_->WaitFor(read, kQuickWait);
    UINT command = 0;
    for (;;) {
        win::UniqueMenu menu(CreatePopupMenu());
        if (std::optional<FolderRead> listing = reader_->Take(read)) {
            Fill(menu.get(), folder, *listing);
            rootRead_ = 0;
        } else {
            AddDisabled(menu.get(), kFolderMenuReading);
            rootRead_ = read;
        }
        reopen_ = false;
        command = Track(menu.get(), button, leftOfButton);
        // Shown with "Чтение…" and closed as the listing came: shown again with it.
        if (command || !reopen_) break;
    }
    EndSession();
    if (command) Run(command);
}

UINT FolderMenu::Track(HMENU menu, RECT button, bool leftOfButton) {
    TPMPARAMS beside{};
    beside.cbSize = sizeof(beside);
    beside.rcExclude = button;  // the menu never covers its button
    const UINT align = leftOfButton ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int x = leftOfButton ? button.left : button.right;
    SetForegroundWindow(panel_);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_TOPALIGN | align, x, button.top, panel_, &beside));
    PostMessageW(panel_, WM_NULL, 0, 0);
    return command;
}

HMENU FolderMenu::Submenu(const std::wstring& folder) {
    HMENU menu = CreatePopupMenu();
    pending_.push_back(Pending{menu, folder, 0, false});
    return menu;
}

bool FolderMenu::Run(UINT command) {
    if (command < kFirstCommand || command - kFirstCommand >= commands_.size()) return false;
    const Command chosen = commands_[command - kFirstCommand];
    commands_.clear();
    host_.StartFile(chosen.file, chosen.folder);
    return true;
}

bool FolderMenu::AnswerMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_INITMENUPOPUP:
        SubmenuOpening(reinterpret_cast<HMENU>(wp));
        return false;
    case WM_MEASUREITEM:
        if (!Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return false;
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (!Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return false;
        result = TRUE;
        return true;
    case win::kFolderListingMessage:
        ListingRead(static_cast<uint64_t>(lp));
        result = 0;
        return true;
    default:
        return false;
    }
}

// A folder's submenu opens: read now (a moment's wait), or "Чтение…" until
// its listing comes.
void FolderMenu::SubmenuOpening(HMENU menu) {
    for (Pending& p : pending_) {
        if (p.menu != menu || p.filled || p.read) continue;
        p.read = reader_->Ask(p.folder);
        reader_->WaitFor(p.read, kQuickWait);
        if (std::optional<FolderRead> listing = reader_->Take(p.read)) {
            p.filled = true;
            // Filling adds submenus to the list: `p` is not used past here.
            const std::wstring folder = p.folder;
            Fill(menu, folder, *listing);
        } else {
            AddDisabled(menu, kFolderMenuReading);
        }
        return;
    }
}

void FolderMenu::ListingRead(uint64_t id) {
    if (id == rootRead_ && rootRead_) {
        reopen_ = true;
        EndMenu();
        return;
    }
    for (Pending& p : pending_) {
        if (p.read != id || p.filled) continue;
        std::optional<FolderRead> listing = reader_->Take(id);
        if (!listing) return;
        p.filled = true;
        const HMENU menu = p.menu;
        const std::wstring folder = p.folder;  // filling adds submenus to the list
        DeleteMenu(menu, 0, MF_BYPOSITION);    // "Чтение…"
        Fill(menu, folder, *listing);
        ShowAgain(menu);
        return;
    }
    reader_->Take(id);  // a read nobody waits for any more
}

void FolderMenu::Fill(HMENU menu, const std::wstring& folder, const FolderRead& read) {
    if (!read.readable) return AddDisabled(menu, kFolderMenuUnreadable);
    if (read.listing.entries.empty()) return AddDisabled(menu, kFolderMenuEmpty);
    for (const FolderEntry& entry : read.listing.entries) AddEntry(menu, folder, entry);
    if (!read.listing.more) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, AddCommand(folder, folder), win::Widen(kFolderMenuMore).c_str());
}

void FolderMenu::AddEntry(HMENU menu, const std::wstring& folder, const FolderEntry& entry) {
    const std::wstring path = Joined(folder, entry.name);
    std::wstring text = MenuText(entry.display);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA | MIIM_BITMAP;
    info.dwTypeData = text.data();
    info.wID = AddCommand(path, entry.folder ? path : folder);
    info.dwItemData = kIconTag | (entry.icon >= 0 ? static_cast<ULONG_PTR>(entry.icon) & kIconMask : kIconMask);
    info.hbmpItem = HBMMENU_CALLBACK;
    if (entry.folder) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = Submenu(path);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
}

UINT FolderMenu::AddCommand(std::wstring file, std::wstring folder) {
    if (kFirstCommand + commands_.size() > kLastCommand) return 0;
    commands_.push_back(Command{std::move(file), std::move(folder)});
    return kFirstCommand + static_cast<UINT>(commands_.size() - 1);
}

bool FolderMenu::Measure(MEASUREITEMSTRUCT& entry) const {
    if (entry.CtlType != ODT_MENU || !IsIconData(entry.itemData)) return false;
    entry.itemWidth = GetSystemMetrics(SM_CXSMICON);
    entry.itemHeight = GetSystemMetrics(SM_CYSMICON);
    return true;
}

bool FolderMenu::Draw(const DRAWITEMSTRUCT& entry) const {
    if (entry.CtlType != ODT_MENU || !IsIconData(entry.itemData)) return false;
    const ULONG_PTR icon = entry.itemData & kIconMask;
    if (!icons_ || icon == kIconMask) return true;
    const int size = GetSystemMetrics(SM_CYSMICON);
    const int top = entry.rcItem.top + (entry.rcItem.bottom - entry.rcItem.top - size) / 2;
    ImageList_Draw(icons_, static_cast<int>(icon), entry.hDC, entry.rcItem.left, top, ILD_TRANSPARENT);
    return true;
}

}  // namespace tilerack
