#pragma once
// The context menu's entries as the screen shows them, and a text's ink
// width in the menu font, to tell what an entry says.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e_harness.h"

namespace e2e {

bool IsDark(COLORREF c);
bool IsGrayText(COLORREF c);

// One text line of a menu as the screen shows it.
struct MenuLine {
    RECT rect{};     // screen rectangle of its ink
    bool enabled{};  // drawn in the menu text colour, not greyed
    int darkWidth{};  // width of its dark ink
};

// The entries' text lines of an open context menu, top to bottom, once the
// menu has painted all of them (separators left out).
std::vector<MenuLine> ReadMenuLines(HWND menu);

// The ink width of `text` drawn in the menu font, plain or bold as menus
// draw their default entry.
int MenuTextWidth(const std::wstring& text, bool bold);

}  // namespace e2e
