#include "platform/profile.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "common/errors.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

// A section larger than this (in characters) is read only this far.
constexpr size_t kLargestSection = 1 << 20;

std::wstring WindowsFolderPath(const std::wstring& fileName) {
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
    std::wstring path(dir, n);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + fileName;
}

std::wstring AppDataPath(const std::wstring& fileName, bool create) {
    wchar_t dir[MAX_PATH] = {};
    // Only looking for the file: the environment names the folder, which
    // spares the start the shell library and its registry look-ups.
    const DWORD n = create ? 0 : GetEnvironmentVariableW(L"APPDATA", dir, MAX_PATH);
    if ((n == 0 || n >= MAX_PATH) &&
        FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0), nullptr, 0, dir)))
        return {};
    std::wstring folder = std::wstring(dir) + L"\\tilerack";
    if (create) CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + fileName;
}

}  // namespace

SettingsFile::SettingsFile(std::wstring fileName, std::string section)
    : fileName_(std::move(fileName)), section_(Widen(section)) {
    const std::wstring fallback = AppDataPath(fileName_, false);
    fellBack_ = !fallback.empty() && FileExists(fallback);
    path_ = fellBack_ ? fallback : WindowsFolderPath(fileName_);
}

ProfileSection SettingsFile::ReadSection() const {
    // The section comes back as "key=value" lines, each ended by a null, the
    // last by two; a buffer too small is filled to two short of its size.
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileSectionW(section_.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                           path_.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= kLargestSection) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> lines;
    for (const wchar_t* line = buffer.data(); line < buffer.data() + length && *line; line += wcslen(line) + 1)
        lines.push_back(Narrow(line));
    return ProfileSection(std::move(lines));
}

void SettingsFile::Write(const char* key, const std::string& value) {
    const std::wstring wkey = Widen(key), wvalue = Widen(value);
    if (WritePrivateProfileStringW(section_.c_str(), wkey.c_str(), wvalue.c_str(), path_.c_str())) return;
    if (!fellBack_) {
        // A normal user cannot write into the Windows folder: keep the file
        // in the user's own settings folder from now on.
        const std::wstring fallback = AppDataPath(fileName_, true);
        if (!fallback.empty() &&
            WritePrivateProfileStringW(section_.c_str(), wkey.c_str(), wvalue.c_str(), fallback.c_str())) {
            path_ = fallback;
            fellBack_ = true;
            return;
        }
    }
    throw TError(UnableToWrite(Narrow(fileName_)));
}

void SettingsFile::Remove(const char* key) {
    if (!WritePrivateProfileStringW(section_.c_str(), Widen(key).c_str(), nullptr, path_.c_str()))
        throw TError(UnableToWrite(Narrow(fileName_)));
}

}  // namespace tilerack::win
