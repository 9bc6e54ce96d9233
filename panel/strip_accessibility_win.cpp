// What assistive technology reads of the strip: the accessible object whose
// children are the strip's windowless buttons, and the events of its changes.
#include "panel/strip_accessibility_win.h"

#include <oleacc.h>

#include "common/app_texts.h"
#include "items/shortcut.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "platform/window_base.h"
#include "platform/window_messages.h"

namespace tilerack {

LRESULT StripAccessibility::AnswerGetObject(WPARAM wp, LPARAM lp) {
    if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT) return DefWindowProcW(panel_, WM_GETOBJECT, wp, lp);
    // The object travels to the asking process through COM.
    win::EnsureComApartment();
    if (!accessible_) accessible_ = win::ComPtr<StripAccessible>(new StripAccessible(this));
    return LresultFromObject(__uuidof(IAccessible), wp, accessible_.get());
}

void StripAccessibility::Release() {
    if (!accessible_) return;
    accessible_->Disconnect();
    // Clients in other processes lose their stubs now, not when they let go.
    CoDisconnectObject(accessible_.get(), 0);
    accessible_.Reset();
}

// Focus moves are told always (a screen reader follows them from no object);
// other changes only once something has asked for the object. No button:
// the event is the strip's own (a new order of its children).
void StripAccessibility::Notify(DWORD event, const TFlatButton* button) {
    if (event != EVENT_OBJECT_FOCUS && !accessible_) return;
    const long id = button ? IdOf(button) : CHILDID_SELF;
    if (button && id <= 0) return;
    NotifyWinEvent(event, panel_, OBJID_CLIENT, id);
}

// The children are the strip's buttons in its one order.
long StripAccessibility::IdOf(const TFlatButton* button) const { return button ? strip_.PositionOf(button->id) : 0; }

TFlatButton* StripAccessibility::ButtonOf(long id) const { return strip_.AtPosition(id); }

std::wstring StripAccessibility::AccessibleName() const { return kAppTitleW; }

long StripAccessibility::AccessibleChildCount() const { return static_cast<long>(strip_.Items().Count()) + 3; }

bool StripAccessibility::AccessibleChild(long id, AccessibleButton& out) const {
    const TFlatButton* b = ButtonOf(id);
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
    // A separator is read as one, with nothing to do.
    // A folder's button is a split button: pressed it opens the folder, its
    // mark opens a menu.
    out.role = b->separator ? ROLE_SYSTEM_SEPARATOR : b->opensMenu ? ROLE_SYSTEM_SPLITBUTTON : ROLE_SYSTEM_PUSHBUTTON;
    out.defaultAction = b->separator ? std::wstring() : win::Widen(kButtonPressAction);
    const int digit = entry ? host_.DigitOf(b->id) : -1;
    out.keyboardShortcut = digit >= 0 ? std::to_wstring(digit) : std::wstring{};
    POINT topLeft{b->bounds.left, b->bounds.top};
    ClientToScreen(panel_, &topLeft);
    out.screen = RECT{topLeft.x, topLeft.y, topLeft.x + b->bounds.width, topLeft.y + b->bounds.height};
    DWORD state = 0;
    if (!b->visible || host_.PanelHidden() || !IsWindowVisible(panel_))
        state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    if (entry) state |= STATE_SYSTEM_FOCUSABLE;
    if (b->opensMenu) state |= STATE_SYSTEM_HASPOPUP;
    if (entry && b->id == host_.KeyboardFocus() && GetFocus() == panel_) state |= STATE_SYSTEM_FOCUSED;
    const ButtonLook look = host_.LookOf(*b);
    if (look.hot) state |= STATE_SYSTEM_HOTTRACKED;
    if (look.pressed && look.hot) state |= STATE_SYSTEM_PRESSED;
    out.state = state;
    return true;
}

long StripAccessibility::AccessibleFocus() const {
    if (GetFocus() != panel_) return -1;
    const ButtonId focus = host_.KeyboardFocus();
    return strip_.PositionOf(strip_.EntryOf(focus) ? focus : kNoButton);
}

long StripAccessibility::AccessibleHitTest(POINT screen) const {
    POINT p = screen;
    ScreenToClient(panel_, &p);
    const SIZE client = win::ClientSize(panel_);
    if (p.x < 0 || p.y < 0 || p.x >= client.cx || p.y >= client.cy) return -1;
    return IdOf(strip_.HitTest(p.x, p.y));
}

bool StripAccessibility::AccessibleDoDefaultAction(long id) {
    if (!ButtonOf(id)) return false;
    PostMessageW(panel_, win::kAccessibleActionMessage, static_cast<WPARAM>(id), 0);
    return true;
}

void StripAccessibility::OnAction(long id) {
    if (const TFlatButton* b = ButtonOf(id); b && b->onClick) b->onClick();
}

bool StripAccessibility::AccessibleSelect(long id) {
    const TFlatButton* b = ButtonOf(id);
    const ItemEntry* entry = b ? strip_.EntryOf(b->id) : nullptr;
    if (!entry || GetFocus() != panel_) return false;
    host_.SelectItemButton(entry->button);
    return true;
}

}  // namespace tilerack
