// Windows-side benchmark, run under Wine by `make bench`: the panel's show
// sequence (the screen capture under the strip, the blend with the panel's
// colour and the first full paint) on a 96-pixel-wide strip of the screen's
// full height, with no items and with 500 items, in one process.
// With --strip-4k (run on a 3840 x 2160 screen at 192 DPI): the show
// sequence of a panel of the default width against one plain BitBlt of the
// strip it captures, read into a bitmap of the same kind.
//
//   show_sequence_bench.exe [--strip-4k] [REPETITIONS]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_clock_win.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/dib.h"
#include "platform/display_scale.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "tests/e2e/shorts_file_builder.h"

namespace {

using bench::Median;
using bench::Now;

// An item file of `count` items.
std::vector<uint8_t> ItemFile(int count) {
    std::vector<e2e::ShortRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back({.fileName = "C:\\windows\\notepad.exe",
                           .caption = "Item " + std::to_string(i),
                           .hint = "Hint " + std::to_string(i),
                           .image = e2e::Bmp24Image(static_cast<uint32_t>(i))});
    return e2e::BuildShortsFile(records).bytes;
}

// One show as the pointer watch runs it: capture and blend, then a paint of
// the whole client area straight to the window.
double ShowSequence(tilerack::TMainPanel& panel) {
    const double start = Now();
    panel.CaptureAndRepaint();
    GdiFlush();
    return Now() - start;
}

double MedianShow(tilerack::TMainPanel& panel, int repetitions) {
    ShowSequence(panel);  // warm-up
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) times.push_back(ShowSequence(panel));
    return Median(times);
}

// A panel as the program makes it, 96 pixels wide, from the item file beside
// the benchmark (if any).
std::unique_ptr<tilerack::TMainPanel> ShownPanel() {
    auto panel = std::make_unique<tilerack::TMainPanel>();
    panel->Create();
    panel->Show();
    tilerack::PanelSettings settings = panel->Settings();
    settings.width = 96;
    settings.opacity = 50;
    panel->ChangeSettings(settings);
    return panel;
}

// One read of the screen rectangle into a DIB section made beforehand, as
// the capture's least possible cost. (A new section for each read would add
// the first touch of its memory: under Wine that made this figure swing
// between about 5 and 13 ms from run to run.)
double PlainRead(tilerack::win::DibCanvas& canvas, int left) {
    const double start = Now();
    tilerack::win::WindowDC screen;
    BitBlt(canvas.dc(), 0, 0, canvas.Width(), canvas.Height(), screen.get(), left, 0, SRCCOPY);
    GdiFlush();
    return Now() - start;
}

int Strip4k(int repetitions) {
    tilerack::win::Application::Instance().Initialize(GetModuleHandleW(nullptr), L"show_sequence_bench");
    auto panel = std::make_unique<tilerack::TMainPanel>();
    panel->Create();
    panel->Show();
    tilerack::PanelSettings settings = panel->Settings();
    settings.opacity = 50;
    panel->ChangeSettings(settings);
    RECT client{};
    GetClientRect(panel->Handle(), &client);
    const int dpi = tilerack::win::WindowDpi(panel->Handle());
    // What the panel captures: its client width and the columns kept beyond it.
    const int width = client.right + MulDiv(32, dpi, 96), height = GetSystemMetrics(SM_CYSCREEN);
    const double show = MedianShow(*panel, repetitions);
    tilerack::win::DibCanvas canvas(width, height);
    PlainRead(canvas, 0);  // warm-up
    std::vector<double> reads;
    for (int i = 0; i < repetitions; ++i) reads.push_back(PlainRead(canvas, 0));
    const double read = Median(reads);
    std::printf("show sequence on a %d x %d screen at %d DPI: the panel captures %d x %d, medians of %d\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi, width, height, repetitions);
    std::printf("  one BitBlt of the strip   %7.2f ms\n", read * 1000);
    std::printf("  show sequence             %7.2f ms   ratio %.2f\n", show * 1000, show / read);
    std::printf("  goal: <= 1.3x: %.2f, %s\n", show / read, show / read <= 1.3 ? "within goal" : "OVER GOAL");
    std::fflush(stdout);
    ExitProcess(0);
}

}  // namespace

int main(int argc, char** argv) {
    const bool strip4k = argc > 1 && std::string(argv[1]) == "--strip-4k";
    if (strip4k) {
        --argc;
        ++argv;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    if (tilerack::win::FileExists(tilerack::win::ExeFolder() + L"shorts.dat")) {
        std::fprintf(stderr, "show_sequence_bench: an item file lies beside the benchmark; it must start empty\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (strip4k) {
        // Aware of the screen's scale, as the program declares itself.
        using SetContextFn = BOOL(WINAPI*)(HANDLE);
        const auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
        if (set) set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
        return Strip4k(repetitions);
    }
    auto& app = tilerack::win::Application::Instance();
    app.Initialize(GetModuleHandleW(nullptr), L"show_sequence_bench");

    // Neither panel is ever closed: the benchmark's items are not a user's,
    // and nothing of them may be saved.
    std::unique_ptr<tilerack::TMainPanel> empty = ShownPanel();
    RECT frame{};
    GetWindowRect(empty->Handle(), &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const double none = MedianShow(*empty, repetitions);
    ShowWindow(empty->Handle(), SW_HIDE);

    const std::wstring itemFile = tilerack::win::ExeFolder() + L"shorts.dat";
    const std::vector<uint8_t> bytes = ItemFile(500);
    tilerack::win::SaveFileSafely(itemFile, [&](const tilerack::win::FileSink& put) { put(bytes.data(), bytes.size()); });
    std::unique_ptr<tilerack::TMainPanel> full = ShownPanel();
    DeleteFileW(itemFile.c_str());
    const double withItems = MedianShow(*full, repetitions);

    std::printf("show sequence (capture, blend, full paint) of a %d x %d panel, medians of %d\n", width, height,
                repetitions);
    std::printf("  no items    %7.2f ms\n", none * 1000);
    std::printf("  500 items   %7.2f ms   ratio %.2f\n", withItems * 1000, withItems / none);
    std::printf("  goal: <= 2x: %.2f, %s\n", withItems / none, withItems / none <= 2 ? "within goal" : "OVER GOAL");
    std::fflush(stdout);
    ExitProcess(0);
}
