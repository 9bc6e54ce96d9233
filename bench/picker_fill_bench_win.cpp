// Windows-side benchmark, run under Wine by `make bench`: the icon picker
// filling its collection view from an "icons.dat" of 1000 pictures (reading
// the file, adding every picture to the image list, building the entries)
// against 1000 bare ImageList_Add calls of one ready 32 x 32 bitmap, both
// measured in this run. Prints the medians and their ratio.
//
//   picker_fill_bench.exe [REPETITIONS]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_clock_win.h"
#include "common/bmp_codec.h"
#include "dialogs/mainselform.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/handles.h"

namespace {

using tilerack::TBitmap;

constexpr int kPictures = 1000;
constexpr int kRadioButton1 = 101, kListView1 = 106;

class QuietPanel : public tilerack::IPanelHost {
public:
    const tilerack::PanelSettings& Settings() const override { return settings_; }
    void ChangeSettings(const tilerack::PanelSettings& settings) override { settings_ = settings; }
    bool StaysOnTop() const override { return false; }
    void SaveAll() override {}
    void EnableTimerMouse(bool) override {}
    int ExtractFileIcon(TBitmap&, const std::string&, int) override { return 1; }

private:
    tilerack::PanelSettings settings_;
};

using bench::Median;
using bench::Now;

// 1000 different 32 x 32 pictures.
std::vector<uint8_t> MakeCollection() {
    tilerack::ByteWriter out;
    out.I32(kPictures);
    TBitmap picture(32, 32);
    for (int i = 0; i < kPictures; ++i) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) picture.SetPixel(x, y, tilerack::Rgb(x * 8, y * 8, i & 0xFF));
        tilerack::WriteEmbeddedBitmap(out, picture);
    }
    return out.Bytes();
}

// Set by the timer that drives the picker from inside its modal loop.
double g_fillSeconds = -1;
int g_entries = 0;

void CALLBACK DriveThePicker(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND picker = FindWindowW(L"TFormSelector", nullptr);
    if (!picker) return;
    const double start = Now();
    // The click runs the whole collection load and the rebuild of the entries.
    SendMessageW(GetDlgItem(picker, kRadioButton1), BM_CLICK, 0, 0);
    g_fillSeconds = Now() - start;
    g_entries = ListView_GetItemCount(GetDlgItem(picker, kListView1));
    PostMessageW(picker, WM_CLOSE, 0, 0);
}

double PickerFill(QuietPanel& panel, const std::wstring& file) {
    g_fillSeconds = -1;
    SetTimer(nullptr, 0, 10, DriveThePicker);
    tilerack::ChooseIcon(panel, nullptr, file);
    if (g_fillSeconds < 0 || g_entries != kPictures) {
        std::fprintf(stderr, "the picker showed %d entries instead of %d\n", g_entries, kPictures);
        std::exit(1);
    }
    return g_fillSeconds;
}

double BareAdds(HBITMAP bitmap) {
    HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 0, 32);
    const double start = Now();
    for (int i = 0; i < kPictures; ++i) ImageList_Add(list, bitmap, nullptr);
    const double seconds = Now() - start;
    const int count = ImageList_GetImageCount(list);
    ImageList_Destroy(list);
    if (count != kPictures) {
        std::fprintf(stderr, "the bare list holds %d images\n", count);
        std::exit(1);
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    auto& app = tilerack::win::Application::Instance();
    app.Initialize(GetModuleHandleW(nullptr), L"picker_fill_bench");

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"picker_fill_bench_icons.dat";
    tilerack::win::SaveFileSafely(file, MakeCollection());

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    tilerack::win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));

    QuietPanel panel;
    PickerFill(panel, file);  // warm-up: classes, fonts, code paths
    BareAdds(bitmap.get());
    std::vector<double> fills, adds;
    for (int i = 0; i < repetitions; ++i) {
        fills.push_back(PickerFill(panel, file));
        adds.push_back(BareAdds(bitmap.get()));
    }
    DeleteFileW(file.c_str());

    const double fill = Median(fills), add = Median(adds);
    std::printf("picker fill of %d pictures from icons.dat: %.1f ms (median of %d)\n", kPictures, fill * 1000,
                repetitions);
    std::printf("%d bare ImageList_Add calls:              %.1f ms (median of %d)\n", kPictures, add * 1000,
                repetitions);
    std::printf("ratio picker / bare adds: %.1f\n", fill / add);
    return 0;
}
