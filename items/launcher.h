#pragma once
// Starting an item through the shell (Windows only): its own start, as
// administrator, or with files to open.
#include <string>
#include <vector>

#include "items/open_with.h"
#include "items/shortcut.h"

namespace tilerack {

// Starts the item's file with its parameters and working folder, through
// the shell's `verb`, with `files` quoted after the item's own parameters.
// Returns the empty string on success and when the user cancelled the
// elevation prompt, else the message for the shell's result code.
std::string RunShortCut(const TShortCut& item, LaunchVerb verb = LaunchVerb::Open,
                        const std::vector<std::string>& files = {});

}  // namespace tilerack
