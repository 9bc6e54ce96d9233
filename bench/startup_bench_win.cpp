// Windows-side benchmark, run under Wine by `make bench`: what the panel
// costs beside the least Win32 program with a window, every figure against
// a baseline measured in the same run.
//
//   start-up   process creation to the first visible window, and the working
//              set one second later, for item files of 0, 100 and 500 items,
//              alternating with least_window.exe
//   idle       CPU time over a stretch with the pointer away, beside
//              least_window.exe --timers running the same two timers
//   item file  loading and saving 1000 items against reading and writing
//              the same bytes raw; a burst of 200 moves with its one
//              gathered save against a save after every move
//   closing    close request to process end with 1500 items against the
//              safe save of the same bytes alone
//   size       tilerack.exe on disk
//   scale      start-up at 200 % (192 DPI) against 100 % (96 DPI) in the same
//              run, the display scale set as Wine reads it (LogPixels)
//   sharp      start-up with 500 items whose pictures are their file's icon,
//              at 100 % and 200 %, each against least_window.exe at the same
//              scale, and at 200 % the time until the sharp pictures of the
//              items on screen are all in
//
//   startup_bench.exe [--runs N] [--idle-seconds S] [--only SECTION]
// tilerack.exe and least_window.exe are taken from the benchmark's folder.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_clock_win.h"
#include "common/bmp_codec.h"
#include "common/byte_stream.h"
#include "items/shortcut.h"
#include "items/shortcut_file.h"
#include "panel/item_list.h"
#include "panel/save_gathering.h"
#include "platform/file_icons.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/window_messages.h"
#include "tests/e2e/shorts_file_builder.h"

namespace {

using bench::Median;
using bench::Now;

struct Options {
    int runs = 7;
    int idleSeconds = 60;
    std::wstring only;
};

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

std::wstring BenchFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Folder(path);
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "startup_bench: %s (error %lu)\n", what, GetLastError());
    std::exit(1);
}

// ---- Item files -------------------------------------------------------------

std::vector<uint8_t> ItemFileBytes(int count) {
    std::vector<e2e::ShortRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        records.push_back({.params = "/n " + n,
                           .fileName = "C:\\windows\\notepad.exe",
                           .caption = "Item " + n,
                           .workDir = "C:\\windows",
                           .hint = "Hint of item " + n,
                           .trackDrives = true,
                           .image = e2e::Bmp24Image(static_cast<uint32_t>(i))});
    }
    return e2e::BuildShortsFile(records).bytes;
}

void WriteOrFail(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    tilerack::win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail("cannot write a file");
}

// A folder of its own holding a copy of the program and an item file of
// `items` items, so each program start reads exactly that list.
std::wstring PrepareFolder(const std::wstring& root, const std::wstring& tilerack, int items) {
    const std::wstring folder = root + L"items-" + std::to_wstring(items) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!CopyFileW(tilerack.c_str(), (folder + L"tilerack.exe").c_str(), FALSE)) Fail("cannot copy tilerack.exe");
    WriteOrFail(folder + L"shorts.dat", ItemFileBytes(items));
    return folder;
}

// ---- Processes and their windows ----------------------------------------------

struct Process {
    tilerack::win::UniqueKernelObject handle;
    DWORD pid = 0;
    HWND window = nullptr;
    double secondsToVisible = 0;
};

struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Starts `exe` in `folder` and polls for its visible window of `className`;
// the time runs from just before the process is created.
Process StartUntilVisible(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                          const wchar_t* className) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        Fail("cannot start a program");
    CloseHandle(pi.hThread);
    Process p;
    p.handle.reset(pi.hProcess);
    p.pid = pi.dwProcessId;
    WindowSearch search{p.pid, className, nullptr};
    while (Now() - start < 30) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (WaitForSingleObject(p.handle.get(), 0) == WAIT_OBJECT_0) Fail("a program ended before showing its window");
        Sleep(1);
    }
    if (!search.found) Fail("no visible window within 30 s");
    p.secondsToVisible = Now() - start;
    p.window = search.found;
    return p;
}

// Asks the program to close as a user would and waits for the process to end;
// returns the seconds from the request to the end.
double CloseAndWait(Process& p) {
    const double start = Now();
    PostMessageW(p.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(p.handle.get(), 30000) != WAIT_OBJECT_0) {
        TerminateProcess(p.handle.get(), 1);
        WaitForSingleObject(p.handle.get(), 5000);
        Fail("a program did not end within 30 s of its close request");
    }
    return Now() - start;
}

struct Memory {
    double workingSetMb = 0;
};

Memory MemoryOf(const Process& p) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(p.handle.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters)))
        Fail("no memory counters for a program");
    return {counters.WorkingSetSize / 1048576.0};
}

// ---- CPU time ---------------------------------------------------------------
// Wine does not account another process's CPU time in GetProcessTimes, so there the
// figure comes from Linux's own accounting of the process's threads (ns run
// time from /proc/PID/task/*/schedstat), read through Wine's Z: drive.

std::string ReadSmallFile(const std::wstring& path) {
    tilerack::win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file) return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

template <typename F>
void ForEachEntry(const std::wstring& folder, F&& visit) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (data.cFileName[0] >= L'0' && data.cFileName[0] <= L'9') visit(std::wstring(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// The Linux process whose command line starts with `exe` (Wine shows the
// Windows path there); empty when there is none or no /proc to read.
std::wstring LinuxProcessFolderOf(const std::wstring& exe) {
    std::wstring found;
    std::string wanted(exe.begin(), exe.end());  // the paths here are ASCII
    for (auto& c : wanted) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    ForEachEntry(L"Z:\\proc", [&](const std::wstring& pid) {
        if (!found.empty()) return;
        std::string commandLine = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        commandLine = commandLine.substr(0, commandLine.find('\0'));
        for (auto& c : commandLine) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (commandLine == wanted) found = L"Z:\\proc\\" + pid;
    });
    return found;
}

double LinuxCpuSeconds(const std::wstring& processFolder) {
    double seconds = 0;
    ForEachEntry(processFolder + L"\\task", [&](const std::wstring& tid) {
        const std::string stat = ReadSmallFile(processFolder + L"\\task\\" + tid + L"\\schedstat");
        seconds += std::strtoull(stat.c_str(), nullptr, 10) / 1e9;
    });
    return seconds;
}

struct CpuClock {
    const Process* process;
    std::wstring linuxFolder;

    CpuClock(const Process& p, const std::wstring& exe) : process(&p) {
        if (RunningUnderWine()) {
            linuxFolder = LinuxProcessFolderOf(exe);
            if (linuxFolder.empty()) Fail("the process was not found in /proc");
        }
    }
    static bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"); }
    double WindowsSeconds() const {
        FILETIME created, ended, kernel, user;
        if (!GetProcessTimes(process->handle.get(), &created, &ended, &kernel, &user)) Fail("no process times");
        auto seconds = [](FILETIME t) {
            return (static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
        };
        return seconds(kernel) + seconds(user);
    }
    double Seconds() const { return linuxFolder.empty() ? WindowsSeconds() : LinuxCpuSeconds(linuxFolder); }
    const char* Source() const { return linuxFolder.empty() ? "GetProcessTimes" : "Linux schedstat"; }
};

const char* Verdict(bool met) { return met ? "within goal" : "OVER GOAL"; }

// ---- Sections -----------------------------------------------------------------

struct Paths {
    std::wstring tilerack, least, scratch;
};

void StartUp(const Paths& paths, const Options& options) {
    const int counts[] = {0, 100, 500};
    std::wstring folders[3];
    for (int i = 0; i < 3; ++i) folders[i] = PrepareFolder(paths.scratch, paths.tilerack, counts[i]);

    std::vector<double> leastTimes, times[3], leastSets, sets[3];
    auto measure = [&](const std::wstring& exe, const std::wstring& folder, const wchar_t* className,
                       std::vector<double>* time, std::vector<double>* set) {
        Process p = StartUntilVisible(exe, L"", folder, className);
        Sleep(1000);
        const Memory m = MemoryOf(p);
        CloseAndWait(p);
        // The closing save's write-back and the file system's journal commit
        // must not land in the next start: with 300 ms about half the starts
        // came out 15-20 ms slower, whichever program it was.
        Sleep(1500);
        if (time) {
            time->push_back(p.secondsToVisible);
            set->push_back(m.workingSetMb);
        }
    };
    // One start of each first: the file cache and Wine's own first-time work.
    measure(paths.least, paths.scratch, L"LeastWindow", nullptr, nullptr);
    for (int i = 0; i < 3; ++i) measure(folders[i] + L"tilerack.exe", folders[i], L"TMainPanel", nullptr, nullptr);
    // Each start of the panel also counts against the least window's start
    // just before it: the median of those ratios follows the machine's
    // slower and faster spells, which the ratio of the medians mixes in.
    std::vector<double> pairedRatios[3];
    for (int run = 0; run < options.runs; ++run)
        for (int i = 0; i < 3; ++i) {
            measure(paths.least, paths.scratch, L"LeastWindow", &leastTimes, &leastSets);
            measure(folders[i] + L"tilerack.exe", folders[i], L"TMainPanel", &times[i], &sets[i]);
            pairedRatios[i].push_back(times[i].back() / leastTimes.back());
        }

    auto fastest = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    const double least = Median(leastTimes), leastSet = Median(leastSets);
    std::printf("start-up to the first visible window, medians of %d runs (least window program: %zu runs);"
                " fastest run in brackets\n",
                options.runs, leastTimes.size());
    std::printf("  least window program  %7.1f ms (%5.1f)   working set %6.2f MB\n", least * 1000,
                fastest(leastTimes) * 1000, leastSet);
    for (int i = 0; i < 3; ++i) {
        const double t = Median(times[i]), set = Median(sets[i]);
        std::printf("  tilerack, %3d items   %7.1f ms (%5.1f)   working set %6.2f MB   ratio %.2f (paired %.2f)"
                    "   working set %+.2f MB\n",
                    counts[i], t * 1000, fastest(times[i]) * 1000, set, t / least, Median(pairedRatios[i]),
                    set - leastSet);
    }
    std::printf("  (ratio: of the medians; paired: the median of each start against the least window's just"
                " before)\n");
    const double ratio0 = Median(pairedRatios[0]), ratio500 = Median(pairedRatios[2]);
    const double extra500 = Median(sets[2]) - leastSet;
    std::printf("  goal: no items <= 1.1x (paired): %.2f, %s\n", ratio0, Verdict(ratio0 <= 1.1));
    std::printf("  goal: 500 items <= 1.1x (paired): %.2f, %s\n", ratio500, Verdict(ratio500 <= 1.1));
    std::printf("  500 items against no items: %.2f\n", Median(times[2]) / Median(times[0]));
    std::printf("  goal: 500 items working set <= +4 MB: %+.2f MB, %s\n", extra500, Verdict(extra500 <= 4));
}

// The display scale Wine gives the processes started after it is set; the
// value there before is put back when the section ends.
class LogPixelsSetting {
public:
    LogPixelsSetting() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            Fail("cannot open the display settings");
        DWORD size = sizeof(original_);
        hadValue_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&original_),
                                     &size) == ERROR_SUCCESS;
    }
    ~LogPixelsSetting() {
        if (hadValue_)
            Set(original_);
        else
            RegDeleteValueW(key_, L"LogPixels");
        RegCloseKey(key_);
    }
    void Set(DWORD dpi) {
        if (RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)) !=
            ERROR_SUCCESS)
            Fail("cannot set the display scale");
    }

private:
    HKEY key_ = nullptr;
    DWORD original_ = 96;
    bool hadValue_ = false;
};

void ScaleStartUp(const Paths& paths, const Options& options) {
    const int counts[] = {0, 100};
    const DWORD scales[] = {96, 192};
    std::wstring folders[2];
    for (int i = 0; i < 2; ++i) folders[i] = PrepareFolder(paths.scratch, paths.tilerack, counts[i]);
    LogPixelsSetting logPixels;
    std::vector<double> times[2][2];
    auto measure = [&](int count, int scale, bool keep) {
        logPixels.Set(scales[scale]);
        Process p = StartUntilVisible(folders[count] + L"tilerack.exe", L"", folders[count], L"TMainPanel");
        CloseAndWait(p);
        Sleep(1500);  // the closing save's write-back stays out of the next start
        if (keep) times[count][scale].push_back(p.secondsToVisible);
    };
    for (int count = 0; count < 2; ++count)
        for (int scale = 0; scale < 2; ++scale) measure(count, scale, false);
    // Alternating, so a slow stretch of the machine weighs on both scales.
    for (int run = 0; run < options.runs; ++run)
        for (int count = 0; count < 2; ++count)
            for (int scale = 0; scale < 2; ++scale) measure(count, (scale + run) % 2, true);
    std::printf("start-up at 200 %% against 100 %%, medians of %d runs each\n", options.runs);
    for (int count = 0; count < 2; ++count) {
        const double at96 = Median(times[count][0]), at192 = Median(times[count][1]);
        std::printf("  %3d items   96 DPI %7.1f ms   192 DPI %7.1f ms   ratio %.2f\n", counts[count], at96 * 1000,
                    at192 * 1000, at192 / at96);
        std::printf("  goal: %d items, scaling costs <= 10 %%: %.2f, %s\n", counts[count], at192 / at96,
                    Verdict(at192 / at96 <= 1.1));
    }
}

// 500 items of one program, each with the picture a drop of it makes at
// 100 % on the default panel colour.
std::wstring PrepareFileIconFolder(const std::wstring& root, const std::wstring& tilerack) {
    const std::string program = "C:\\windows\\notepad.exe";
    tilerack::TBitmap icon;
    tilerack::win::ExtractFileIcon(icon, program, 0, 0x00F4E0E0);
    tilerack::ByteWriter image;
    tilerack::WriteEmbeddedBitmap(image, icon);
    std::vector<e2e::ShortRecord> records;
    for (int i = 0; i < 500; ++i)
        records.push_back({.fileName = program, .caption = "Item " + std::to_string(i), .trackDrives = true,
                           .image = image.Bytes()});
    const std::wstring folder = root + L"file-icons-500\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!CopyFileW(tilerack.c_str(), (folder + L"tilerack.exe").c_str(), FALSE)) Fail("cannot copy tilerack.exe");
    WriteOrFail(folder + L"shorts.dat", e2e::BuildShortsFile(records).bytes);
    return folder;
}

// Polls the panel until no item on screen waits for its sharp picture;
// the seconds since `p` was created (its start-up figure is the base).
double SecondsToSharpPictures(const Process& p) {
    const UINT waiting = tilerack::win::SharpIconsWaitingMessage();
    const double created = Now() - p.secondsToVisible;
    DWORD_PTR left = 1;
    while (Now() - created < 30) {
        if (!SendMessageTimeoutW(p.window, waiting, 0, 0, SMTO_ABORTIFHUNG, 5000, &left)) Fail("the panel did not answer");
        if (left == 0) return Now() - created;
        Sleep(1);
    }
    Fail("sharp pictures still missing after 30 s");
}

void SharpStartUp(const Paths& paths, const Options& options) {
    const std::wstring folder = PrepareFileIconFolder(paths.scratch, paths.tilerack);
    const DWORD scales[] = {96, 192};
    LogPixelsSetting logPixels;
    std::vector<double> panel[2], least[2], paired[2], sharp;
    auto startLeast = [&] {
        Process l = StartUntilVisible(paths.least, L"", paths.scratch, L"LeastWindow");
        CloseAndWait(l);
        Sleep(1500);
        return l.secondsToVisible;
    };
    auto measure = [&](int scale, bool keep) {
        logPixels.Set(scales[scale]);
        // The first start after a change of scale pays for Wine's own work
        // at the new scale: a start of neither program that counts.
        startLeast();
        const double leastSeconds = startLeast();
        Process p = StartUntilVisible(folder + L"tilerack.exe", L"", folder, L"TMainPanel");
        const double toSharp = scale == 1 ? SecondsToSharpPictures(p) : 0;
        CloseAndWait(p);
        Sleep(1500);  // the closing save's write-back stays out of the next start
        if (!keep) return;
        least[scale].push_back(leastSeconds);
        panel[scale].push_back(p.secondsToVisible);
        paired[scale].push_back(p.secondsToVisible / leastSeconds);
        if (scale == 1) sharp.push_back(toSharp);
    };
    for (int scale = 0; scale < 2; ++scale) measure(scale, false);
    for (int run = 0; run < options.runs; ++run)
        for (int scale = 0; scale < 2; ++scale) measure((scale + run) % 2, true);
    std::printf("start-up with 500 items of file icons against the least window program at the same scale,"
                " medians of %d runs\n", options.runs);
    for (int scale = 0; scale < 2; ++scale) {
        const double l = Median(least[scale]), t = Median(panel[scale]);
        const double ratio = Median(paired[scale]);
        std::printf("  %3lu DPI   least window %7.1f ms   tilerack %7.1f ms   ratio %.2f (paired %.2f)\n",
                    scales[scale], l * 1000, t * 1000, t / l, ratio);
        std::printf("  goal: %lu DPI, <= 1.1x (paired): %.2f, %s\n", scales[scale], ratio, Verdict(ratio <= 1.1));
    }
    std::printf("  192 DPI: the sharp pictures of the items on screen all in %.1f ms after process creation"
                " (%.1f ms after the panel showed)\n",
                Median(sharp) * 1000, (Median(sharp) - Median(panel[1])) * 1000);
}

void Idle(const Paths& paths, const Options& options) {
    const std::wstring folder = PrepareFolder(paths.scratch, paths.tilerack, 100);
    Process panel = StartUntilVisible(folder + L"tilerack.exe", L"", folder, L"TMainPanel");
    Process least = StartUntilVisible(paths.least, L"--timers", paths.scratch, L"LeastWindow");
    // The pointer away from both edges: the panel slides out and only its
    // timers keep running.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    Sleep(3000);
    const CpuClock panelClock(panel, folder + L"tilerack.exe"), leastClock(least, paths.least);
    const double panelStart = panelClock.Seconds(), leastStart = leastClock.Seconds();
    Sleep(options.idleSeconds * 1000);
    const double panelCpu = panelClock.Seconds() - panelStart, leastCpu = leastClock.Seconds() - leastStart;
    CloseAndWait(panel);
    CloseAndWait(least);
    const double seconds = options.idleSeconds;
    std::printf("idle for %d s with the pointer away, both timers running (100 items; CPU from %s)\n",
                options.idleSeconds, panelClock.Source());
    std::printf("  least program with the two timers   %7.1f ms CPU   %.2f %% of a core\n", leastCpu * 1000,
                leastCpu / seconds * 100);
    std::printf("  tilerack                            %7.1f ms CPU   %.2f %% of a core\n", panelCpu * 1000,
                panelCpu / seconds * 100);
    if (leastCpu > 0) {
        const double ratio = panelCpu / leastCpu;
        std::printf("  goal: <= 1.2x the least program: %.2f, %s\n", ratio, Verdict(ratio <= 1.2));
    } else {
        std::printf("  the least program shows no CPU time at all: no ratio\n");
    }
}

std::vector<uint8_t> RawRead(const std::wstring& path) {
    tilerack::win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) Fail("cannot open a file");
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        Fail("cannot read a file");
    return bytes;
}

// 200 moves of one item through a list of 1000 (a held Ctrl+Down), as the
// panel gathers them: the moves, then one save once the burst has passed;
// against a save after every move.
void MoveBurst(const std::wstring& path, const std::vector<uint8_t>& bytes, int runs) {
    tilerack::ItemList list;
    tilerack::LoadShortcutList(bytes, [&](std::unique_ptr<tilerack::TShortCut> item) { list.Append(std::move(item)); });
    const auto save = [&] {
        const std::vector<const tilerack::TShortCut*> items = list.Items();
        tilerack::win::SaveFileSafely(path, [&](const tilerack::win::FileSink& put) { WriteShortcutList(items, put); });
    };
    std::vector<double> gathered, each;
    for (int run = 0; run <= runs; ++run) {
        double t = Now();
        tilerack::SaveGathering gathering;
        const tilerack::TShortCut* moving = &*list.At(0).item;
        for (int move = 1; move <= 200; ++move) {
            list.MoveTo(moving, static_cast<size_t>(move));
            gathering.Changed(move);
        }
        if (gathering.Due(200 + tilerack::SaveGathering::kQuietMs, false)) save();
        const double gathered1 = Now() - t;
        t = Now();
        for (int move = 199; move >= 0; --move) {
            list.MoveTo(moving, static_cast<size_t>(move));
            save();
        }
        const double each1 = Now() - t;
        if (run == 0) continue;  // warm-up
        gathered.push_back(gathered1);
        each.push_back(each1);
    }
    std::printf("  200 moves, gathered into one save %7.2f ms   a save after each move %7.2f ms   ratio %.3f\n",
                Median(gathered) * 1000, Median(each) * 1000, Median(gathered) / Median(each));
}

void ItemFile(const Paths& paths, const Options& options) {
    const std::wstring path = paths.scratch + L"file-bench-shorts.dat";
    const std::wstring rawPath = paths.scratch + L"file-bench-raw.dat";
    const std::vector<uint8_t> original = ItemFileBytes(1000);
    WriteOrFail(path, original);

    std::vector<double> loads, rawReads, saves, rawWrites, rawFlushedWrites;
    const int runs = options.runs * 3;
    for (int run = 0; run <= runs; ++run) {
        double t = Now();
        std::vector<std::unique_ptr<tilerack::TShortCut>> items;
        const std::optional<std::vector<uint8_t>> bytes = tilerack::win::ReadWholeFile(path);
        const tilerack::ShortcutListLoad load = tilerack::LoadShortcutList(
            *bytes, [&](std::unique_ptr<tilerack::TShortCut> item) { items.push_back(std::move(item)); });
        const double load1 = Now() - t;
        if (load.Damaged() || items.size() != 1000) Fail("the item file did not load");

        t = Now();
        const std::vector<uint8_t> raw = RawRead(path);
        const double rawRead1 = Now() - t;

        t = Now();
        std::vector<const tilerack::TShortCut*> list;
        for (const auto& item : items) list.push_back(item.get());
        tilerack::win::SaveFileSafely(path, [&](const tilerack::win::FileSink& put) {
            tilerack::WriteShortcutList(list, put);
        });
        const double save1 = Now() - t;

        t = Now();
        WriteOrFail(rawPath, raw);
        const double rawWrite1 = Now() - t;

        t = Now();
        {
            tilerack::win::UniqueFile file(
                CreateFileW(rawPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            if (!file || !WriteFile(file.get(), raw.data(), static_cast<DWORD>(raw.size()), &written, nullptr) ||
                !FlushFileBuffers(file.get()))
                Fail("cannot write a file");
        }
        const double rawFlushed1 = Now() - t;
        if (run == 0) continue;  // warm-up
        loads.push_back(load1);
        rawReads.push_back(rawRead1);
        saves.push_back(save1);
        rawWrites.push_back(rawWrite1);
        rawFlushedWrites.push_back(rawFlushed1);
    }
    const std::optional<std::vector<uint8_t>> after = tilerack::win::ReadWholeFile(path);
    if (!after || *after != original) Fail("the saved item file differs from the loaded one");
    DeleteFileW(rawPath.c_str());

    const double load = Median(loads), rawRead = Median(rawReads), save = Median(saves);
    const double rawWrite = Median(rawWrites), rawFlushed = Median(rawFlushedWrites);
    std::printf("item file of 1000 items (%.2f MB), medians of %d runs\n", original.size() / 1048576.0, runs);
    std::printf("  load (read + parse)              %7.2f ms   raw read %7.2f ms   ratio %.2f\n", load * 1000,
                rawRead * 1000, load / rawRead);
    std::printf("  save (serialise + safe save)     %7.2f ms   raw write %7.2f ms   ratio %.2f\n", save * 1000,
                rawWrite * 1000, save / rawWrite);
    std::printf("  raw write flushed to the disk    %7.2f ms   (the safe save flushes: ratio to this %.2f)\n",
                rawFlushed * 1000, save / rawFlushed);
    std::printf("  goal: load <= 3x raw: %.2f, %s\n", load / rawRead, Verdict(load / rawRead <= 3));
    std::printf("  goal: save <= 3x raw: %.2f, %s\n", save / rawWrite, Verdict(save / rawWrite <= 3));
    MoveBurst(path, original, runs);
    DeleteFileW(path.c_str());
}

void Closing(const Paths& paths, const Options& options) {
    const std::wstring folder = PrepareFolder(paths.scratch, paths.tilerack, 1500);
    const std::vector<uint8_t> bytes = *tilerack::win::ReadWholeFile(folder + L"shorts.dat");
    const std::wstring savePath = paths.scratch + L"close-bench-safe-save.dat";

    std::vector<double> closes, safeSaves, leastCloses;
    for (int run = 0; run <= options.runs; ++run) {
        Process panel = StartUntilVisible(folder + L"tilerack.exe", L"", folder, L"TMainPanel");
        Sleep(1000);
        const double close = CloseAndWait(panel);
        const double t = Now();
        tilerack::win::SaveFileSafely(savePath, bytes);
        const double safeSave = Now() - t;
        Process least = StartUntilVisible(paths.least, L"", paths.scratch, L"LeastWindow");
        Sleep(200);
        const double leastClose = CloseAndWait(least);
        if (run == 0) continue;  // warm-up
        closes.push_back(close);
        safeSaves.push_back(safeSave);
        leastCloses.push_back(leastClose);
    }
    DeleteFileW(savePath.c_str());
    const double close = Median(closes), safeSave = Median(safeSaves);
    std::printf("closing with 1500 items (%.2f MB), medians of %d runs\n", bytes.size() / 1048576.0, options.runs);
    std::printf("  close request to process end     %7.1f ms\n", close * 1000);
    std::printf("  safe save of the same bytes      %7.1f ms   ratio %.2f\n", safeSave * 1000, close / safeSave);
    std::printf("  (least window program: close request to process end %.1f ms)\n", Median(leastCloses) * 1000);
    std::printf("  goal: <= 2x the safe save: %.2f, %s\n", close / safeSave, Verdict(close / safeSave <= 2));
}

void Size(const Paths& paths) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(paths.tilerack.c_str(), GetFileExInfoStandard, &data)) Fail("no tilerack.exe");
    const double kb = data.nFileSizeLow / 1024.0;
    std::printf("tilerack.exe: %.0f KB, goal <= 1024 KB: %s\n", kb, Verdict(kb <= 1024));
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        if (name == L"--runs") o.runs = std::max(1, _wtoi(argv[i + 1]));
        else if (name == L"--idle-seconds") o.idleSeconds = std::max(1, _wtoi(argv[i + 1]));
        else if (name == L"--only") o.only = argv[i + 1];
    }
    return o;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const Options options = ParseOptions(argc, argv);
    setvbuf(stdout, nullptr, _IONBF, 0);
    Paths paths;
    paths.tilerack = BenchFolder() + L"tilerack.exe";
    paths.least = BenchFolder() + L"least_window.exe";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    paths.scratch = std::wstring(temp) + L"tilerack-startup-bench\\";
    CreateDirectoryW(paths.scratch.c_str(), nullptr);
    // The panel's settings file from an earlier run would change its shape.
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    DeleteFileW((std::wstring(windows) + L"\\tilerack.INI").c_str());

    auto wanted = [&](const wchar_t* section) { return options.only.empty() || options.only == section; };
    if (wanted(L"size")) Size(paths);
    if (wanted(L"startup")) StartUp(paths, options);
    if (wanted(L"scale")) ScaleStartUp(paths, options);
    if (wanted(L"sharp")) SharpStartUp(paths, options);
    if (wanted(L"files")) ItemFile(paths, options);
    if (wanted(L"close")) Closing(paths, options);
    if (wanted(L"idle")) Idle(paths, options);
    return 0;
}
