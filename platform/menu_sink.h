#pragma once
// What draws the owner-drawn entries of the menus a window opens, and hears
// which entry is highlighted and when the menu closes. A window reflects
// these messages to it (WindowBase::ReflectMenusTo), so the window itself
// never forwards them by hand.
#include <windows.h>

namespace tilerack::win {

class MenuSink {
public:
    // WM_MEASUREITEM of a menu entry: true when the entry is the sink's and
    // its size is set.
    virtual bool MeasureMenuEntry(HWND owner, MEASUREITEMSTRUCT& entry) = 0;
    // WM_DRAWITEM of a menu entry: true when the entry is the sink's and drawn.
    virtual bool DrawMenuEntry(const DRAWITEMSTRUCT& entry) = 0;
    // WM_MENUSELECT: entry `id` of `menu` is highlighted (`flags` as the
    // message gives them; 0xFFFF with no menu: the menu closed).
    virtual void MenuEntryHighlighted(HWND owner, HMENU menu, UINT id, UINT flags) = 0;
    // WM_EXITMENULOOP.
    virtual void MenuClosed(HWND owner) = 0;

protected:
    ~MenuSink() = default;
};

}  // namespace tilerack::win
