#pragma once
// Starting an item through the shell's "open" (Windows only).
#include <string>

#include "items/shortcut.h"

namespace tilerack {

// Starts the item's file with its parameters and working folder; returns the
// empty string on success, else the message for the shell's result code.
std::string RunShortCut(const TShortCut& item);

}  // namespace tilerack
