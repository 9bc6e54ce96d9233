// Files dragged from the shell onto the strip: the mark, the cursor, the drop.
#include "panel/file_drops_win.h"

#include <algorithm>

#include "common/app_texts.h"
#include "items/separator.h"
#include "panel/arrange_by_drag_win.h"
#include "panel/item_insert.h"
#include "panel/open_with_win.h"
#include "platform/com_apartment.h"
#include "platform/dropped_files.h"
#include "platform/handles.h"
#include "platform/popup_menu.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

enum DropMenuCommand : UINT { kOpenWithItem = 1, kAddToPanel = 2 };

bool NamesAShortcut(const std::string& file) {
    if (file.size() < 4) return false;
    std::string extension = file.substr(file.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".lnk";
}

bool AllShortcuts(const std::vector<std::string>& files) {
    return !files.empty() && std::all_of(files.begin(), files.end(), NamesAShortcut);
}

// The shown entries of the strip, from the first shown on, at their rows.
std::vector<StripEntrySpan> ShownEntrySpans(const ButtonStrip& strip) {
    std::vector<StripEntrySpan> spans;
    const ItemList& items = strip.Items();
    for (size_t i = static_cast<size_t>(strip.FirstShown()); i < items.Count(); ++i) {
        const ItemEntry& entry = items.At(i);
        if (!entry.button.visible) break;
        const bool separator = IsSeparator(*entry.item);
        spans.push_back({entry.button.bounds.top, entry.button.bounds.height, separator,
                         !separator && StartsAProgram(*entry.item)});
    }
    return spans;
}

// Whether a process's token is an administrator's elevated one; nothing
// where it cannot be read.
std::optional<bool> Elevated(HANDLE process) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
    const win::UniqueKernelObject token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return std::nullopt;
    return elevation.TokenIsElevated != 0;
}

// The panel runs elevated while the shell (the file manager's process)
// does not: the system keeps the shell's drops from reaching it then.
bool ShellDropsBlocked() {
    if (Elevated(GetCurrentProcess()) != true) return false;
    DWORD shellId = 0;
    const HWND shell = GetShellWindow();
    if (!shell || !GetWindowThreadProcessId(shell, &shellId)) return false;
    const win::UniqueKernelObject process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId));
    return process && Elevated(process.get()) == false;
}

}  // namespace

bool FileDrops::Register() {
    if (target_) return true;
    if (!panel_ || !win::EnsureOleApartment()) return false;
    auto* target = new OleDropTarget(this);
    if (FAILED(RegisterDragDrop(panel_, target))) {
        target->Disconnect();
        target->Release();
        return false;
    }
    target_ = target;
    return true;
}

void FileDrops::TellIfElevated() const {
    if (ShellDropsBlocked()) PostMessageW(panel_, win::kElevatedNoticeMessage, 0, 0);
}

void FileDrops::OnElevatedNotice() const {
    MessageBoxW(panel_, win::Widen(kElevatedNoDrops).c_str(), kAppTitleW, MB_OK | MB_ICONINFORMATION);
}

void FileDrops::Release() {
    if (!target_) return;
    if (panel_ && IsWindow(panel_)) RevokeDragDrop(panel_);
    target_->Disconnect();
    target_->Release();
    target_ = nullptr;
}

DWORD FileDrops::DragEntered(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) {
    files_ = std::move(files);
    spans_ = files_.empty() ? std::vector<StripEntrySpan>{} : ShownEntrySpans(strip_);
    return DraggedOver(keys, screen, allowed);
}

DWORD FileDrops::DraggedOver(DWORD keys, POINT screen, DWORD allowed) {
    if (files_.empty()) return DROPEFFECT_NONE;
    rightButton_ = (keys & MK_RBUTTON) != 0;
    Show(AimAt(screen));
    return Effect(allowed);
}

// A file is copied onto the panel as an item; a shortcut is linked.
DWORD FileDrops::Effect(DWORD allowed) const {
    const DWORD preferred = AllShortcuts(files_) ? DROPEFFECT_LINK : DROPEFFECT_COPY;
    for (const DWORD effect : {preferred, DWORD{DROPEFFECT_COPY}, DWORD{DROPEFFECT_LINK}})
        if (allowed & effect) return effect;
    return DROPEFFECT_NONE;
}

FileDrops::Aim FileDrops::AimAt(POINT screen) const {
    POINT client = screen;
    ScreenToClient(panel_, &client);
    const DropPlace place = DropPlaceAt(client.y, spans_);
    if (place.onItem >= 0 && (rightButton_ || host_.DropOpens()))
        return Aim{-1, strip_.FirstShown() + place.onItem};
    return Aim{DropPosition(strip_.ItemTops(), client.y), -1};
}

void FileDrops::Show(const Aim& aim) {
    if (aim == aim_) return;
    aim_ = aim;
    host_.Invalidate();
}

void FileDrops::Forget() {
    files_.clear();
    spans_.clear();
    Show(Aim{});
}

void FileDrops::OrderChanged() {
    if (!files_.empty()) spans_ = ShownEntrySpans(strip_);
}

DWORD FileDrops::Dropped(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) {
    if (files.empty()) files = files_;
    // The drop comes as the button is let go: the drag's own button counts.
    const bool rightButton = rightButton_ || (keys & MK_RBUTTON) != 0;
    const Aim aim = aim_.gap < 0 && aim_.program < 0 ? AimAt(screen) : aim_;
    const DWORD effect = files.empty() ? DROPEFFECT_NONE : Effect(allowed);
    Forget();
    if (files.empty()) return DROPEFFECT_NONE;
    // Taken before any menu: the plain drop some systems send besides may
    // come while it is open.
    if (!arrivals_.TakeNew(DropWay::DropTarget, files, GetTickCount64())) return effect;
    const ItemList& items = strip_.Items();
    if (aim.program >= 0 && static_cast<size_t>(aim.program) < items.Count()) {
        const TShortCut& program = *items.At(static_cast<size_t>(aim.program)).item;
        const std::optional<bool> open = rightButton ? AskOpenOrAdd(program, screen) : std::optional<bool>(true);
        if (!open) return DROPEFFECT_NONE;
        if (*open) {
            host_.OpenWith(program, files);
            return effect;
        }
    }
    InsertFiles(files, screen);
    return effect;
}

void FileDrops::TakeShellDrop(HDROP handle) {
    // Released however the handler ends, a failing icon or item included.
    win::UniqueDrop drop(handle);
    std::vector<std::string> paths;
    for (const std::wstring& path : win::DroppedFilePaths(drop.get())) paths.push_back(win::Narrow(path));
    // Some systems send this besides the drop target's drop of the same
    // files; others send only this, the target registered or not.
    if (!arrivals_.TakeNew(DropWay::ShellDrop, paths, GetTickCount64())) return;
    POINT at{};
    GetCursorPos(&at);
    InsertFiles(paths, at);
}

void FileDrops::InsertFiles(const std::vector<std::string>& paths, POINT at) {
    for (const std::string& path : paths) {
        auto item = std::make_unique<TShortCut>();
        pictures_.Ask(panel_, win::kDropPicturesMessage, *item, path, host_.PanelColor());
        DescribeDroppedFile(*item, path);
        POINT client = at;
        ScreenToClient(panel_, &client);
        host_.InsertItem(static_cast<size_t>(DropPosition(strip_.ItemTops(), client.y)), std::move(item), at);
    }
    // Painted once the whole drop has joined the strip, not after each file.
    RedrawWindow(panel_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

std::optional<bool> FileDrops::AskOpenOrAdd(const TShortCut& item, POINT screen) const {
    win::UniqueMenu menu(CreatePopupMenu());
    const std::string name = item.Caption.empty() ? item.FileName : item.Caption;
    AppendMenuW(menu.get(), MF_STRING, kOpenWithItem, win::Widen(kDropMenuOpenHead + name + kDropMenuOpenTail).c_str());
    AppendMenuW(menu.get(), MF_STRING, kAddToPanel, win::Widen(kDropMenuAdd).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDCANCEL, win::Widen(kDropMenuCancel).c_str());
    SetMenuDefaultItem(menu.get(), kOpenWithItem, FALSE);
    host_.EnableTimerMouse(false);
    const UINT chosen = win::ChooseFromPopupMenu(panel_, menu.get(), screen);
    host_.EnableTimerMouse(true);
    if (chosen == kOpenWithItem) return true;
    if (chosen == kAddToPanel) return false;
    return std::nullopt;
}

void FileDrops::PaintMark(HDC dc) const {
    const ItemList& items = strip_.Items();
    if (aim_.gap >= 0) PaintGapBar(dc, strip_, aim_.gap, metrics_);
    if (aim_.program < 0 || static_cast<size_t>(aim_.program) >= items.Count()) return;
    // The program's button framed in the bar's black and thickness.
    const Rect& b = items.At(static_cast<size_t>(aim_.program)).button.bounds;
    const int thick = metrics_.scale.Scale(2);
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT sides[] = {{b.left, b.top, b.Right(), b.top + thick},
                          {b.left, b.Bottom() - thick, b.Right(), b.Bottom()},
                          {b.left, b.top, b.left + thick, b.Bottom()},
                          {b.Right() - thick, b.top, b.Right(), b.Bottom()}};
    for (const RECT& side : sides) FillRect(dc, &side, black);
}

}  // namespace tilerack
