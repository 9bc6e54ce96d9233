#pragma once
// Conversions between the program's code page 1251 texts and the UTF-16 of
// the wide Windows API.
#include <windows.h>

#include <string>

namespace tilerack::win {

inline constexpr unsigned kTextCodePage = 1251;

std::wstring Widen(const std::string& cp1251);
// Converts to code page 1251. `lossless` (when given) tells whether every
// character could be represented.
std::string Narrow(const std::wstring& wide, bool* lossless = nullptr);

// A window's text, converted to code page 1251.
std::string WindowTextOf(HWND window);

}  // namespace tilerack::win
