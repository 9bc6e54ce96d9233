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
#include "items/shortcut_file.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/files.h"
#include "tests/e2e/shorts_file_builder.h"

namespace {

using bench::Median;
using bench::Now;

std::vector<std::unique_ptr<tilerack::TShortCut>> MakeItems(int count) {
    std::vector<e2e::ShortRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back({.fileName = "C:\\windows\\notepad.exe",
                           .caption = "Item " + std::to_string(i),
                           .hint = "Hint " + std::to_string(i),
                           .image = e2e::Bmp24Image(static_cast<uint32_t>(i))});
    std::vector<std::unique_ptr<tilerack::TShortCut>> items;
    tilerack::LoadShortcutList(e2e::BuildShortsFile(records).bytes,
                               [&](std::unique_ptr<tilerack::TShortCut> item) { items.push_back(std::move(item)); });
    return items;
}

// One show as the pointer watch runs it: capture and blend, then a paint of
// the whole client area straight to the window.
double ShowSequence(tilerack::TMainPanel& panel) {
    const double start = Now();
    panel.Hidden = true;
    panel.CaptureBackground();
    panel.Hidden = false;
    HDC dc = GetDC(panel.Handle());
    panel.FormPaint(dc);
    ReleaseDC(panel.Handle(), dc);
    GdiFlush();
    return Now() - start;
}

double MedianShow(tilerack::TMainPanel& panel, int repetitions) {
    ShowSequence(panel);  // warm-up
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) times.push_back(ShowSequence(panel));
    return Median(times);
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

    tilerack::TMainPanel panel;
    tilerack::MainPanel = &panel;
    panel.Create();
    panel.Show();
    tilerack::PanelSettings settings = panel.Settings();
    settings.width = 96;
    settings.opacity = 50;
    panel.ChangeSettings(settings);

    const int width = panel.Width(), height = panel.Height();
    const double empty = MedianShow(panel, repetitions);

    std::vector<std::unique_ptr<tilerack::TShortCut>> items = MakeItems(500);
    for (auto& item : items) {
        panel.Items.push_back(std::move(item));
        panel.AddItemButton(*panel.Items.back(), /*layOut=*/false);
    }
    panel.LayoutButtons();
    const double full = MedianShow(panel, repetitions);

    std::printf("show sequence (capture, blend, full paint) of a %d x %d panel, medians of %d\n", width, height,
                repetitions);
    std::printf("  no items    %7.2f ms\n", empty * 1000);
    std::printf("  500 items   %7.2f ms   ratio %.2f\n", full * 1000, full / empty);
    std::printf("  goal: <= 2x: %.2f, %s\n", full / empty, full / empty <= 2 ? "within goal" : "OVER GOAL");
    // No save on the way out: the benchmark's items are not a user's.
    tilerack::MainPanel = nullptr;
    std::fflush(stdout);
    ExitProcess(0);
}
