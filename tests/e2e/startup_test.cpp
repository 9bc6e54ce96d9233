// Start-up, settings, the item file at start and exit, and the tray callback,
// all seen from outside the running tilerack.exe.
#include <algorithm>

#include "e2e_harness.h"

namespace e2e {
namespace {

constexpr LONG kPanelStyle = static_cast<LONG>(0x86840000);  // popup, clip, border, sizing frame

LONG ExStyle(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

// Pointer spots in the panel's near zone but off the panel itself, so a shown
// panel stays shown and no button is hovered.
POINT NearPanel(Side side = Side::Left) {
    return POINT{side == Side::Left ? kPanelDefaultWidth + 6 : ScreenWidth() - kPanelDefaultWidth - 6,
                 ScreenHeight() / 2};
}
void ParkPointerNearPanel() { MovePointer(NearPanel().x, NearPanel().y); }
// A start with the pointer near the panel's place at `side`, waiting for no
// more than its window to show.
PanelStart VisibleNearPanel(Side side = Side::Left) {
    return {.expect = PanelState::Visible, .pointer = NearPanel(side)};
}

// Two items with every kind of content: Cyrillic code page 1251 texts, a
// two-line hint, both TrackDrives values, distinct pictures and slots.
std::vector<ShortRecord> TwoItems() {
    return {{.params = "--first \"арг два\"",
             .fileName = "C:\\Программы\\probe.exe",
             .caption = "Проба",
             .workDir = "C:\\windows",
             .hint = "Первая строка\r\nвторая строка",
             .trackDrives = true,
             .buttonSlot = 0x12345678,
             .image = Bmp24Image(1)},
            {.fileName = "notepad.exe", .caption = "Notepad", .buttonSlot = 0xDEADBEEF, .image = Bmp24Image(2)}};
}

// At the left edge, shown, as wide as by default, from above the screen's
// top to below its bottom.
void ExpectDefaultPlace(HWND window) {
    EXPECT_TRUE(ReachesLeft(window, -4));
    EXPECT_EQ(PanelTop(window), -4);
    EXPECT_EQ(PanelWidth(window), kPanelDefaultWidth);
    EXPECT_EQ(ClientHeightOf(window), ScreenHeight() + 4);
}

// ---- First run -------------------------------------------------------------------

using FirstRun = PanelTest;

TEST_F(FirstRun, NoFilesGivesDefaultPanelAndWritesDefaultFiles) {
    HWND window = StartPanel(VisibleNearPanel());
    ASSERT_NE(window, nullptr) << "no visible TMainPanel window of the started process";

    ExpectDefaultPlace(window);
    EXPECT_EQ(WindowText(window), kAppTitle);

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & ~WS_VISIBLE, kPanelStyle) << "style " << Hex(static_cast<DWORD>(style));
    EXPECT_NE(ExStyle(window) & WS_EX_TOOLWINDOW, 0) << "ex-style " << Hex(static_cast<DWORD>(ExStyle(window)));
    EXPECT_EQ(ExStyle(window) & WS_EX_TOPMOST, 0) << "on top without being asked";

    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "the panel has no owner window";
    EXPECT_EQ(WindowClass(owner), L"TApplication");
    EXPECT_FALSE(IsWindowVisible(owner)) << "the application window is visible";
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message box on a clean first run";
    EXPECT_TRUE(WaitUntil([&] { return ShellHasTrayIcon(window); }, 5s)) << "no tray icon";
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel_->Close()) << "the panel did not end after WM_CLOSE";
    EXPECT_FALSE(ShellHasTrayIcon(window)) << "the tray icon outlived the panel";
    EXPECT_EQ(panel_->ExitCode(), std::optional<DWORD>(0));

    ASSERT_TRUE(SettingsSaved()) << "no section Keelstrip in " << Narrow(IniPath());
    const std::pair<const wchar_t*, const wchar_t*> defaults[] = {
        {L"Side", L"0"}, {L"Width", L"64"}, {L"TimeOut", L"300"}, {L"Opacity", L"50"}, {L"Color", L"16048352"},
        {L"OnTop", L"0"}};
    for (const auto& [key, value] : defaults) EXPECT_EQ(SavedSetting(key), value) << Narrow(key);

    const auto items = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(items) << "no shorts.dat beside the program";
    EXPECT_EQ(*items, Bytes(4, 0)) << "an empty list is a zero count and nothing else";
}

TEST_F(FirstRun, SlidInPanelShowsScreenBlendedHalfWithDefaultColour) {
    HWND window = StartPanel({.expect = PanelState::Hidden});
    ASSERT_NE(window, nullptr);

    // The desktop, sampled far from the panel; once the panel has left the
    // screen its shown place shows the same.
    const int x = 20, y = ScreenHeight() / 2;
    const COLORREF under = ScreenPixel(x + 300, y);
    if (ScreenPixel(x + 310, y + 40) != under || ScreenPixel(x + 290, y - 40) != under)
        GTEST_SKIP() << "the desktop behind the panel is not one colour";
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(x, y) == under; }, 5s))
        << "the slid-out panel is still on the screen: " << Hex(ScreenPixel(x, y)) << " at " << x << "," << y;
    const COLORREF expected = Blend(under, kPanelDefaultColour, 50);

    ParkPointerNearPanel();
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(ReachesLeft(window, -4));
    WaitUntil([&] { return ScreenPixel(x, y) == expected; }, 5s);
    SaveScreenshotPng(CurrentTestName());
    EXPECT_EQ(Hex(ScreenPixel(x, y)), Hex(expected)) << "screen under the panel was " << Hex(under);
}

// ---- Settings read at start and written at exit ------------------------------------

struct SettingCase {
    const char* name;
    std::vector<std::string> keys;  // what section Keelstrip holds at start
    Side side;                      // where the panel is expected
    std::function<void(HWND)> inspect;
    const wchar_t* savedKey;
    const wchar_t* savedValue;
};
void PrintTo(const SettingCase& c, std::ostream* out) { *out << c.name; }

void ExpectOnTop(HWND window, bool onTop) {
    if (onTop) WaitUntil([&] { return (ExStyle(window) & WS_EX_TOPMOST) != 0; }, 5s);
    EXPECT_EQ((ExStyle(window) & WS_EX_TOPMOST) != 0, onTop) << "ex-style " << Hex(static_cast<DWORD>(ExStyle(window)));
}

class Settings : public PanelTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(Settings, AreReadAtStartAndSavedAtExit) {
    const SettingCase& c = GetParam();
    PanelStart start = VisibleNearPanel(c.side);
    start.settings = c.keys;
    HWND window = StartPanel(start);
    ASSERT_NE(window, nullptr) << "no visible panel window";
    c.inspect(window);
    EXPECT_FALSE(FindMessageBox(Pid())) << "unexpected message box";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close()) << "the panel did not end after WM_CLOSE";
    ASSERT_TRUE(SettingsSaved()) << "no section Keelstrip saved";
    EXPECT_EQ(SavedSetting(c.savedKey), c.savedValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Settings,
    ::testing::Values(
        // The low byte of OnTop and Side decides; they are saved as 0 or 1.
        SettingCase{"OnTop256", {"OnTop=256"}, Side::Left, [](HWND w) { ExpectOnTop(w, false); }, L"OnTop", L"0"},
        SettingCase{"OnTop1", {"OnTop=1"}, Side::Left, [](HWND w) { ExpectOnTop(w, true); }, L"OnTop", L"1"},
        SettingCase{"OnTopMinus1", {"OnTop=-1"}, Side::Left, [](HWND w) { ExpectOnTop(w, true); }, L"OnTop", L"1"},
        SettingCase{"Side257PutsThePanelOnTheRight", {"Side=257"}, Side::Right,
                    [](HWND w) {
                        EXPECT_TRUE(ReachesShown(w, Side::Right));
                        EXPECT_EQ(PanelTop(w), -4);
                    },
                    L"Side", L"1"},
        SettingCase{"WidthBelowMinimumGives24", {"Width=10"}, Side::Left,
                    [](HWND w) { EXPECT_TRUE(WaitUntil([&] { return PanelWidth(w) == 24; }, 5s)) << PanelWidth(w); },
                    L"Width", L"24"},
        SettingCase{"HexadecimalOpacity", {"Opacity=0x1E"}, Side::Left, [](HWND) {}, L"Opacity", L"30"},
        SettingCase{"OpacityOfLettersFallsBackToDefault", {"Opacity=abc"}, Side::Left, [](HWND) {}, L"Opacity", L"50"},
        SettingCase{"PlacementKeysDoNotMoveOrResize",
                    {"FormVersion=0", "Flags=0", "ShowCmd=1", "PixelsPerInch=96", "MinMaxPos=-1,-1,-1,-1",
                     "NormPos=300,200,700,500", "Visible=1", "TimeOut=500"},
                    Side::Left, ExpectDefaultPlace, L"TimeOut", L"500"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The item file at start and exit ----------------------------------------------

using ItemFile = PanelTest;

// The records come back as they were, but for their button slots: an earlier
// writer filled them with run-time values, and the program writes 0 there.
TEST_F(ItemFile, TwoItemsComeBackByteForByteWithTheirButtonSlotsZeroed) {
    const ShortsFile original = BuildShortsFile(TwoItems());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), original.bytes));
    // Shown, the pointer near it but off its buttons.
    HWND window = StartPanel({.pointer = NearPanel()});
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(FindMessageBox(Pid())) << "message box for a sound item file";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close());

    std::vector<std::uint8_t> expected = original.bytes;
    for (std::size_t offset : original.slotOffsets) {
        ASSERT_NE(std::vector<std::uint8_t>(expected.begin() + offset, expected.begin() + offset + 4),
                  std::vector<std::uint8_t>(4, 0))
            << "the file written before must carry slot values";
        std::fill_n(expected.begin() + offset, 4, 0);
    }
    EXPECT_EQ(ReadWholeFile(ItemsPath()), std::optional<std::vector<std::uint8_t>>(expected))
        << "the saved records differ from the loaded ones, or a slot holds something";
}

TEST_F(ItemFile, FileBesideTheProgramIsUsedWhateverTheWorkingFolder) {
    const auto items = TwoItems();
    const ShortsFile besideProgram = BuildShortsFile({items[0]});
    const ShortsFile inWorkingFolder = BuildShortsFile({items[1]});
    const std::wstring elsewhere = scratch_->SubFolder(L"elsewhere");
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), besideProgram.bytes));
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, L"shorts.dat"), inWorkingFolder.bytes));

    ASSERT_NE(StartPanel({.expect = PanelState::Visible, .workingFolder = elsewhere}), nullptr);
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close());

    EXPECT_TRUE(HoldsItems(ItemsPath(), besideProgram)) << "shorts.dat beside the program lost its own item";
    EXPECT_EQ(ReadWholeFile(JoinPath(elsewhere, L"shorts.dat")), std::optional<Bytes>(inWorkingFolder.bytes))
        << "the file in the working folder was touched";
}

// 150 items: a list longer than the part of the file read before the panel
// first shows, so its last items are read in a second step.
std::vector<ShortRecord> LongList() {
    std::vector<ShortRecord> items;
    for (int i = 0; i < 150; ++i)
        items.push_back({.fileName = "C:\\windows\\notepad.exe",
                         .caption = "Пункт " + std::to_string(i),
                         .trackDrives = i % 2 == 0,
                         .image = Bmp24Image(static_cast<uint32_t>(i + 10))});
    return items;
}

TEST_F(ItemFile, LongListComesBackWhole) {
    const ShortsFile original = BuildShortsFile(LongList());
    ASSERT_GT(original.bytes.size(), 256u * 1024) << "the list is read in one step";
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), original.bytes));
    ASSERT_NE(StartPanel({.pointer = NearPanel()}), nullptr);
    EXPECT_FALSE(FindMessageBox(Pid())) << "message box for a sound item file";
    ASSERT_TRUE(panel_->Close());
    EXPECT_TRUE(HoldsItems(ItemsPath(), original)) << "the long list did not come back whole";
}

// Damage near the end of a long list shows once the panel has shown; the
// items before it are kept and saved, the original is kept beside them.
TEST_F(ItemFile, DamageAtTheEndOfALongListIsReportedAndTheItemsBeforeAreKept) {
    const std::vector<ShortRecord> items = LongList();
    const ShortsFile intact = BuildShortsFile(items);
    const Bytes damaged(intact.bytes.begin(),
                        intact.bytes.begin() + static_cast<std::ptrdiff_t>(intact.imageOffsets.back() + 30));
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), damaged));

    StartPanel({.expect = PanelState::Started, .pointer = NearPanel()});
    const auto box = WaitForMessageBox(Pid(), 20s);
    ASSERT_TRUE(box) << "no message box for a damaged item file";
    EXPECT_NE(box->text.find(L"Stream read error"), std::wstring::npos) << "text: " << Narrow(box->text);
    DismissMessageBox(box->window);
    EXPECT_TRUE(WaitUntilGone(box->window));
    HWND window = panel_->WaitForWindow();
    ASSERT_NE(window, nullptr) << "no panel after the error";
    EXPECT_TRUE(Responds(window));
    ASSERT_TRUE(panel_->Close());

    EXPECT_TRUE(HoldsItems(ItemsPath(), BuildShortsFile({items.begin(), items.end() - 1})))
        << "the items before the damage were not saved as read";
    bool copyKept = false;
    for (const auto& name : ListFiles(scratch_->Path()))
        copyKept |= !SamePath(name, L"shorts.dat") && ReadWholeFile(scratch_->File(name)) == damaged;
    EXPECT_TRUE(copyKept) << "no copy of the damaged original beside shorts.dat";
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
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), damaged));

    StartPanel({.expect = PanelState::Started, .pointer = NearPanel()});
    const auto box = WaitForMessageBox(Pid(), 20s);
    ASSERT_TRUE(box) << "no message box for a damaged item file";
    EXPECT_EQ(box->caption, kAppTitle);
    EXPECT_NE(box->text.find(L"Stream read error"), std::wstring::npos) << "text: " << Narrow(box->text);
    SaveScreenshotPng(CurrentTestName());

    DismissMessageBox(box->window);
    EXPECT_TRUE(WaitUntilGone(box->window));
    HWND window = panel_->WaitForWindow();
    ASSERT_NE(window, nullptr) << "no panel after the error";
    EXPECT_TRUE(Responds(window)) << "the panel does not answer after the error";
    EXPECT_TRUE(panel_->Running());
    ASSERT_TRUE(panel_->Close());

    EXPECT_TRUE(HoldsItems(ItemsPath(), BuildShortsFile({items[0]}))) << "the first item was not saved as read";

    bool copyKept = false;
    for (const auto& name : ListFiles(scratch_->Path()))
        copyKept |= !SamePath(name, L"shorts.dat") && ReadWholeFile(scratch_->File(name)) == damaged;
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
    HWND window = StartPanel({.expect = PanelState::Hidden});
    ASSERT_NE(window, nullptr);

    // Near the panel but not at the edge: nothing but the callback brings it in.
    ParkPointerNearPanel();
    PostTrayCallback(window, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(ReachesLeft(window, -4));
    SaveScreenshotPng(CurrentTestName());
}

// Where Wine has no notification area it shows the icon in a window of its own
// at the screen's top-left corner, over the panel's first buttons, and that
// window settles above the panel a moment after the start: the panel must end
// above it, or the first item cannot be pointed at.
TEST_F(TrayIcon, NothingCoversThePanelOnceItHasStarted) {
    // The panel stays while the pointer is away.
    HWND window = StartPanel({.items = TwoItems(), .settings = {"TimeOut=60000"}});
    ASSERT_NE(window, nullptr);
    MovePointerAway();
    // The panel lifts itself at 0.5 s and 2.5 s after the start; only what
    // stands once those have passed counts, however long the start took.
    const auto lifted = std::chrono::steady_clock::now() + 3500ms;
    const RECT buttons[] = {ItemButtonRect(window, 0), ItemButtonRect(window, 1), CloseButtonRect(window, Side::Left)};
    const auto covering = [&](const RECT& button) {
        return GetAncestor(WindowFromPoint(Centre(ClientRectOnScreen(window, button))), GA_ROOT);
    };
    WaitUntil([&] {
        return std::chrono::steady_clock::now() >= lifted &&
               std::all_of(std::begin(buttons), std::end(buttons), [&](const RECT& b) { return covering(b) == window; });
    });
    for (const RECT& button : buttons) {
        const POINT centre = Centre(ClientRectOnScreen(window, button));
        const HWND over = covering(button);
        EXPECT_EQ(over, window) << "at " << centre.x << "," << centre.y << " the window of class "
                                << Narrow(WindowClass(over)) << " covers the panel";
    }
}

TEST_F(TrayIcon, RightPressOpensTheMenuAtThePointerWhileHidden) {
    HWND window = StartPanel({.expect = PanelState::Hidden});
    ASSERT_NE(window, nullptr);

    const POINT pointer = PointerPosition();
    // A single left click is ignored; the messages are handled in order, so
    // once the menu is up the click has been seen.
    PostTrayCallback(window, WM_LBUTTONDOWN);
    PostTrayCallback(window, WM_LBUTTONUP);
    PostTrayCallback(window, WM_RBUTTONDOWN);
    HWND menu = WaitForPopupMenu(Pid());
    ASSERT_NE(menu, nullptr) << "no popup menu after the right-button callback";
    RECT around = WindowRect(menu);
    InflateRect(&around, 2, 2);
    EXPECT_TRUE(PtInRect(&around, pointer)) << "menu at " << around.left + 2 << "," << around.top + 2
                                            << ", pointer at " << pointer.x << "," << pointer.y;
    EXPECT_EQ(PanelLeft(window), HiddenLeft(Side::Left)) << "the panel moved";
    SaveScreenshotPng(CurrentTestName());
    EXPECT_TRUE(CloseMenuWithEscape(Pid())) << "the menu did not close on Escape";
}

}  // namespace
}  // namespace e2e
