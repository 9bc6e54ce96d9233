#pragma once
// The panel from the keyboard: the system-wide hot key that brings it out
// with the focus on its first item, the focus on the strip and its scrolling
// into sight, the keys on the strip (moving the focus, Ctrl moving the
// focused item, starting it, the context menu, Esc), type-to-find, and giving
// the focus back to the window it came from. While the keyboard uses the
// panel, the pointer watch does not hide it. The decisions are portable:
// strip_focus.h (the focus's moves, the strip's scrolling to it),
// type_to_find.h, hot_key.h (the key's value and name), number_keys.h (the
// digits 1 to 9 and 0 that start the first ten items shown).
#include <windows.h>

#include <functional>
#include <vector>
#include <utility>

#include <cstdint>

#include "panel/button_strip.h"
#include "panel/hot_key_win.h"
#include "panel/strip_focus.h"
#include "panel/type_to_find.h"

namespace tilerack {

class KeyboardUse final : public StripObserver {
public:
    // What the keyboard asks of the panel.
    struct Host {
        // Out at its edge if hidden (also where a full-screen program keeps
        // the edge from it), the pointer's absence counted from now.
        std::function<void()> BringOutForKeyboard;
        std::function<void()> HideByButton;
        // The pointer's absence counted from now, the pointer watch running.
        std::function<void()> StartHideWatch;
        std::function<void(const TFlatButton*, POINT, POINT)> OpenContextMenu;
        std::function<void(const TShortCut&, int)> MoveItemTo;
        // The strip's entries by height in the room they have, and the strip
        // scrolled to start at another.
        std::function<StripRows()> Rows;
        std::function<void(int)> ScrollStripTo;
        // The focus moved to `button` while the panel has the focus (a
        // screen reader follows it).
        std::function<void(const TFlatButton&)> TellFocus;
        std::function<void()> Invalidate;
        // The folder menu of a folder item's button; false for any other.
        std::function<bool(const TFlatButton&)> OpenFolderMenu;
        // The panel stands at the right edge: Left, not Right, opens a folder's menu.
        std::function<bool()> OnRightSide;
    };

    KeyboardUse(ButtonStrip& strip, Host host) : strip_(strip), host_(std::move(host)) {}
    KeyboardUse(const KeyboardUse&) = delete;
    KeyboardUse& operator=(const KeyboardUse&) = delete;

    void Attach(HWND panel) { panel_ = panel; }
    // After the first show: a key another program holds is reported once,
    // from the message loop, and the panel goes on without it.
    void RegisterHotKey(int32_t value);
    // The panel is going: the hot key is given back, the focus is nobody's.
    void Release();

    void OnHotKey(int id);
    // The hot key's bring-out (also asked by a second start of the program):
    // the panel out with the focus on its first item.
    void HotKeyPressed();
    void OnHotKeyTaken();
    // A key on the focused panel; true when it was used.
    bool KeyPressed(UINT key, bool system);
    void TypeToFindLetter(wchar_t letter);
    void OnActivate(UINT state, HWND other);

    bool InUse() const { return inUse_; }
    // The item button with the keyboard focus (drawn with a focus mark while
    // the panel has the focus), or none.
    ButtonId Focus() const { return focus_; }
    // The digit that starts item button `button` (drawn on it while the
    // keyboard uses the panel, read as its shortcut), or -1.
    int DigitOf(ButtonId button) const;
    // The strip's order changed: a focused item stays in sight.
    void KeepFocusInSight();
    // Assistive technology selected `button`: the keyboard focus goes to it.
    void Select(const TItemButton& button);

    // StripObserver: the focus leaves a button that goes.
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton& button) override;
    void OrderChanged() override {}

private:
    TItemButton* FocusButton() const;
    int FocusedItemIndex() const;
    void MoveFocus(FocusMove move);
    void MoveFocusedItem(FocusMove move);
    void FocusItemButton(const TItemButton* button);
    void ScrollToFocus();
    void ContextMenu();
    // The list indexes the digits start, in the digits' order.
    std::vector<int> NumberedItems() const;
    void StartByDigit(int digit);
    bool OpenFocusedFolderMenu();
    void HideByKeyboard();
    void FocusLeft(HWND activated);
    void EndUse();

    ButtonStrip& strip_;
    Host host_;
    HWND panel_ = nullptr;
    PanelHotKey hotKey_;
    ButtonId focus_ = kNoButton;
    // Shown by the hot key or a key pressed on it: the pointer watch does not
    // hide the panel then until Esc or the focus leaves.
    bool inUse_ = false;
    // The window to give the focus back to.
    HWND focusReturn_ = nullptr;
    TypeToFind typeToFind_;
};

}  // namespace tilerack
