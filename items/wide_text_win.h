#pragma once
// Item texts are code page 1251 bytes; the wide API gets them as UTF-16 so
// they read right whatever the system's ANSI code page is.
#include <windows.h>

#include <string>

namespace tilerack {

inline constexpr UINT kItemCodePage = 1251;

inline std::wstring WideFromCp1251(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(kItemCodePage, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(kItemCodePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

}  // namespace tilerack
