// The program's folder is one its user can write to (the item file lives
// there), so a library put beside the program must not be loaded in place of
// the system's own. A stand-in library (tests/e2e/planted_library), which
// leaves a marker file when anything loads it, is planted beside a copy of
// the program under the name of a library the program loads after it has
// started; Wine is told to prefer a native file of that name over its own
// built-in one for tilerack.exe, so only the program's own search order keeps
// the stand-in out. The panel then does what loads the library and must work
// as usual, with no marker left.
//
// Two of the four late-bound libraries are not planted. comctl32: the
// program's manifest binds version 6 as a side-by-side assembly, so the
// loader takes it from the assembly store and never looks beside the program
// for it, whatever the search order. ole32: Wine's own X11 driver binds it
// late as well and, when the first window is made, loads it through the
// process's default search path, which starts with the program's folder
// and which SetDefaultDllDirectories does not change; so under Wine a planted
// ole32 is loaded whatever the program does (Windows takes ole32 from its
// known system libraries and never searches for it).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "e2e_harness.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

// Wine's per-program load order for tilerack.exe: `library` native first
// while the scope lasts. (WINEDLLOVERRIDES in the environment of a started
// process does not reach Wine's loader, which reads the Unix environment.)
class NativeFirstForTilerack {
public:
    explicit NativeFirstForTilerack(std::wstring library) : library_(std::move(library)) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create HKCU\\" << Narrow(kKey);
            return;
        }
        const std::wstring order = L"native,builtin";
        set_ = RegSetValueExW(key, library_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                              static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!set_) ADD_FAILURE() << "cannot set the load order of " << Narrow(library_);
    }
    ~NativeFirstForTilerack() {
        if (!set_) return;
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, library_.c_str());
        // The keys made for it go too, unless they hold anything else.
        DeleteKeyIfEmpty(kKey);
        DeleteKeyIfEmpty(kAppKey);
    }
    NativeFirstForTilerack(const NativeFirstForTilerack&) = delete;
    NativeFirstForTilerack& operator=(const NativeFirstForTilerack&) = delete;

private:
    static void DeleteKeyIfEmpty(const wchar_t* path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
        DWORD subKeys = 1, values = 1;
        const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                           subKeys == 0 && values == 0;
        RegCloseKey(key);
        if (empty) RegDeleteKeyW(HKEY_CURRENT_USER, path);
    }

    static constexpr const wchar_t* kAppKey = L"Software\\Wine\\AppDefaults\\tilerack.exe";
    static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\tilerack.exe\\DllOverrides";
    std::wstring library_;
    bool set_ = false;
};

std::wstring PlantedLibrarySource() {
    const std::wstring exe = GetConfig().tilerackExe;
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"planted_library.dll";
}

class DllSearch : public PanelTest, public ::testing::WithParamInterface<const wchar_t*> {
protected:
    // The markers the planted library left beside the program, with the
    // program that loaded it; empty when nothing loaded it.
    std::string PlantedLoads() const {
        std::string loads;
        for (const std::wstring& name : ListFiles(scratch_->Path())) {
            if (name.size() < 7 || name.compare(name.size() - 7, 7, L".loaded") != 0) continue;
            const auto bytes = ReadWholeFile(scratch_->File(name));
            std::wstring host;
            if (bytes) host.assign(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
            loads += Narrow(name.substr(0, name.size() - 7)) + " was loaded by " + Narrow(host) + "; ";
        }
        return loads;
    }
};

TEST_P(DllSearch, ALibraryBesideTheProgramIsNotLoadedInPlaceOfTheSystemOne) {
    const std::wstring library = GetParam();
    const std::wstring source = PlantedLibrarySource();
    ASSERT_TRUE(FileExists(source)) << "the planted library is not built: " << Narrow(source);
    ASSERT_TRUE(CopyFileW(source.c_str(), scratch_->File(library + L".dll").c_str(), FALSE));
    ShortRecord item{.fileName = "C:\\item.exe", .caption = "Элемент", .hint = "Подсказка элемента",
                     .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 90, 0))};

    // Started in a folder of its own: only the program's folder holds the
    // library. The panel stays while the pointer moves about.
    const std::wstring work = scratch_->SubFolder(L"work");
    NativeFirstForTilerack nativeFirst(library);
    HWND window = StartPanel(
        {.items = std::vector<ShortRecord>{item}, .settings = {"TimeOut=60000"}, .workingFolder = work});
    ASSERT_NE(window, nullptr) << PlantedLoads();

    // What loads the libraries the program binds late, each in turn: the
    // notification-area icon (shell32) right after the first show.
    EXPECT_TRUE(WaitUntil([&] { return ShellHasTrayIcon(window); }, 10s))
        << "no tray icon; " << PlantedLoads();
    // The item's hint (comctl32) under the pointer.
    const POINT centre = Centre(ClientRectOnScreen(window, ItemButtonRect(window, 0)));
    HWND tip = RestPointerUntil(centre, [&] { return FindTopWindow(panel_->Pid(), L"tooltips_class32"); }, 10s);
    EXPECT_NE(tip, nullptr) << "no hint over the item; " << PlantedLoads();
    if (tip) {
        EXPECT_EQ(WindowText(tip), L"Подсказка элемента");
    }
    SaveScreenshotPng(CurrentTestName());
    const POINT rest = RestingSpotOverPanel(Side::Left);
    MoveWithInput(rest.x, rest.y);
    // The picture file dialog (comdlg32) of the item dialog, opened and cancelled.
    ASSERT_TRUE(ChooseFromContextMenu(*panel_, window, Centre(ItemButtonRect(window, 0)), MainMenuEntry::Properties))
        << PlantedLoads();
    HWND dialog = WaitForTopWindow(panel_->Pid(), L"TMainDialog");
    ASSERT_NE(dialog, nullptr) << "no item dialog; " << PlantedLoads();
    PressButton(FindChild(dialog, L"Button", L"Загрузить..."));
    HWND files = WaitForTopWindow(panel_->Pid(), L"#32770", 20s);
    EXPECT_NE(files, nullptr) << "no file dialog; " << PlantedLoads();
    if (files) {
        PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(files) || !IsWindowVisible(files); }, 10s));
    }
    PressButton(FindChild(dialog, L"Button", L"Отмена"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5s)) << PlantedLoads();

    EXPECT_TRUE(Responds(window)) << PlantedLoads();
    EXPECT_TRUE(panel_->Close()) << "the panel did not end; " << PlantedLoads();
    EXPECT_EQ(panel_->ExitCode(), std::optional<DWORD>(0)) << PlantedLoads();
    EXPECT_EQ(PlantedLoads(), "") << "a library beside the program was loaded in place of the system's";
}

INSTANTIATE_TEST_SUITE_P(LoadedAfterStart, DllSearch, ::testing::Values(L"shell32", L"comdlg32"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return Narrow(info.param);
                         });

}  // namespace
}  // namespace e2e
