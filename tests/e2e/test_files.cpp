#include "test_files.h"

#include <shlobj.h>

#include <algorithm>

#include "common/errors.h"
#include "desktop.h"

namespace e2e {
namespace {

bool CreateFolders(const std::wstring& folder) {
    const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS;
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = JoinPath(folder, name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

const Config& GetConfig() {
    static const Config config = [] {
        const std::wstring here = tilerack::win::ExeFolder();
        const Config found{EnvironmentValue(L"TILERACK_EXE", JoinPath(here, L"tilerack.exe")),
                           EnvironmentValue(L"PROBE_EXE", JoinPath(here, L"probe.exe")),
                           EnvironmentValue(L"E2E_SCRATCH", JoinPath(here, L"e2e\\scratch")),
                           EnvironmentValue(L"E2E_SCREENSHOTS", JoinPath(here, L"e2e\\screenshots"))};
        CreateFolders(found.scratchRoot);
        CreateFolders(found.screenshotDir);
        return found;
    }();
    return config;
}

std::wstring EnvironmentValue(const wchar_t* name, const std::wstring& fallback) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : fallback;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    return utf8;
}

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Hex(std::uint32_t value) {
    char buffer[16];
    snprintf(buffer, sizeof(buffer), "0x%08X", static_cast<unsigned>(value));
    return buffer;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    const wchar_t last = folder.back();
    return (last == L'\\' || last == L'/') ? folder + name : folder + L"\\" + name;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && (bytes.empty() || written == bytes.size());
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool SamePath(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b}) {
        std::replace(s->begin(), s->end(), L'/', L'\\');
        if (!s->empty()) CharLowerBuffW(s->data(), static_cast<DWORD>(s->size()));
        while (s->size() > 3 && s->back() == L'\\') s->pop_back();
    }
    return a == b;
}

ScratchDir::ScratchDir(const std::wstring& name) : ScratchDir(GetConfig().scratchRoot, name) {}

ScratchDir::ScratchDir(const std::wstring& root, const std::wstring& name) : path_(JoinPath(root, name)) {
    DeleteTree(path_);
    if (!CreateFolders(path_)) ADD_FAILURE() << "cannot create scratch folder " << Narrow(path_);
    if (!CopyFileW(GetConfig().tilerackExe.c_str(), ExePath().c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(GetConfig().tilerackExe) << " into " << Narrow(path_);
}

std::wstring ScratchDir::AddProbe(const std::wstring& name) const {
    const std::wstring target = File(name);
    if (!CopyFileW(GetConfig().probeExe.c_str(), target.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(GetConfig().probeExe) << " to " << Narrow(target);
    return target;
}

std::wstring ScratchDir::SubFolder(const std::wstring& name) const {
    const std::wstring folder = File(name);
    CreateFolders(folder);
    return folder;
}

std::vector<ProbeRecord> ReadProbeRecords(const std::wstring& folder) {
    const auto bytes = ReadWholeFile(JoinPath(folder, L"probe-record.txt"));
    const std::wstring text = bytes ? Widen(std::string(bytes->begin(), bytes->end())) : std::wstring{};
    // Only lines whose "\r\n" has been written count: a probe may be writing.
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    std::vector<ProbeRecord> records;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) records.push_back({lines[i], lines[i + 1]});
    return records;
}

std::vector<ProbeRecord> WaitForProbeRecords(const std::wstring& folder, size_t count,
                                             std::chrono::milliseconds timeout) {
    std::vector<ProbeRecord> records;
    WaitUntil([&] { return (records = ReadProbeRecords(folder)).size() >= count; }, timeout);
    return records;
}

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        at = std::min(commandLine.find(L' '), commandLine.size());
    }
    while (at < commandLine.size() && commandLine[at] == L' ') ++at;
    return commandLine.substr(at);
}

std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return L"outside-test";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring wide;
    for (char c : name) wide += (c == '/' || c == '\\' || c == ':') ? L'_' : static_cast<wchar_t>(c);
    return wide;
}

std::wstring IniPath() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return JoinPath(std::wstring(folder, length), L"tilerack.INI");
}

void DeleteIni() {
    const std::wstring path = IniPath();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    if (FileExists(path)) ADD_FAILURE() << "cannot delete " << Narrow(path);
}

void WriteSettings(const std::vector<std::string>& keys) {
    std::string text = "[Keelstrip]\r\n";
    for (const auto& key : keys) text += key + "\r\n";
    if (!WriteFileBytes(IniPath(), Bytes(text.begin(), text.end())))
        ADD_FAILURE() << "cannot write " << Narrow(IniPath());
}

bool SettingsSaved() {
    wchar_t names[16];
    return GetPrivateProfileStringW(L"Keelstrip", nullptr, L"", names, 16, IniPath().c_str()) > 0;
}

std::wstring SavedSetting(const wchar_t* key) {
    wchar_t value[256];
    const DWORD length = GetPrivateProfileStringW(L"Keelstrip", key, L"<missing>", value, 256, IniPath().c_str());
    return std::wstring(value, length);
}

std::vector<ShortRecord> ReadSavedItems(const std::wstring& shortsPath) {
    // Read while the program may still be saving: a moment after its move
    // the file can still be held, so a refused open is tried again briefly.
    std::optional<std::vector<uint8_t>> bytes;
    for (const DWORD start = GetTickCount();;) {
        try {
            bytes = ReadWholeFile(shortsPath);
            break;
        } catch (const tilerack::TError&) {
            if (GetTickCount() - start > 3000) throw;
            Sleep(50);
        }
    }
    if (!bytes) return {};
    ShortsReading reading = ReadShortsFile(*bytes);
    if (reading.Damaged()) ADD_FAILURE() << Narrow(shortsPath) << " is damaged: " << reading.error;
    return std::move(reading.records);
}

::testing::AssertionResult HoldsItems(const std::wstring& path, const ShortsFile& expected) {
    const auto saved = ReadWholeFile(path);
    if (!saved) return ::testing::AssertionFailure() << "no " << Narrow(path);
    if (SameApartFromSlots(*saved, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Narrow(path) << " holds other items (" << saved->size() << " bytes, "
                                         << expected.bytes.size() << " expected)";
}

namespace {

constexpr const wchar_t* kTestClass = L"TilerackTest.Document";

// The classes as the shell reads them (Wine's HKCR is the machine's, with
// no view of the user's own).
void SetDefaultValue(const std::wstring& key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

DocumentAssociation::DocumentAssociation(const std::wstring& extension, const std::wstring& program)
    : extension_(extension) {
    SetDefaultValue(extension, kTestClass);
    SetDefaultValue(std::wstring(kTestClass) + L"\\shell\\open\\command",
                    L"\"" + program + L"\" \"%1\"");
}

DocumentAssociation::~DocumentAssociation() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, extension_.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestClass);
}

}  // namespace e2e
