#pragma once
// The system's file-open and folder selection dialogs.
#include <windows.h>

#include <optional>
#include <string>

namespace tilerack::win {

struct FileDialogOptions {
    // Description and pattern pairs separated by vertical bars (code page 1251).
    std::string filter;
    std::string title;  // empty: the system's own
    // The file must exist, its path too; the read-only box is hidden.
    bool mustExist = true;
};

// The chosen file's full path, or nothing when the user cancelled.
std::optional<std::wstring> AskOpenFileName(HWND owner, const FileDialogOptions& options);
// The chosen folder, or nothing when the user cancelled.
std::optional<std::wstring> AskFolder(HWND owner);

// The filter of the API: the bars become NULs, ending in two NULs.
std::wstring FilterForApi(const std::string& barSeparated);

}  // namespace tilerack::win
