#include "platform/text.h"

#include <windows.h>

#include "common/item_text.h"

namespace tilerack::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t));  // the wide API's texts are UTF-16

std::wstring Widen(const std::string& s) {
    const std::u16string utf16 = TextToUtf16(s);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string Narrow(const std::wstring& w) { return TextFromUtf16(std::u16string(w.begin(), w.end())); }

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Narrow(text);
}

}  // namespace tilerack::win
