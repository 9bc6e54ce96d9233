// Windows-side benchmark, run under Wine by `make bench`: the panel's show
// sequence (the screen capture under the strip, the blend with the panel's
// colour and the first full paint) on a 96-pixel-wide strip of the screen's
// full height, with no items and with 500 items, in one process.
//
//   show_sequence_bench.exe [REPETITIONS]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/bench_clock_win.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/files.h"
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

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    if (tilerack::win::FileExists(tilerack::win::ExeFolder() + L"shorts.dat")) {
        std::fprintf(stderr, "show_sequence_bench: an item file lies beside the benchmark; it must start empty\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
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
