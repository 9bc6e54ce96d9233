// Stand-in program for items started by the panel in the end-to-end tests.
// Appends two lines to probe-record.txt beside its own executable (or in the
// folder named by PROBE_RECORD_DIR): the full command line it was given and
// the folder it was started in, both UTF-8. Shows nothing and exits at once.
#include <windows.h>

#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

std::wstring RecordFolder() {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(L"PROBE_RECORD_DIR", buffer, 32768);
    if (length > 0 && length < 32768) return std::wstring(buffer, length);
    length = GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring CurrentFolder() {
    wchar_t buffer[32768];
    const DWORD length = GetCurrentDirectoryW(32768, buffer);
    return std::wstring(buffer, length < 32768 ? length : 0);
}

}  // namespace

int main() {
    const std::string record =
        ToUtf8(GetCommandLineW()) + "\r\n" + ToUtf8(CurrentFolder()) + "\r\n";
    const std::wstring path = RecordFolder() + L"\\probe-record.txt";
    // Several probes may finish at once. An append is not one step across
    // processes under every runtime (Wine seeks to the end, then writes), so
    // each writer holds the file alone and the others wait their turn.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 2000 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION) return 1;
        if (file == INVALID_HANDLE_VALUE) Sleep(5);
    }
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == record.size() ? 0 : 1;
}
