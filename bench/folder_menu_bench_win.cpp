// Windows-side benchmark, run under Wine by `make bench`: a folder item's
// menu of a folder of 2000 files, from the press until the menu shows its
// contents and waits for the user, against a bare program's way of doing the
// same on one thread (list the folder, ask each entry's shown name, order
// them, keep 500, ask their icons, show the menu) with the same shell calls
// (names and type icons from the names alone). Meanwhile another thread
// sends the panel's window a message every few milliseconds: the longest
// answer tells whether the panel kept answering while the menu opened.
//
//   folder_menu_bench.exe [REPETITIONS]
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_clock_win.h"
#include "panel/folder_menu_win.h"
#include "platform/com_apartment.h"
#include "platform/handles.h"

namespace {

constexpr int kFiles = 2000;
constexpr size_t kShown = 500;

tilerack::FolderMenu* g_menu = nullptr;
HIMAGELIST g_bareIcons = nullptr;  // the system's small icons, for the bare program's menu
double g_shownAt = 0;

// The menu is up with its contents and waits for the user: the time taken,
// and the menu closed.
void MenuIdle(LPARAM menuWindow) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(reinterpret_cast<HWND>(menuWindow), MN_GETHMENU, 0, 0));
    if (menu && GetMenuItemCount(menu) <= 1) return;  // "Чтение…" alone: the contents come later
    if (g_shownAt == 0) g_shownAt = bench::Now();
    EndMenu();
}

LRESULT CALLBACK BenchProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (g_menu && g_menu->AnswerMenuMessage(message, wp, lp, result)) return result;
    if (message == WM_ENTERIDLE && wp == MSGF_MENU) MenuIdle(lp);
    if (message == WM_MEASUREITEM) {
        auto& m = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        m.itemWidth = GetSystemMetrics(SM_CXSMICON);
        m.itemHeight = GetSystemMetrics(SM_CYSMICON);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        ImageList_Draw(g_bareIcons, static_cast<int>(d.itemData), d.hDC, d.rcItem.left, d.rcItem.top, ILD_TRANSPARENT);
        return TRUE;
    }
    return DefWindowProcW(window, message, wp, lp);
}

std::wstring MakeFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"tilerack-folder-menu-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring file = folder + L"\\file " + std::to_wstring(i) + L".txt";
        tilerack::win::UniqueFile handle(
            CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return folder;
}

// The bare program: everything on this thread, the simplest calls.
void BareMenu(HWND window, const std::wstring& folder) {
    struct Entry {
        std::wstring path, shown;
        bool folder;
        int icon;
    };
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    do {
        if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
        const std::wstring path = folder + L"\\" + found.cFileName;
        SHFILEINFOW info{};
        SHGetFileInfoW(path.c_str(), found.dwFileAttributes, &info, sizeof(info),
                       SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES);
        entries.push_back({path, info.szDisplayName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, 0});
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.folder != b.folder ? a.folder : StrCmpLogicalW(a.shown.c_str(), b.shown.c_str()) < 0;
    });
    if (entries.size() > kShown) entries.resize(kShown);
    tilerack::win::UniqueMenu menu(CreatePopupMenu());
    UINT id = 1;
    for (Entry& e : entries) {
        SHFILEINFOW info{};
        g_bareIcons = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(e.path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                           SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_ID | MIIM_BITMAP | MIIM_DATA;
        item.dwTypeData = e.shown.data();
        item.wID = id++;
        item.dwItemData = static_cast<ULONG_PTR>(info.iIcon);
        item.hbmpItem = HBMMENU_CALLBACK;
        InsertMenuItemW(menu.get(), GetMenuItemCount(menu.get()), TRUE, &item);
    }
    SetForegroundWindow(window);
    TrackPopupMenu(menu.get(), TPM_RETURNCMD, 100, 100, 0, window, nullptr);
}

// Sends `window` a message every 2 ms while `running`; the longest answer.
struct Prober {
    HWND window;
    std::atomic<bool> running{true};
    double longest = 0;
    static DWORD WINAPI Run(void* self) {
        auto& p = *static_cast<Prober*>(self);
        while (p.running) {
            const double start = bench::Now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(p.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
            p.longest = std::max(p.longest, bench::Now() - start);
            Sleep(2);
        }
        return 0;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const tilerack::win::ThreadApartment apartment;
    WNDCLASSW wc{};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FolderMenuBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"bench", WS_POPUP, 0, 0, 64, 400, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    const std::wstring folder = MakeFolder();
    const tilerack::ButtonStrip strip;
    const tilerack::PanelMetrics metrics;
    tilerack::FolderMenu menu(strip, metrics, {.StartFile = [](const std::wstring&, const std::wstring&) {},
                                               .OnRightSide = [] { return false; },
                                               .EnableTimerMouse = [](bool) {}});
    menu.Attach(window);
    g_menu = &menu;
    std::vector<double> ours, bare;
    double longestAnswer = 0;
    for (int i = 0; i <= repetitions; ++i) {  // the first round warms the shell up
        Prober prober{window};
        HANDLE thread = CreateThread(nullptr, 0, &Prober::Run, &prober, 0, nullptr);
        g_shownAt = 0;
        double start = bench::Now();
        menu.Open(folder, RECT{0, 0, 64, 34}, false);
        const double oursTime = g_shownAt - start;
        prober.running = false;
        // Its last message may still be on its way: answered while waiting.
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG pending;
            PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread);
        g_menu = nullptr;  // the bare program answers its own menu's messages
        g_shownAt = 0;
        start = bench::Now();
        BareMenu(window, folder);
        const double bareTime = g_shownAt - start;
        g_menu = &menu;
        if (i == 0) continue;
        ours.push_back(oursTime);
        bare.push_back(bareTime);
        longestAnswer = std::max(longestAnswer, prober.longest);
    }
    const double o = bench::Median(ours) * 1000, b = bench::Median(bare) * 1000;
    std::printf("folder menu of %d files (%zu shown): %.1f ms, bare program %.1f ms, %.2fx; "
                "longest answer while opening %.1f ms (%d runs)\n",
                kFiles, kShown, o, b, b > 0 ? o / b : 0.0, longestAnswer * 1000, repetitions);
    DestroyWindow(window);
    return 0;
}
