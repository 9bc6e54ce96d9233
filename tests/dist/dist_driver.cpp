// The release check's Windows-side helper, run under Wine by
// tests/dist/run-dist-check.sh. One command a run:
//
//   dist_driver version-info FILE   prints the file's version resource as
//                                   NAME=VALUE lines (UTF-8)
//   dist_driver manifest FILE       prints the file's manifest resource
//                                   (RT_MANIFEST 1) as it is stored
//   dist_driver icon-sizes FILE     prints the images of the file's first
//                                   icon group, "SIZE BITS" a line
//   dist_driver make-shorts PATH    writes a known two-item list
//   dist_driver check-shorts PATH   exit 0 when PATH holds that list (the
//                                   button slots aside, a value of the run
//                                   that wrote them)
//   dist_driver wait-panel MS       exit 0 once a panel window exists
//   dist_driver panel-count         prints how many panel windows exist
//   dist_driver panel-programs      prints the full path of every running
//                                   tilerack.exe, one a line
//   dist_driver close-panel MS      asks every panel to close (WM_CLOSE, as
//                                   the installer does) and waits for each
//                                   process to end; exit 0 when all ended
//   dist_driver installer-window TEXT MS
//                                   waits for a visible window whose title
//                                   holds TEXT; prints its title and the
//                                   texts of its buttons, one a line
//   dist_driver language-page TEXT ru|en MS
//                                   answers the installer's language page
//                                   titled with TEXT: prints its languages
//                                   and the one offered first, chooses the
//                                   one given; exit 2 when the one offered
//                                   is not the display language's
//   dist_driver cancel-installer TEXT MS
//                                   presses that window's Cancel, answers
//                                   Yes to the question that follows and
//                                   waits for its process to end
//
// Exit status 0 is success, 1 a failed check, 2 a wrong command line.
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/handles.h"
#include "tests/e2e/shorts_file_builder.h"

namespace {

constexpr wchar_t kPanelClass[] = L"TMainPanel";

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

int PrintVersionInfo(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        std::fprintf(stderr, "no version resource in %s (error %lu)\n", Utf8(file).c_str(), GetLastError());
        return 1;
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        std::fprintf(stderr, "GetFileVersionInfo failed (error %lu)\n", GetLastError());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto printVersion = [](const char* name, DWORD high, DWORD low) {
            std::printf("%s=%u.%u.%u.%u\n", name, unsigned{HIWORD(high)}, unsigned{LOWORD(high)}, unsigned{HIWORD(low)},
                        unsigned{LOWORD(low)});
        };
        printVersion("FixedFileVersion", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
        printVersion("FixedProductVersion", fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    }
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation)) {
        std::fprintf(stderr, "no translation table\n");
        return 1;
    }
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    for (const wchar_t* name : {L"ProductName", L"ProductVersion", L"FileVersion", L"FileDescription",
                                L"LegalCopyright", L"CompanyName", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        const std::wstring query = std::wstring(block) + name;
        if (VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value) {
            std::printf("%s=%s\n", Utf8(name).c_str(), Utf8(std::wstring(value, wcsnlen(value, length))).c_str());
        }
    }
    return 0;
}

int PrintManifest(const std::wstring& file) {
    const HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) {
        std::fprintf(stderr, "cannot read %s (error %lu)\n", Utf8(file).c_str(), GetLastError());
        return 1;
    }
    int status = 1;
    if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {  // RT_MANIFEST
        const DWORD size = SizeofResource(image, found);
        const HGLOBAL loaded = LoadResource(image, found);
        if (const void* bytes = loaded ? LockResource(loaded) : nullptr) {
            std::fwrite(bytes, 1, size, stdout);
            status = 0;
        }
    } else {
        std::fprintf(stderr, "no manifest resource in %s\n", Utf8(file).c_str());
    }
    FreeLibrary(image);
    return status;
}

// The list the check hands to the installed program: a Cyrillic caption, a
// two-line hint, a parameter and a picture each.
e2e::ShortsFile KnownList() {
    std::vector<e2e::ShortRecord> records;
    e2e::ShortRecord notepad;
    notepad.fileName = "C:\\windows\\notepad.exe";
    notepad.params = "C:\\windows\\win.ini";
    notepad.caption = "Блокнот";
    notepad.workDir = "C:\\windows";
    notepad.hint = "Заметки\r\nпервая строка";
    notepad.trackDrives = true;
    notepad.image = e2e::Bmp24Image(18);
    records.push_back(notepad);
    e2e::ShortRecord folder;
    folder.fileName = "C:\\windows";
    folder.caption = "Папка Windows";
    folder.hint = "Системная папка";
    folder.image = e2e::Bmp24Image(42);
    records.push_back(folder);
    return e2e::BuildShortsFile(records);
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int MakeShorts(const std::wstring& path) {
    const auto bytes = KnownList().bytes;
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", Utf8(path).c_str());
        return 1;
    }
    return 0;
}

int CheckShorts(const std::wstring& path) {
    const auto saved = ReadBytes(path);
    if (saved.empty()) {
        std::fprintf(stderr, "%s is missing or empty\n", Utf8(path).c_str());
        return 1;
    }
    if (!e2e::SameApartFromSlots(saved, KnownList())) {
        std::fprintf(stderr, "%s does not hold the known list (%zu bytes)\n", Utf8(path).c_str(), saved.size());
        return 1;
    }
    return 0;
}

std::vector<HWND> PanelWindows() {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kPanelClass, nullptr)) != nullptr) found.push_back(window);
    return found;
}

// The programs of the running panel processes, found by their file name
// (a panel just started may have no window yet).
int PrintPanelPrograms() {
    const tilerack::win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        std::fprintf(stderr, "no process snapshot (error %lu)\n", GetLastError());
        return 1;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"tilerack.exe") != 0) continue;
        std::wstring path = entry.szExeFile;
        const tilerack::win::UniqueKernelObject process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t full[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        if (process && QueryFullProcessImageNameW(process.get(), 0, full, &size)) path.assign(full, size);
        std::printf("%s\n", Utf8(path).c_str());
    }
    return 0;
}

template <typename Predicate>
bool WaitUntil(Predicate predicate, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

int ClosePanels(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<HANDLE> processes;
    for (HWND window : PanelWindows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid)) processes.push_back(process);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    bool allEnded = true;
    for (HANDLE process : processes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (WaitForSingleObject(process, static_cast<DWORD>(std::max<long long>(left.count(), 0))) != WAIT_OBJECT_0) {
            allEnded = false;
        }
        CloseHandle(process);
    }
    if (!allEnded) std::fprintf(stderr, "a panel did not end within %lld ms of WM_CLOSE\n", static_cast<long long>(timeout.count()));
    return allEnded ? 0 : 1;
}

struct TitledWindow {
    const std::wstring* text;
    HWND found;
};

std::wstring WindowTitle(HWND window) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return title;
}

HWND VisibleWindowTitled(const std::wstring& text) {
    TitledWindow search{&text, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<TitledWindow*>(param);
            if (IsWindowVisible(window) && WindowTitle(window).find(*search->text) != std::wstring::npos) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Buttons(HWND parent) {
    std::vector<HWND> buttons;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (_wcsicmp(name, L"Button") == 0 && IsWindowVisible(child)) {
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    return buttons;
}

int ShowInstallerWindow(const std::wstring& text, std::chrono::milliseconds timeout) {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = VisibleWindowTitled(text)) != nullptr; }, timeout)) {
        std::fprintf(stderr, "no window titled with %s\n", Utf8(text).c_str());
        return 1;
    }
    // The pages fill in after the window shows: wait for its Next button.
    WaitUntil([&] { return !WindowTitle(GetDlgItem(window, 1)).empty(); }, timeout);
    std::printf("%s\n", Utf8(WindowTitle(window)).c_str());
    for (HWND button : Buttons(window)) std::printf("%s\n", Utf8(WindowTitle(button)).c_str());
    return 0;
}

// The installer's language page, titled with `text`: prints its languages,
// the one it offers first and whether that is the display language's
// ("default ok": Russian for Russian, Ukrainian and Belarusian, English for
// any other), then chooses `code` ("ru" or "en") and goes on. 1 without the
// page or the language, 2 with another default.
int AnswerLanguagePage(const std::wstring& text, const std::wstring& code, std::chrono::milliseconds timeout) {
    HWND page = nullptr, list = nullptr;
    if (!WaitUntil([&] { return (page = VisibleWindowTitled(text)) && (list = FindWindowExW(page, nullptr, L"ComboBox", nullptr)); },
                   timeout)) {
        std::fprintf(stderr, "no language page titled with %s\n", Utf8(text).c_str());
        return 1;
    }
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    const int shown = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    const std::wstring wanted = code == L"ru" ? L"Русский" : L"English";
    int chosen = -1;
    std::wstring offered;
    for (int i = 0; i < count; ++i) {
        std::wstring name(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        name.resize(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data()))));
        std::printf("language %s\n", Utf8(name).c_str());
        if (name == wanted) chosen = i;
        if (i == shown) offered = name;
    }
    const LANGID display = PRIMARYLANGID(GetUserDefaultUILanguage());
    const bool russian = display == LANG_RUSSIAN || display == LANG_UKRAINIAN || display == LANG_BELARUSIAN;
    const bool defaultOk = offered == (russian ? L"Русский" : L"English");
    std::printf("offered %s, default %s\n", Utf8(offered).c_str(), defaultOk ? "ok" : "wrong");
    if (chosen < 0) return 1;
    SendMessageW(list, CB_SETCURSEL, chosen, 0);
    PostMessageW(GetDlgItem(page, IDOK), BM_CLICK, 0, 0);
    return defaultOk ? 0 : 2;
}

// A question box of `pid` other than `except`.
HWND QuestionOf(DWORD pid, HWND except) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && window != except && IsWindowVisible(window) && GetDlgItem(window, IDYES)) return window;
    }
    return nullptr;
}

int CancelInstaller(const std::wstring& text, std::chrono::milliseconds timeout) {
    HWND window = VisibleWindowTitled(text);
    if (!window) {
        std::fprintf(stderr, "no window titled with %s\n", Utf8(text).c_str());
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
    HWND question = nullptr;
    if (!WaitUntil([&] { return (question = QuestionOf(pid, window)) != nullptr; }, timeout)) {
        std::fprintf(stderr, "Cancel asked nothing\n");
        if (process) CloseHandle(process);
        return 1;
    }
    PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    const bool ended = process && WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    if (!ended) std::fprintf(stderr, "the installer did not end after Cancel and Yes\n");
    return ended ? 0 : 1;
}

// The first RT_GROUP_ICON of a program: the icon Windows shows for the file.
int PrintIconSizes(const std::wstring& file) {
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        std::fprintf(stderr, "cannot open %s (error %lu)\n", Utf8(file).c_str(), GetLastError());
        return 1;
    }
    HRSRC found = nullptr;
    EnumResourceNamesW(
        module, RT_GROUP_ICON,
        [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR param) -> BOOL {
            *reinterpret_cast<HRSRC*>(param) = FindResourceW(m, name, type);
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&found));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* dir = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD bytes = found ? SizeofResource(module, found) : 0;
    int status = 1;
    if (dir && bytes >= 6) {
        const int count = dir[4] | (dir[5] << 8);
        if (bytes >= 6u + 14u * static_cast<DWORD>(count)) {
            for (int i = 0; i < count; ++i) {
                const BYTE* entry = dir + 6 + 14 * i;  // GRPICONDIRENTRY
                const int size = entry[0] ? entry[0] : 256;
                std::printf("%d %d\n", size, entry[6] | (entry[7] << 8));
            }
            status = 0;
        }
    }
    if (status) std::fprintf(stderr, "no icon group in %s\n", Utf8(file).c_str());
    FreeLibrary(module);
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"version-info" && argc == 3) return PrintVersionInfo(argv[2]);
    if (command == L"icon-sizes" && argc == 3) return PrintIconSizes(argv[2]);
    if (command == L"manifest" && argc == 3) return PrintManifest(argv[2]);
    if (command == L"make-shorts" && argc == 3) return MakeShorts(argv[2]);
    if (command == L"check-shorts" && argc == 3) return CheckShorts(argv[2]);
    if (command == L"wait-panel" && argc == 3) {
        return WaitUntil([] { return !PanelWindows().empty(); }, std::chrono::milliseconds(_wtoi(argv[2]))) ? 0 : 1;
    }
    if (command == L"panel-count" && argc == 2) {
        std::printf("%zu\n", PanelWindows().size());
        return 0;
    }
    if (command == L"panel-programs" && argc == 2) return PrintPanelPrograms();
    if (command == L"close-panel" && argc == 3) return ClosePanels(std::chrono::milliseconds(_wtoi(argv[2])));
    if (command == L"installer-window" && argc == 4) {
        return ShowInstallerWindow(argv[2], std::chrono::milliseconds(_wtoi(argv[3])));
    }
    if (command == L"language-page" && argc == 5) {
        return AnswerLanguagePage(argv[2], argv[3], std::chrono::milliseconds(_wtoi(argv[4])));
    }
    if (command == L"cancel-installer" && argc == 4) {
        return CancelInstaller(argv[2], std::chrono::milliseconds(_wtoi(argv[3])));
    }
    std::fprintf(stderr, "usage: dist_driver version-info FILE | icon-sizes FILE | manifest FILE | make-shorts PATH | check-shorts PATH |"
                         " wait-panel MS | panel-count | panel-programs | close-panel MS | installer-window TEXT MS |"
                         " cancel-installer TEXT MS\n");
    return 2;
}
