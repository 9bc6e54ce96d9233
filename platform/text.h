#pragma once
// Conversions between the program's texts (code page 1251 with any other
// character marked, common/item_text.h) and the UTF-16 of the wide Windows
// API. Both directions keep every character.
#include <windows.h>

#include <string>

namespace tilerack::win {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& wide);

// A window's text, converted.
std::string WindowTextOf(HWND window);

}  // namespace tilerack::win
