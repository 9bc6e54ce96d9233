#pragma once
// How a file name is written into, and read back from, a file name edit.
#include <functional>
#include <string>

namespace tilerack {

// A name chosen in a browse dialog, as it goes into the edit: wrapped in
// double quotes when it holds a space (and is not quoted already).
std::string QuoteIfSpaced(const std::string& path);

// The first element of `text` read as a command line: a name in double
// quotes is taken whole without the quotes (up to the end when the closing
// quote is missing); an unquoted name ends at the first space.
std::string FirstCommandLineElement(const std::string& text);

// The file an edit names: its whole text when that is an existing file,
// otherwise the text's first command-line element.
std::string EditFileName(const std::string& text, const std::function<bool(const std::string&)>& fileExists);

}  // namespace tilerack
