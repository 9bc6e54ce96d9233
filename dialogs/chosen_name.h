#pragma once
// A file or folder name chosen in a browse dialog, taken into the program's
// code page 1251 texts.
#include <string>

namespace tilerack {

// The chosen name in code page 1251; a name with a character outside that
// code page would change on the way (into a name that loads nothing and is
// stored wrong), so it is refused with an error carrying the message the
// user sees.
std::string ChosenNameInCodePage(const std::wstring& chosen);

}  // namespace tilerack
