#include "items/launcher.h"

#include <windows.h>
#include <shellapi.h>

#include "items/launch_messages.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

namespace tilerack {

std::string RunShortCut(const TShortCut& item, LaunchVerb verb, const std::vector<std::string>& files) {
    // Empty fields go to the shell as empty strings, never as null pointers.
    const std::wstring file = win::Widen(item.FileName);
    const std::wstring params = win::Widen(files.empty() ? item.Params : OpenWithParameters(item.Params, files));
    const std::wstring dir = win::Widen(item.WorkDir);
    win::EnsureComApartment();
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof(start);
    // The failure is reported by the panel, not by the shell's own box.
    start.fMask = SEE_MASK_FLAG_NO_UI;
    start.lpVerb = verb == LaunchVerb::RunAs ? L"runas" : L"open";
    start.lpFile = file.c_str();
    start.lpParameters = params.c_str();
    start.lpDirectory = dir.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&start)) return {};
    if (GetLastError() == kStartCancelledByUser) return {};
    // The shell's answer is a small integer dressed up as a handle.
    const auto result = static_cast<int32_t>(reinterpret_cast<INT_PTR>(start.hInstApp));
    return ShellResultMessage(result);
}

}  // namespace tilerack
