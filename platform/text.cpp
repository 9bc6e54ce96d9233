#include "platform/text.h"

#include <windows.h>

namespace tilerack::win {

std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(kTextCodePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(kTextCodePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& w, bool* lossless) {
    if (lossless) *lossless = true;
    if (w.empty()) return {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kTextCodePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(kTextCodePage, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        lossless ? &usedDefault : nullptr);
    if (lossless) *lossless = !usedDefault;
    return out;
}

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Narrow(text);
}

}  // namespace tilerack::win
