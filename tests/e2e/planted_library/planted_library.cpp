// Stand-in for a system library that someone has put beside a program, for
// the DLL search scenarios. It exports nothing the program wants; when any
// process loads it, it leaves a marker file beside itself named after the
// name it was loaded under plus ".loaded" (for "shell32.dll":
// "shell32.dll.loaded"), holding the full path of the program that loaded
// it, UTF-16.
#include <windows.h>

namespace {

void LeaveMarker(HINSTANCE self) {
    wchar_t path[MAX_PATH + 16];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    lstrcatW(path, L".loaded");
    HANDLE marker = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return;
    wchar_t host[MAX_PATH];
    const DWORD hostLength = GetModuleFileNameW(nullptr, host, MAX_PATH);
    DWORD written = 0;
    WriteFile(marker, host, hostLength * sizeof(wchar_t), &written, nullptr);
    CloseHandle(marker);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}
