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
    if (destroyed_ || !IsWindowEnabled(hwnd_)) return;
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

bool TMainPanel::KeyPressed(UINT key, bool system) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (key) {
    case VK_UP: MoveKeyboardFocus(FocusMove::Previous); return true;
    case VK_DOWN: MoveKeyboardFocus(FocusMove::Next); return true;
    case VK_HOME: MoveKeyboardFocus(FocusMove::First); return true;
    case VK_END: MoveKeyboardFocus(FocusMove::Last); return true;
    case VK_RETURN:
    case VK_SPACE:
        if (system) return false;
        keyboardUse_ = true;
        // Exactly a click on it.
        if (keyboardFocus_ && keyboardFocus_->onClick) keyboardFocus_->onClick();
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
        HideByKeyboard();
        return true;
    default:
        return false;
    }
}

int TMainPanel::FocusedItemIndex() const {
    int i = 0;
    for (const auto& entry : Items) {
        if (&entry->button == keyboardFocus_) return i;
        ++i;
    }
    return -1;
}

void TMainPanel::MoveKeyboardFocus(FocusMove move) {
    keyboardUse_ = true;
    const int index = MoveItemFocus(FocusedItemIndex(), move, static_cast<int>(Items.Count()));
    FocusItemButton(index >= 0 ? &Items.At(static_cast<size_t>(index)).button : nullptr);
}

void TMainPanel::FocusItemButton(TItemButton* button) {
    keyboardFocus_ = button;
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
    TFlatButton* sender = keyboardFocus_;
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
    keyboardFocus_ = nullptr;
    HideByButton();
    // A window that has since been hidden or disabled takes no focus: the
    // system's own choice stands then.
    if (back && IsWindow(back) && IsWindowVisible(back) && IsWindowEnabled(back)) SetForegroundWindow(back);
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
    if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT || destroyed_) return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
    // The object travels to the asking process through COM.
    win::EnsureComApartment();
    if (!accessible_) accessible_ = new StripAccessible(this);
    return LresultFromObject(__uuidof(IAccessible), wp, accessible_);
}

void TMainPanel::ReleaseKeyboardAndAccessibility() {
    hotKey_.Unregister();
    keyboardFocus_ = nullptr;
    if (accessible_) {
        accessible_->Disconnect();
        // Clients in other processes lose their stubs now, not when they let go.
        CoDisconnectObject(accessible_, 0);
        accessible_->Release();
        accessible_ = nullptr;
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

long TMainPanel::AccessibleIdOf(const TFlatButton* button) const {
    if (!button) return 0;
    const long items = static_cast<long>(Items.Count());
    if (button == &SButtonHide) return items + 1;
    if (button == &SButtonMenu) return items + 2;
    if (button == &SButtonClose) return items + 3;
    long id = 1;
    for (const auto& entry : Items) {
        if (&entry->button == button) return id;
        ++id;
    }
    return 0;
}

TFlatButton* TMainPanel::AccessibleButtonOf(long id) const {
    const long items = static_cast<long>(Items.Count());
    if (id >= 1 && id <= items) return &Items.At(static_cast<size_t>(id - 1)).button;
    TMainPanel& self = const_cast<TMainPanel&>(*this);
    if (id == items + 1) return &self.SButtonHide;
    if (id == items + 2) return &self.SButtonMenu;
    if (id == items + 3) return &self.SButtonClose;
    return nullptr;
}

std::wstring TMainPanel::AccessibleName() const { return kAppTitleW; }

long TMainPanel::AccessibleChildCount() const { return static_cast<long>(Items.Count()) + 3; }

bool TMainPanel::AccessibleChild(long id, AccessibleButton& out) const {
    const TFlatButton* b = AccessibleButtonOf(id);
    if (!b) return false;
    const ItemEntry* entry = Items.EntryOf(b);
    if (entry) {
        const TShortCut& item = *entry->item;
        out.name = win::Widen(item.Caption.empty() ? item.FileName : item.Caption);
        out.description = win::Widen(item.Hint);
    } else {
        out.name = win::Widen(b->hint);
        out.description.clear();
    }
    out.defaultAction = win::Widen("Нажать");
    POINT topLeft{b->bounds.left, b->bounds.top};
    ClientToScreen(hwnd_, &topLeft);
    out.screen = RECT{topLeft.x, topLeft.y, topLeft.x + b->bounds.width, topLeft.y + b->bounds.height};
    DWORD state = 0;
    if (!b->visible || Hidden || !IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    if (entry) state |= STATE_SYSTEM_FOCUSABLE;
    if (entry && b == keyboardFocus_ && GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
    if (b->hot) state |= STATE_SYSTEM_HOTTRACKED;
    if (b->pressed && b->hot) state |= STATE_SYSTEM_PRESSED;
    out.state = state;
    return true;
}

long TMainPanel::AccessibleFocus() const {
    if (GetFocus() != hwnd_) return -1;
    return keyboardFocus_ ? AccessibleIdOf(keyboardFocus_) : 0;
}

long TMainPanel::AccessibleHitTest(POINT screen) const {
    POINT p = screen;
    ScreenToClient(hwnd_, &p);
    const SIZE client = win::ClientSize(hwnd_);
    if (p.x < 0 || p.y < 0 || p.x >= client.cx || p.y >= client.cy) return -1;
    return AccessibleIdOf(const_cast<TMainPanel*>(this)->HitTest(p));
}

bool TMainPanel::AccessibleDoDefaultAction(long id) {
    if (!AccessibleButtonOf(id)) return false;
    PostMessageW(hwnd_, win::kAccessibleActionMessage, static_cast<WPARAM>(id), 0);
    return true;
}

bool TMainPanel::AccessibleSelect(long id) {
    TFlatButton* b = AccessibleButtonOf(id);
    ItemEntry* entry = Items.EntryOf(b);
    if (!entry || GetFocus() != hwnd_) return false;
    keyboardUse_ = true;
    FocusItemButton(&entry->button);
    return true;
}

}  // namespace tilerack
