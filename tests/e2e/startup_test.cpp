// Start-up, settings, the item file at start and exit, and the tray callback,
// all seen from outside the running tilerack.exe.
#include "e2e_harness.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

constexpr LONG kPanelStyle = static_cast<LONG>(0x86840000);  // popup, clip, border, sizing frame
const std::wstring kTitle = L"Ярлыкс";
constexpr int kDefaultWidth = 64;
constexpr COLORREF kDefaultColour = 0x00F4E0E0;

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int Left(HWND window) { return WindowRect(window).left; }
int Width(HWND window) {
    const RECT rect = WindowRect(window);
    return rect.right - rect.left;
}
LONG ExStyle(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

// Pointer spots in the panel's near zone but off the panel itself, so a shown
// panel stays shown and no button is hovered.
void ParkPointerNearLeftPanel() { MovePointer(kDefaultWidth + 6, ScreenHeight() / 2); }
void ParkPointerNearRightPanel() { MovePointer(ScreenWidth() - kDefaultWidth - 6, ScreenHeight() / 2); }
// Far from both edges: a shown panel slides out, a hidden one stays hidden.
void ParkPointerAway() { MovePointer(600, 400); }

std::wstring Value(const IniSection& section, const std::wstring& key) {
    const auto found = section.find(key);
    return found == section.end() ? L"<missing>" : found->second;
}

bool SameFileName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Two items with every kind of content: Cyrillic code page 1251 texts, a
// two-line hint, both TrackDrives values, distinct pictures and slots.
std::vector<ShortRecord> TwoItems() {
    ShortRecord first;
    first.params = "--first \"арг два\"";
    first.fileName = "C:\\Программы\\probe.exe";
    first.caption = "Проба";
    first.workDir = "C:\\windows";
    first.hint = "Первая строка\r\nвторая строка";
    first.trackDrives = true;
    first.buttonSlot = 0x12345678;
    first.image = Bmp24Image(32, 32, 1);

    ShortRecord second;
    second.fileName = "notepad.exe";
    second.caption = "Notepad";
    second.buttonSlot = 0xDEADBEEF;
    second.image = Bmp24Image(32, 32, 2);
    return {first, second};
}

// ---- First run -------------------------------------------------------------------

using FirstRun = PanelTest;

TEST_F(FirstRun, NoFilesGivesDefaultPanelAndWritesDefaultFiles) {
    ParkPointerNearLeftPanel();
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no visible TMainPanel window of the started process";

    WaitUntil([&] { return Left(window) == -4 && WindowRect(window).top == -4; }, 5s);
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, -4);
    EXPECT_EQ(rect.top, -4);
    EXPECT_EQ(rect.right - rect.left, kDefaultWidth);
    EXPECT_EQ(ClientRect(window).bottom, ScreenHeight() + 4) << "client height";
    EXPECT_EQ(WindowText(window), kTitle);

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & ~WS_VISIBLE, kPanelStyle) << "style " << Hex(static_cast<DWORD>(style));
    EXPECT_NE(ExStyle(window) & WS_EX_TOOLWINDOW, 0) << "ex-style " << Hex(static_cast<DWORD>(ExStyle(window)));
    EXPECT_EQ(ExStyle(window) & WS_EX_TOPMOST, 0) << "on top without being asked";

    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "the panel has no owner window";
    EXPECT_EQ(WindowClass(owner), L"TApplication");
    EXPECT_FALSE(IsWindowVisible(owner)) << "the application window is visible";
    EXPECT_FALSE(FindMessageBox(panel.Pid())) << "a message box on a clean first run";
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel.Close()) << "the panel did not end after WM_CLOSE";
    EXPECT_EQ(panel.ExitCode(), std::optional<DWORD>(0));

    const auto ini = ReadIni();
    ASSERT_TRUE(ini) << "no settings file at " << Narrow(IniPath());
    ASSERT_TRUE(ini->count(L"Keelstrip")) << "no section Keelstrip in " << Narrow(IniPath());
    const IniSection& saved = ini->at(L"Keelstrip");
    EXPECT_EQ(Value(saved, L"Side"), L"0");
    EXPECT_EQ(Value(saved, L"Width"), L"64");
    EXPECT_EQ(Value(saved, L"TimeOut"), L"300");
    EXPECT_EQ(Value(saved, L"Opacity"), L"50");
    EXPECT_EQ(Value(saved, L"Color"), L"16048352");
    EXPECT_EQ(Value(saved, L"OnTop"), L"0");

    const auto items = ReadFileBytes(scratch_->File(L"shorts.dat"));
    ASSERT_TRUE(items) << "no shorts.dat beside the program";
    EXPECT_EQ(*items, Bytes(4, 0)) << "an empty list is a zero count and nothing else";
}

TEST_F(FirstRun, SlidInPanelShowsScreenBlendedHalfWithDefaultColour) {
    ParkPointerAway();
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Left(window) == -(kDefaultWidth + 1); }, 10s))
        << "the panel did not slide out; left " << Left(window);

    // The desktop, sampled far from the panel; once the panel has left the
    // screen its shown place shows the same.
    const int x = 20, y = ScreenHeight() / 2;
    const COLORREF under = ScreenPixel(x + 300, y);
    if (ScreenPixel(x + 310, y + 40) != under || ScreenPixel(x + 290, y - 40) != under)
        GTEST_SKIP() << "the desktop behind the panel is not one colour";
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(x, y) == under; }, 5s))
        << "the slid-out panel is still on the screen: " << Hex(ScreenPixel(x, y)) << " at " << x << "," << y;
    const auto blend = [](int screen, int colour) { return (screen * 50 + colour * 50) / 100; };
    const COLORREF expected = RGB(blend(GetRValue(under), GetRValue(kDefaultColour)),
                                  blend(GetGValue(under), GetGValue(kDefaultColour)),
                                  blend(GetBValue(under), GetBValue(kDefaultColour)));

    ParkPointerNearLeftPanel();
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return Left(window) == -4; }, 5s)) << "left " << Left(window);
    WaitUntil([&] { return ScreenPixel(x, y) == expected; }, 5s);
    SaveScreenshotPng(CurrentTestName());
    EXPECT_EQ(Hex(ScreenPixel(x, y)), Hex(expected)) << "screen under the panel was " << Hex(under);
}

// ---- Settings read at start and written at exit ------------------------------------

class Settings : public PanelTest {
protected:
    // Starts the panel with these keys in section Keelstrip, lets `inspect`
    // look at the running panel, closes it and returns the section it saved.
    IniSection RunWith(const std::vector<std::string>& keys, const std::function<void(HWND)>& inspect) {
        std::vector<std::string> lines{"[Keelstrip]"};
        lines.insert(lines.end(), keys.begin(), keys.end());
        if (!WriteIni(lines)) ADD_FAILURE() << "cannot write " << Narrow(IniPath());
        PanelProcess panel(*scratch_);
        HWND window = panel.WaitForWindow();
        if (!window) {
            ADD_FAILURE() << "no visible panel window";
            return {};
        }
        inspect(window);
        EXPECT_FALSE(FindMessageBox(panel.Pid())) << "unexpected message box";
        SaveScreenshotPng(CurrentTestName());
        if (!panel.Close()) {
            ADD_FAILURE() << "the panel did not end after WM_CLOSE";
            return {};
        }
        const auto ini = ReadIni();
        if (!ini || !ini->count(L"Keelstrip")) {
            ADD_FAILURE() << "no section Keelstrip saved";
            return {};
        }
        return ini->at(L"Keelstrip");
    }
};

struct OnTopCase {
    const char* written;
    bool onTop;
};
void PrintTo(const OnTopCase& c, std::ostream* out) { *out << "OnTop=" << c.written; }

class OnTopSetting : public Settings, public ::testing::WithParamInterface<OnTopCase> {};

TEST_P(OnTopSetting, LowByteDecidesAndIsSavedAsZeroOrOne) {
    const OnTopCase& c = GetParam();
    ParkPointerNearLeftPanel();
    const IniSection saved = RunWith({std::string("OnTop=") + c.written}, [&](HWND window) {
        if (c.onTop) WaitUntil([&] { return (ExStyle(window) & WS_EX_TOPMOST) != 0; }, 5s);
        EXPECT_EQ((ExStyle(window) & WS_EX_TOPMOST) != 0, c.onTop)
            << "ex-style " << Hex(static_cast<DWORD>(ExStyle(window)));
    });
    EXPECT_EQ(Value(saved, L"OnTop"), c.onTop ? L"1" : L"0");
}

INSTANTIATE_TEST_SUITE_P(Values, OnTopSetting,
                         ::testing::Values(OnTopCase{"256", false}, OnTopCase{"1", true}, OnTopCase{"-1", true}),
                         [](const auto& info) {
                             return std::string(info.param.written[0] == '-' ? "Minus" : "") +
                                    (info.param.written + (info.param.written[0] == '-'));
                         });

TEST_F(Settings, Side257PutsThePanelOnTheRightAndIsSavedAsOne) {
    ParkPointerNearRightPanel();
    const int shownLeft = ScreenWidth() - kDefaultWidth + 4;
    const IniSection saved = RunWith({"Side=257"}, [&](HWND window) {
        WaitUntil([&] { return Left(window) == shownLeft; }, 5s);
        EXPECT_EQ(Left(window), shownLeft);
        EXPECT_EQ(WindowRect(window).top, -4);
    });
    EXPECT_EQ(Value(saved, L"Side"), L"1");
}

TEST_F(Settings, WidthBelowMinimumGives24AndIsSavedAs24) {
    ParkPointerNearLeftPanel();
    const IniSection saved = RunWith({"Width=10"}, [&](HWND window) {
        WaitUntil([&] { return Width(window) == 24; }, 5s);
        EXPECT_EQ(Width(window), 24);
    });
    EXPECT_EQ(Value(saved, L"Width"), L"24");
}

TEST_F(Settings, HexadecimalOpacityIsRead) {
    ParkPointerNearLeftPanel();
    const IniSection saved = RunWith({"Opacity=0x1E"}, [](HWND) {});
    EXPECT_EQ(Value(saved, L"Opacity"), L"30");
}

TEST_F(Settings, OpacityOfLettersFallsBackToDefault) {
    ParkPointerNearLeftPanel();
    const IniSection saved = RunWith({"Opacity=abc"}, [](HWND) {});
    EXPECT_EQ(Value(saved, L"Opacity"), L"50");
}

TEST_F(Settings, PlacementKeysDoNotMoveOrResizeThePanel) {
    ParkPointerNearLeftPanel();
    const IniSection saved = RunWith(
        {"FormVersion=0", "Flags=0", "ShowCmd=1", "PixelsPerInch=96", "MinMaxPos=-1,-1,-1,-1",
         "NormPos=300,200,700,500", "Visible=1", "TimeOut=500"},
        [&](HWND window) {
            WaitUntil([&] { return Left(window) == -4; }, 5s);
            const RECT rect = WindowRect(window);
            EXPECT_EQ(rect.left, -4);
            EXPECT_EQ(rect.top, -4);
            EXPECT_EQ(rect.right - rect.left, kDefaultWidth);
            EXPECT_EQ(ClientRect(window).bottom, ScreenHeight() + 4);
        });
    EXPECT_EQ(Value(saved, L"TimeOut"), L"500");
}

// ---- The item file at start and exit ----------------------------------------------

using ItemFile = PanelTest;

TEST_F(ItemFile, TwoItemsComeBackByteForByteApartFromButtonSlots) {
    const ShortsFile original = BuildShortsFile(TwoItems());
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), original.bytes));
    ParkPointerNearLeftPanel();
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    WaitUntil([&] { return Left(window) == -4; }, 5s);
    EXPECT_FALSE(FindMessageBox(panel.Pid())) << "message box for a sound item file";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel.Close());

    const auto saved = ReadFileBytes(scratch_->File(L"shorts.dat"));
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), original.bytes.size());
    EXPECT_TRUE(WithSlotsCleared(*saved, original.slotOffsets) == WithSlotsCleared(original.bytes, original.slotOffsets))
        << "the saved records differ from the loaded ones";
}

TEST_F(ItemFile, FileBesideTheProgramIsUsedWhateverTheWorkingFolder) {
    const auto items = TwoItems();
    const ShortsFile besideProgram = BuildShortsFile({items[0]});
    const ShortsFile inWorkingFolder = BuildShortsFile({items[1]});
    const std::wstring elsewhere = scratch_->SubFolder(L"elsewhere");
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), besideProgram.bytes));
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, L"shorts.dat"), inWorkingFolder.bytes));

    PanelProcess panel(*scratch_, elsewhere);
    ASSERT_NE(panel.WaitForWindow(), nullptr);
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel.Close());

    const auto saved = ReadFileBytes(scratch_->File(L"shorts.dat"));
    ASSERT_TRUE(saved);
    EXPECT_TRUE(WithSlotsCleared(*saved, besideProgram.slotOffsets) ==
                WithSlotsCleared(besideProgram.bytes, besideProgram.slotOffsets))
        << "shorts.dat beside the program does not hold its own item";
    EXPECT_EQ(ReadFileBytes(JoinPath(elsewhere, L"shorts.dat")), std::optional<Bytes>(inWorkingFolder.bytes))
        << "the file in the working folder was touched";
}

struct DamageCase {
    const char* name;
    // Where the file is cut, given the intact file and its records.
    std::size_t (*cutAt)(const ShortsFile&, const std::vector<ShortRecord>&);
};
void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class DamagedItemFile : public PanelTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedItemFile, IsReportedKeepsTheItemsReadAndKeepsACopy) {
    const auto items = TwoItems();
    const ShortsFile intact = BuildShortsFile(items);
    const std::size_t cut = GetParam().cutAt(intact, items);
    ASSERT_GT(cut, intact.recordOffsets[1]);
    const Bytes damaged(intact.bytes.begin(), intact.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), damaged));

    ParkPointerNearLeftPanel();
    PanelProcess panel(*scratch_);
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(panel.Pid())).has_value(); }, 20s))
        << "no message box for a damaged item file";
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_NE(box->text.find(L"Stream read error"), std::wstring::npos) << "text: " << Narrow(box->text);
    SaveScreenshotPng(CurrentTestName());

    DismissMessageBox(box->window);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->window) || !IsWindowVisible(box->window); }, 5s));
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no panel after the error";
    EXPECT_TRUE(Responds(window)) << "the panel does not answer after the error";
    EXPECT_TRUE(panel.Running());
    ASSERT_TRUE(panel.Close());

    const ShortsFile firstOnly = BuildShortsFile({items[0]});
    const auto saved = ReadFileBytes(scratch_->File(L"shorts.dat"));
    ASSERT_TRUE(saved);
    EXPECT_TRUE(WithSlotsCleared(*saved, firstOnly.slotOffsets) ==
                WithSlotsCleared(firstOnly.bytes, firstOnly.slotOffsets))
        << "the first item was not saved as read (" << saved->size() << " bytes)";

    bool copyKept = false;
    for (const auto& name : ListFiles(scratch_->Path()))
        if (!SameFileName(name, L"shorts.dat") && ReadFileBytes(scratch_->File(name)) == std::optional<Bytes>(damaged))
            copyKept = true;
    EXPECT_TRUE(copyKept) << "no copy of the damaged original beside shorts.dat";
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, DamagedItemFile,
    ::testing::Values(
        DamageCase{"InsideSecondFileName",
                   [](const ShortsFile& file, const std::vector<ShortRecord>& items) {
                       const ShortRecord& second = items[1];
                       return file.recordOffsets[1] + 4 + second.params.size() + 4 + second.fileName.size() / 2;
                   }},
        DamageCase{"InsideSecondImageHeader",
                   [](const ShortsFile& file, const std::vector<ShortRecord>&) { return file.imageOffsets[1] + 30; }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Tray icon callback ---------------------------------------------------------------

using TrayIcon = PanelTest;

TEST_F(TrayIcon, DoubleClickSlidesTheHiddenPanelIn) {
    ParkPointerAway();
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Left(window) == -(kDefaultWidth + 1); }, 10s))
        << "the panel did not slide out; left " << Left(window);

    // Near the panel but not at the edge: nothing but the callback brings it in.
    ParkPointerNearLeftPanel();
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return Left(window) == -4; }, 5s)) << "left " << Left(window);
    SaveScreenshotPng(CurrentTestName());
}

TEST_F(TrayIcon, RightPressOpensTheMenuAtThePointerWhileHidden) {
    ParkPointerAway();
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    const int hiddenLeft = -(kDefaultWidth + 1);
    ASSERT_TRUE(WaitUntil([&] { return Left(window) == hiddenLeft; }, 10s)) << "left " << Left(window);

    const POINT pointer = PointerPosition();
    // A single left click is ignored; the messages are handled in order, so
    // once the menu is up the click has been seen.
    PostTrayCallback(window, WM_LBUTTONDOWN);
    PostTrayCallback(window, WM_LBUTTONUP);
    PostTrayCallback(window, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu(panel.Pid())) != nullptr; }, 5s))
        << "no popup menu after the right-button callback";
    RECT around = WindowRect(menu);
    InflateRect(&around, 2, 2);
    EXPECT_TRUE(PtInRect(&around, pointer)) << "menu at " << WindowRect(menu).left << "," << WindowRect(menu).top
                                            << ", pointer at " << pointer.x << "," << pointer.y;
    EXPECT_EQ(Left(window), hiddenLeft) << "the panel moved";
    SaveScreenshotPng(CurrentTestName());
    EXPECT_TRUE(CloseMenuWithEscape(panel.Pid())) << "the menu did not close on Escape";
}

}  // namespace
}  // namespace e2e
