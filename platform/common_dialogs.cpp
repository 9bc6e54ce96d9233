#include "platform/common_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/com_apartment.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

// The shell's item id list, freed with CoTaskMemFree.
using UniqueItemIdList = UniqueHandle<PIDLIST_ABSOLUTE, &CoTaskMemFree>;

}  // namespace

std::wstring FilterForApi(const std::string& barSeparated) {
    std::wstring filter = Widen(barSeparated);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::optional<std::wstring> AskOpenFileName(HWND owner, const FileDialogOptions& options) {
    const std::wstring filter = FilterForApi(options.filter);
    const std::wstring title = Widen(options.title);
    // Long paths fit: the dialog reports a larger need through the first word.
    std::vector<wchar_t> buffer(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (options.mustExist) ofn.Flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    EnsureComApartment();
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
    return std::wstring(buffer.data());
}

std::optional<std::wstring> AskFolder(HWND owner) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    EnsureComApartment();
    UniqueItemIdList list(SHBrowseForFolderW(&info));
    if (!list) return std::nullopt;
    std::vector<wchar_t> path(32768, L'\0');
    if (!SHGetPathFromIDListEx(list.get(), path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
        return std::nullopt;
    return std::wstring(path.data());
}

}  // namespace tilerack::win
