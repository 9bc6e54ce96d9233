#include "items/launcher.h"

#include <windows.h>
#include <shellapi.h>

#include "items/launch_messages.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

namespace tilerack {

std::string RunShortCut(const TShortCut& item) {
    // Empty fields go to the shell as empty strings, never as null pointers.
    const std::wstring file = win::Widen(item.FileName);
    const std::wstring params = win::Widen(item.Params);
    const std::wstring dir = win::Widen(item.WorkDir);
    win::EnsureComApartment();
    const HINSTANCE answer =
        ShellExecuteW(nullptr, L"open", file.c_str(), params.c_str(), dir.c_str(), SW_SHOWNORMAL);
    // The shell's answer is a small integer dressed up as a handle.
    const auto result = static_cast<int32_t>(reinterpret_cast<INT_PTR>(answer));
    return ShellResultMessage(result);
}

}  // namespace tilerack
