// The panel from the keyboard: the hot key, the focus on the strip, the keys
// on it, type-to-find and the focus given back.
#include "panel/keyboard_use_win.h"

#include <string>
#include <vector>

#include "common/app_texts.h"
#include "items/separator.h"
#include "items/shortcut.h"
#include "panel/number_keys.h"
#include "platform/text.h"
#include "platform/window_base.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

bool OwnThreadWindow(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// The digit of a digit key on the main keys or the number pad, or -1.
int DigitOfKey(UINT key) {
    if (key >= '0' && key <= '9') return static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<int>(key - VK_NUMPAD0);
    return -1;
}

}  // namespace

void KeyboardUse::RegisterHotKey(int32_t value) {
    if (hotKey_.Register(panel_, value) == PanelHotKey::Outcome::Taken)
        PostMessageW(panel_, win::kHotKeyTakenMessage, 0, 0);
}

void KeyboardUse::Release() {
    hotKey_.Unregister();
    focus_ = kNoButton;
}

void KeyboardUse::HotKeyPressed() {
    // A dialog of the panel is open: it keeps the keyboard.
    if (!IsWindowEnabled(panel_)) return;
    const HWND foreground = GetForegroundWindow();
    if (foreground && foreground != panel_ && !OwnThreadWindow(foreground)) focusReturn_ = foreground;
    inUse_ = true;
    host_.BringOutForKeyboard();
    SetForegroundWindow(panel_);
    SetFocus(panel_);
    const ItemList& items = strip_.Items();
    FocusItemButton(items.Empty() ? nullptr : &items.At(0).button);
    host_.Invalidate();
}

void KeyboardUse::OnHotKey(int id) {
    if (id == PanelHotKey::kId) HotKeyPressed();
}

// Posted by RegisterHotKey: the chord another program holds, told once.
void KeyboardUse::OnHotKeyTaken() {
    if (!hotKey_.Chord()) return;
    MessageBoxW(nullptr, win::Widen(HotKeyTakenMessage(*hotKey_.Chord())).c_str(), kAppTitleW, MB_OK | MB_ICONWARNING);
}

bool KeyboardUse::KeyPressed(UINT key, bool system) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // With Ctrl the focused item moves instead of the focus.
    const auto focusOrItem = [&](FocusMove move) {
        if (control) MoveFocusedItem(move);
        else MoveFocus(move);
        return true;
    };
    switch (key) {
    case VK_UP: return focusOrItem(FocusMove::Previous);
    // Alt+Down: the focused folder's menu.
    case VK_DOWN: return system ? OpenFocusedFolderMenu() : focusOrItem(FocusMove::Next);
    case VK_RIGHT:
    case VK_LEFT:
        // Away from the screen edge: the focused folder's menu.
        if (system || control || (key == VK_LEFT) != host_.OnRightSide()) return false;
        return OpenFocusedFolderMenu();
    case VK_HOME: return focusOrItem(FocusMove::First);
    case VK_END: return focusOrItem(FocusMove::Last);
    case VK_RETURN:
    case VK_SPACE:
        if (system) return false;
        inUse_ = true;
        // Exactly a click on it.
        if (const TItemButton* focused = FocusButton(); focused && focused->onClick) focused->onClick();
        return true;
    case VK_APPS:
        ContextMenu();
        return true;
    case VK_F10:
        if (!shift) return false;
        ContextMenu();
        return true;
    case VK_ESCAPE:
        if (system) return false;
        HideByKeyboard();
        return true;
    default:
        if (system || DigitOfKey(key) < 0) return false;
        StartByDigit(DigitOfKey(key));
        return true;
    }
}

std::vector<int> KeyboardUse::NumberedItems() const {
    const ItemList& items = strip_.Items();
    std::vector<bool> separators;
    separators.reserve(items.Count());
    int shown = 0;
    for (const auto& entry : items) {
        separators.push_back(IsSeparator(*entry->item));
        if (entry->button.visible) ++shown;
    }
    return tilerack::NumberedItems(separators, strip_.FirstShown(), shown);
}

int KeyboardUse::DigitOf(ButtonId button) const {
    const ItemEntry* entry = strip_.EntryOf(button);
    const std::optional<size_t> at = entry ? strip_.Items().IndexOf(entry->item.get()) : std::nullopt;
    return at ? tilerack::DigitOf(static_cast<int>(*at), NumberedItems()) : -1;
}

// Exactly Enter on that item: it takes the focus and is clicked.
void KeyboardUse::StartByDigit(int digit) {
    inUse_ = true;
    const int index = ItemForDigit(digit, NumberedItems());
    if (index < 0) return;
    TItemButton& button = strip_.Items().At(static_cast<size_t>(index)).button;
    FocusItemButton(&button);
    if (button.onClick) button.onClick();
}

int KeyboardUse::FocusedItemIndex() const {
    const TItemButton* focused = FocusButton();
    const std::optional<size_t> at = focused ? strip_.Items().IndexOf(focused->item) : std::nullopt;
    return at ? static_cast<int>(*at) : -1;
}

TItemButton* KeyboardUse::FocusButton() const {
    ItemEntry* entry = strip_.EntryOf(focus_);
    return entry ? &entry->button : nullptr;
}

void KeyboardUse::MoveFocusedItem(FocusMove move) {
    inUse_ = true;
    const TItemButton* focused = FocusButton();
    if (!focused) return;
    const int from = FocusedItemIndex();
    const int to = MoveItemFocus(from, move, static_cast<int>(strip_.Items().Count()));
    if (to == from) return;
    host_.MoveItemTo(*focused->item, to);
    // The focus stays on the item; a screen reader hears where it is now.
    if (GetFocus() == panel_) host_.TellFocus(*focused);
}

void KeyboardUse::TypeToFindLetter(wchar_t letter) {
    const ItemList& items = strip_.Items();
    // Control characters, and the space that starts the focused item.
    if (letter <= L' ' || items.Empty()) return;
    // Digits start items (StartByDigit); they never find.
    if (letter >= L'0' && letter <= L'9') return;
    // A letter code page 1251 has: the names are matched on those.
    const std::string narrow = win::Narrow(std::wstring(1, letter));
    if (narrow.size() != 1) return;
    inUse_ = true;
    std::vector<std::string> names;
    names.reserve(items.Count());
    // A separator has no name to be found by.
    for (const auto& entry : items)
        names.push_back(entry->button.separator ? std::string()
                                                : SearchName(entry->item->Caption, entry->item->FileName));
    const int current = FocusedItemIndex();
    const int found = typeToFind_.Type(narrow[0], static_cast<uint32_t>(GetMessageTime()), names, current);
    if (found != current && found >= 0) FocusItemButton(&items.At(static_cast<size_t>(found)).button);
}

void KeyboardUse::MoveFocus(FocusMove move) {
    inUse_ = true;
    const ItemList& items = strip_.Items();
    const int index = MoveItemFocus(FocusedItemIndex(), move, static_cast<int>(items.Count()));
    FocusItemButton(index >= 0 ? &items.At(static_cast<size_t>(index)).button : nullptr);
}

void KeyboardUse::FocusItemButton(const TItemButton* button) {
    focus_ = button ? button->id : kNoButton;
    ScrollToFocus();
    host_.Invalidate();
    if (button && GetFocus() == panel_) host_.TellFocus(*button);
}

void KeyboardUse::Select(const TItemButton& button) {
    inUse_ = true;
    FocusItemButton(&button);
}

void KeyboardUse::KeepFocusInSight() {
    if (FocusButton()) ScrollToFocus();
}

void KeyboardUse::ScrollToFocus() {
    const int shown = strip_.FirstShown();
    const int first = host_.Rows().FirstShownFor(shown, FocusedItemIndex());
    if (first != shown) host_.ScrollStripTo(first);
}

void KeyboardUse::ContextMenu() {
    inUse_ = true;
    const TFlatButton* sender = FocusButton();
    POINT at{win::ClientSize(panel_).cx / 2, strip_.Hide().bounds.Bottom() + 1};
    if (sender)
        at = POINT{sender->bounds.left + sender->bounds.width / 2, sender->bounds.top + sender->bounds.height / 2};
    const POINT clientPoint = at;
    ClientToScreen(panel_, &at);
    host_.OpenContextMenu(sender, clientPoint, at);
}

bool KeyboardUse::OpenFocusedFolderMenu() {
    inUse_ = true;
    const TItemButton* focused = FocusButton();
    return focused && host_.OpenFolderMenu(*focused);
}

void KeyboardUse::HideByKeyboard() {
    const HWND back = focusReturn_;
    inUse_ = false;
    focusReturn_ = nullptr;
    focus_ = kNoButton;
    host_.HideByButton();
    // A window that has since been hidden or disabled takes no focus: the
    // system's own choice stands then.
    if (back && IsWindow(back) && IsWindowVisible(back) && IsWindowEnabled(back)) SetForegroundWindow(back);
}

void KeyboardUse::OnActivate(UINT state, HWND other) {
    if (state == WA_INACTIVE) FocusLeft(other);
}

// The panel lost the activation to `activated`: to a window of another
// program the keyboard use ends and the pointer watch hides the panel as when
// the pointer leaves it; the panel's own menus, boxes and dialogs keep it.
void KeyboardUse::FocusLeft(HWND activated) {
    host_.Invalidate();
    if (!inUse_ || OwnThreadWindow(activated)) return;
    EndUse();
}

void KeyboardUse::EndUse() {
    inUse_ = false;
    focusReturn_ = nullptr;
    host_.StartHideWatch();
    host_.Invalidate();
}

void KeyboardUse::ButtonRemoving(const TFlatButton& button) {
    if (focus_ == button.id) focus_ = kNoButton;
}

}  // namespace tilerack
