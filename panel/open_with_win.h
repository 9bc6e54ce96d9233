#pragma once
// Opening files with an item's program: whether the item starts a program
// at all (a shortcut is followed to its target), and the file the user
// chooses for it.
#include <windows.h>

#include <optional>
#include <string>

#include "items/shortcut.h"

namespace tilerack {

// Whether the item starts a program (.exe, .com, .bat, .cmd), directly or
// through a shortcut (.lnk) to one.
bool StartsAProgram(const TShortCut& item);
// The file the user chose to open with a program, or nothing.
std::optional<std::string> ChooseFileToOpen(HWND owner);

}  // namespace tilerack
