#include "panel/open_with_win.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "common/app_texts.h"
#include "items/open_with.h"
#include "platform/com_apartment.h"
#include "platform/com_ptr.h"
#include "platform/common_dialogs.h"
#include "platform/text.h"

namespace tilerack {

namespace {

bool NamesAShortcut(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = fileName.substr(dot);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".lnk";
}

// The file a shortcut starts, or nothing where it cannot be read.
std::optional<std::wstring> ShortcutTarget(const std::wstring& shortcut) {
    win::EnsureComApartment();
    IShellLinkW* raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&raw))))
        return std::nullopt;
    const win::ComPtr<IShellLinkW> link(raw);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return std::nullopt;
    const win::ComPtr<IPersistFile> file(rawFile);
    if (FAILED(file->Load(shortcut.c_str(), STGM_READ))) return std::nullopt;
    std::vector<wchar_t> target(32768, L'\0');
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH) != S_OK)
        return std::nullopt;
    return std::wstring(target.data());
}

}  // namespace

bool StartsAProgram(const TShortCut& item) {
    if (NamesAProgram(item.FileName)) return true;
    if (!NamesAShortcut(item.FileName)) return false;
    const std::optional<std::wstring> target = ShortcutTarget(win::Widen(item.FileName));
    return target && NamesAProgram(win::Narrow(*target));
}

std::optional<std::string> ChooseFileToOpen(HWND owner) {
    const std::optional<std::wstring> chosen =
        win::AskOpenFileName(owner, {.filter = kOpenWithFileFilter, .title = {}, .mustExist = true});
    if (!chosen) return std::nullopt;
    return win::Narrow(*chosen);
}

}  // namespace tilerack
