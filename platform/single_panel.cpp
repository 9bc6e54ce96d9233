#include "platform/single_panel.h"

#include <cstdint>
#include <cwchar>

namespace tilerack::win {

namespace {

// WM_COPYDATA's tag for "come out", and how long a second start looks for
// the running panel (it may be starting, or closing).
constexpr ULONG_PTR kBringOutTag = 0x74724230;
constexpr ULONGLONG kLookForMs = 10000;

// One spelling for every way of naming the same file: the full path with
// its long folder names, in capitals (file names ignore case).
std::wstring OneSpelling(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(n > 0 && n < full.size() ? n : 0);
    if (full.empty()) full = path;
    std::wstring longer(32768, L'\0');
    n = GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (n > 0 && n < longer.size()) full.assign(longer.c_str(), n);
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

// A name for the claim of one file: no backslash may stand in it.
std::wstring ClaimName(const std::wstring& spelling) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : spelling) {
        hash ^= static_cast<uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Local\\tilerack-items-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

struct PanelSearch {
    const std::wstring* spelling;
    const wchar_t* panelClass;
    bool answered = false;
};

BOOL CALLBACK AskPanel(HWND window, LPARAM lp) {
    auto& search = *reinterpret_cast<PanelSearch*>(lp);
    wchar_t className[64] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() || !GetClassNameW(window, className, 64) ||
        wcscmp(className, search.panelClass) != 0)
        return TRUE;
    // The panel comes out as the foreground window, which this start may give.
    AllowSetForegroundWindow(pid);
    COPYDATASTRUCT data{kBringOutTag, static_cast<DWORD>(search.spelling->size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(search.spelling->c_str())};
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                            &result) &&
        result == TRUE) {
        search.answered = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ItemFileClaim::ItemFileClaim(const std::wstring& itemFile, const wchar_t* panelClass) {
    const std::wstring spelling = OneSpelling(itemFile);
    mutex_.reset(CreateMutexW(nullptr, FALSE, ClaimName(spelling).c_str()));
    if (!mutex_) {
        held_ = true;  // no claim to be had: run as a program without one would
        return;
    }
    const ULONGLONG until = GetTickCount64() + kLookForMs;
    for (;;) {
        const DWORD wait = WaitForSingleObject(mutex_.get(), 0);
        // Abandoned: the panel that held it ended without letting go.
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            held_ = true;
            return;
        }
        PanelSearch search{&spelling, panelClass};
        EnumWindows(AskPanel, reinterpret_cast<LPARAM>(&search));
        if (search.answered || GetTickCount64() >= until) return;
        Sleep(100);
    }
}

ItemFileClaim::~ItemFileClaim() {
    if (held_ && mutex_) ReleaseMutex(mutex_.get());
}

bool IsBringOutRequest(const COPYDATASTRUCT& data, const std::wstring& itemFile) {
    if (data.dwData != kBringOutTag || !data.lpData || data.cbData % sizeof(wchar_t) != 0) return false;
    const std::wstring asked(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    return asked == OneSpelling(itemFile);
}

}  // namespace tilerack::win
