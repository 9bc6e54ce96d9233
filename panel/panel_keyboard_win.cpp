// The panel from the keyboard and for assistive technology: the hot key that
// brings it out with the focus on its first item, the keys on the strip, and
// the accessible object whose children are the strip's windowless buttons.
#include <windows.h>
#include <oleacc.h>

#include "common/app_texts.h"
#include "items/shortcut.h"
#include "panel/sysmain.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

bool OwnThreadWindow(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

int PointerX() {
    POINT p{};
    GetCursorPos(&p);
    return p.x;
}

}  // namespace

// After the first show: a key another program holds is reported once, from
// the message loop, and the panel goes on without it.
void TMainPanel::RegisterPanelHotKey() {
    if (hotKey_.Register(hwnd_, settings_.hotKey) == PanelHotKey::Outcome::Taken)
        PostMessageW(hwnd_, win::kHotKeyTakenMessage, 0, 0);
}

void TMainPanel::HotKeyPressed() {
    // A dialog of the panel is open: it keeps the keyboard.
    if (!IsWindowEnabled(hwnd_)) return;
    const HWND foreground = GetForegroundWindow();
    if (foreground && foreground != hwnd_ && !OwnThreadWindow(foreground)) focusReturn_ = foreground;
    keyboardUse_ = true;
    // The edge's show, also where a full-screen program keeps the edge from it.
    if (Hidden) ShowSequence();
    watch_.Restart(PointerX());
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    FocusItemButton(Items.Empty() ? nullptr : &Items.At(0).button);
    Invalidate();
}

void TMainPanel::OnHotKey(int id) {
    if (id == PanelHotKey::kId) HotKeyPressed();
}

// Posted by RegisterPanelHotKey: the chord another program holds, told once.
void TMainPanel::OnHotKeyTaken() {
    if (!hotKey_.Chord()) return;
    MessageBoxW(nullptr, win::Widen(HotKeyTakenMessage(*hotKey_.Chord())).c_str(), kAppTitleW, MB_OK | MB_ICONWARNING);
}

bool TMainPanel::KeyPressed(UINT key, bool system) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // With Ctrl the focused item moves instead of the focus.
    const auto focusOrItem = [&](FocusMove move) {
        if (control) MoveFocusedItem(move);
        else MoveKeyboardFocus(move);
        return true;
    };
    switch (key) {
    case VK_UP: return focusOrItem(FocusMove::Previous);
    case VK_DOWN: return focusOrItem(FocusMove::Next);
    case VK_HOME: return focusOrItem(FocusMove::First);
    case VK_END: return focusOrItem(FocusMove::Last);
    case VK_RETURN:
    case VK_SPACE:
        if (system) return false;
        keyboardUse_ = true;
        // Exactly a click on it.
        if (const TItemButton* focused = KeyboardFocusButton(); focused && focused->onClick) focused->onClick();
        return true;
    case VK_APPS:
        KeyboardContextMenu();
        return true;
    case VK_F10:
        if (!shift) return false;
        KeyboardContextMenu();
        return true;
    case VK_ESCAPE:
        if (system) return false;
        if (DragOn()) CancelDrag();
        else HideByKeyboard();
        return true;
    default:
        return false;
    }
}

int TMainPanel::FocusedItemIndex() const {
    const TItemButton* focused = KeyboardFocusButton();
    const std::optional<size_t> at = focused ? Items.IndexOf(focused->item) : std::nullopt;
    return at ? static_cast<int>(*at) : -1;
}

TItemButton* TMainPanel::KeyboardFocusButton() const {
    ItemEntry* entry = strip_.EntryOf(keyboardFocus_);
    return entry ? &entry->button : nullptr;
}

void TMainPanel::MoveFocusedItem(FocusMove move) {
    keyboardUse_ = true;
    const TItemButton* focused = KeyboardFocusButton();
    if (!focused) return;
    const int from = FocusedItemIndex();
    const int to = MoveItemFocus(from, move, static_cast<int>(Items.Count()));
    if (to == from) return;
    MoveItemTo(*focused->item, to);
    // The focus stays on the item; a screen reader hears where it is now.
    if (GetFocus() == hwnd_) NotifyAccessible(EVENT_OBJECT_FOCUS, focused);
}

void TMainPanel::TypeToFindLetter(wchar_t letter) {
    // Control characters, and the space that starts the focused item.
    if (letter <= L' ' || Items.Empty()) return;
    // A letter code page 1251 has: the names are matched on those.
    const std::string narrow = win::Narrow(std::wstring(1, letter));
    if (narrow.size() != 1) return;
    keyboardUse_ = true;
    std::vector<std::string> names;
    names.reserve(Items.Count());
    for (const auto& entry : Items) names.push_back(SearchName(entry->item->Caption, entry->item->FileName));
    const int current = FocusedItemIndex();
    const int found = typeToFind_.Type(narrow[0], static_cast<uint32_t>(GetMessageTime()), names, current);
    if (found != current && found >= 0) FocusItemButton(&Items.At(static_cast<size_t>(found)).button);
}

void TMainPanel::MoveKeyboardFocus(FocusMove move) {
    keyboardUse_ = true;
    const int index = MoveItemFocus(FocusedItemIndex(), move, static_cast<int>(Items.Count()));
    FocusItemButton(index >= 0 ? &Items.At(static_cast<size_t>(index)).button : nullptr);
}

void TMainPanel::FocusItemButton(const TItemButton* button) {
    keyboardFocus_ = button ? button->id : kNoButton;
    ScrollToFocus();
    Invalidate();
    if (button && GetFocus() == hwnd_) NotifyAccessible(EVENT_OBJECT_FOCUS, button);
}

void TMainPanel::ScrollToFocus() {
    const int count = static_cast<int>(Items.Count());
    const int fitting = FittingItemCount(dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
    const int first = FirstShownFor(firstShown_, FocusedItemIndex(), count, fitting);
    if (first == firstShown_) return;
    firstShown_ = first;
    LayoutButtons();
}

void TMainPanel::KeyboardContextMenu() {
    keyboardUse_ = true;
    const TFlatButton* sender = KeyboardFocusButton();
    POINT client{win::ClientSize(hwnd_).cx / 2, SButtonHide.bounds.Bottom() + 1};
    if (sender) client = POINT{sender->bounds.left + sender->bounds.width / 2, sender->bounds.top + sender->bounds.height / 2};
    POINT at = client;
    ClientToScreen(hwnd_, &at);
    OpenContextMenu(sender, client, at);
}

void TMainPanel::HideByKeyboard() {
    const HWND back = focusReturn_;
    keyboardUse_ = false;
    focusReturn_ = nullptr;
    keyboardFocus_ = kNoButton;
    HideByButton();
    // A window that has since been hidden or disabled takes no focus: the
    // system's own choice stands then.
    if (back && IsWindow(back) && IsWindowVisible(back) && IsWindowEnabled(back)) SetForegroundWindow(back);
}

void TMainPanel::OnActivate(UINT state, HWND other) {
    if (state == WA_INACTIVE) KeyboardFocusLeft(other);
}

// The panel lost the activation to `activated`: to a window of another
// program the keyboard use ends and the pointer watch hides the panel as when
// the pointer leaves it; the panel's own menus, boxes and dialogs keep it.
void TMainPanel::KeyboardFocusLeft(HWND activated) {
    Invalidate();
    if (!keyboardUse_ || OwnThreadWindow(activated)) return;
    EndKeyboardUse();
}

void TMainPanel::EndKeyboardUse() {
    keyboardUse_ = false;
    focusReturn_ = nullptr;
    watch_.Restart(PointerX());
    EnableTimerMouse(true);
    Invalidate();
}

// ---- Assistive technology ----------------------------------------------------

LRESULT TMainPanel::AnswerGetObject(WPARAM wp, LPARAM lp) {
    if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT) return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
    // The object travels to the asking process through COM.
    win::EnsureComApartment();
    if (!accessible_) accessible_ = win::ComPtr<StripAccessible>(new StripAccessible(this));
    return LresultFromObject(__uuidof(IAccessible), wp, accessible_.get());
}

void TMainPanel::ReleaseKeyboardAndAccessibility() {
    hotKey_.Unregister();
    keyboardFocus_ = kNoButton;
    if (accessible_) {
        accessible_->Disconnect();
        // Clients in other processes lose their stubs now, not when they let go.
        CoDisconnectObject(accessible_.get(), 0);
        accessible_.Reset();
    }
}

// Focus moves are told always (a screen reader follows them from no object);
// other changes only once something has asked for the object. No button:
// the event is the strip's own (a new order of its children).
void TMainPanel::NotifyAccessible(DWORD event, const TFlatButton* button) {
    if (event != EVENT_OBJECT_FOCUS && !accessible_) return;
    const long id = button ? AccessibleIdOf(button) : CHILDID_SELF;
    if (button && id <= 0) return;
    NotifyWinEvent(event, hwnd_, OBJID_CLIENT, id);
}

// The children are the strip's buttons in its one order.
long TMainPanel::AccessibleIdOf(const TFlatButton* button) const { return button ? strip_.PositionOf(button->id) : 0; }

TFlatButton* TMainPanel::AccessibleButtonOf(long id) const { return strip_.AtPosition(id); }

std::wstring TMainPanel::AccessibleName() const { return kAppTitleW; }

long TMainPanel::AccessibleChildCount() const { return static_cast<long>(Items.Count()) + 3; }

bool TMainPanel::AccessibleChild(long id, AccessibleButton& out) const {
    const TFlatButton* b = AccessibleButtonOf(id);
    if (!b) return false;
    const ItemEntry* entry = strip_.EntryOf(b->id);
    if (entry) {
        const TShortCut& item = *entry->item;
        out.name = win::Widen(item.Caption.empty() ? item.FileName : item.Caption);
        out.description = win::Widen(item.Hint);
    } else {
        out.name = win::Widen(b->hint);
        out.description.clear();
    }
    out.defaultAction = win::Widen(kButtonPressAction);
    POINT topLeft{b->bounds.left, b->bounds.top};
    ClientToScreen(hwnd_, &topLeft);
    out.screen = RECT{topLeft.x, topLeft.y, topLeft.x + b->bounds.width, topLeft.y + b->bounds.height};
    DWORD state = 0;
    if (!b->visible || Hidden || !IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    if (entry) state |= STATE_SYSTEM_FOCUSABLE;
    if (entry && b->id == keyboardFocus_ && GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
    const ButtonLook look = router_.LookOf(*b);
    if (look.hot) state |= STATE_SYSTEM_HOTTRACKED;
    if (look.pressed && look.hot) state |= STATE_SYSTEM_PRESSED;
    out.state = state;
    return true;
}

long TMainPanel::AccessibleFocus() const {
    if (GetFocus() != hwnd_) return -1;
    return strip_.PositionOf(KeyboardFocusButton() ? keyboardFocus_ : kNoButton);
}

long TMainPanel::AccessibleHitTest(POINT screen) const {
    POINT p = screen;
    ScreenToClient(hwnd_, &p);
    const SIZE client = win::ClientSize(hwnd_);
    if (p.x < 0 || p.y < 0 || p.x >= client.cx || p.y >= client.cy) return -1;
    return AccessibleIdOf(HitTest(p));
}

bool TMainPanel::AccessibleDoDefaultAction(long id) {
    if (!AccessibleButtonOf(id)) return false;
    PostMessageW(hwnd_, win::kAccessibleActionMessage, static_cast<WPARAM>(id), 0);
    return true;
}

// The default action posted above, run from the message loop: exactly a
// click on the button, if it is still there.
void TMainPanel::OnAccessibleAction(long id) {
    if (const TFlatButton* b = AccessibleButtonOf(id); b && b->onClick) b->onClick();
}

bool TMainPanel::AccessibleSelect(long id) {
    const TFlatButton* b = AccessibleButtonOf(id);
    ItemEntry* entry = b ? strip_.EntryOf(b->id) : nullptr;
    if (!entry || GetFocus() != hwnd_) return false;
    keyboardUse_ = true;
    FocusItemButton(&entry->button);
    return true;
}

}  // namespace tilerack
