// The context menu opened by a real right click on the panel: which entries
// are enabled, the default entry, moving and deleting items, and showing an
// item's file in the file manager.
#include <algorithm>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "menu_reader.h"
#include "platform/dib.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace e2e {
namespace {

using Entry = MainMenuEntry;
constexpr auto kEntryCount = static_cast<size_t>(Entry::Count);
constexpr auto kExit = static_cast<size_t>(Entry::Exit);
// Below "Выход", a press on a program's item adds its own starts: as
// administrator, and a file opened with it.
constexpr size_t kProgramStartEntries = 2;

// What the menu shows for each entry: 'E' enabled, 'D' greyed.
std::string EnabledPattern(const std::vector<MenuLine>& lines) {
    std::string pattern;
    for (const MenuLine& line : lines) pattern += line.enabled ? 'E' : 'D';
    return pattern;
}

COLORREF Fill(int index) { return RGB(40 + 60 * index, 200 - 50 * index, 90 + 40 * index); }

ShortRecord Item(int index, const std::string& caption, const std::string& fileName = "C:\\x.exe",
                 const std::string& hint = "", const std::string& workDir = "") {
    return {.fileName = fileName, .caption = caption, .workDir = workDir, .hint = hint,
            .image = FramedIconBmp(RGB(255, 0, 255), Fill(index))};
}

class ContextMenu : public PanelTest {
protected:
    HWND Start(const std::vector<ShortRecord>& records) {
        StartPanel({.items = records});
        MoveTrayWindowAway();
        return window_;
    }

    HWND RightClickItem(int index) { return OpenContextMenuAt(*panel_, window_, Centre(ItemButtonRect(window_, index))); }
    // Below the items, away from the fixed buttons.
    HWND RightClickEmptyArea() { return OpenContextMenuAt(*panel_, window_, POINT{20, 400}); }
    HWND OpenFromTray() { return OpenTrayMenu(*panel_, window_); }

    // Chooses an entry and waits until the menu has closed and the panel
    // has run the command and answers again.
    void Choose(HWND menu, Entry entry) {
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(ChooseFromMenu(*panel_, menu, entry)) << "the menu stayed open";
        EXPECT_TRUE(Responds(window_));
    }

    // The fill colours' order on the strip: the index of the item whose
    // picture each of the first `count` buttons shows (-1 for none).
    std::vector<int> StripOrder(int count) {
        const TBitmap screen = CaptureScreen();
        std::vector<int> order;
        for (int slot = 0; slot < count; ++slot) {
            const RECT r = ClientRectOnScreen(window_, ItemButtonRect(window_, slot));
            int found = -1;
            for (int i = 0; i < count; ++i)
                if (CountPixels(screen, r, [i](COLORREF c) { return c == Fill(i); }) > 200) found = i;
            order.push_back(found);
        }
        return order;
    }

    // With the pointer off the buttons (a button under it shows its picture
    // brightened), waits until the strip shows the items in `expected` order.
    ::testing::AssertionResult ShowsOrder(const std::vector<int>& expected) {
        const POINT off = ClientToScreenPoint(window_, 20, 400);
        MoveWithInput(off.x, off.y);
        std::vector<int> seen;
        if (WaitUntil([&] { return (seen = StripOrder(static_cast<int>(expected.size()))) == expected; }, 3s))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "strip order";
        for (int i : seen) failure << " " << i;
        return failure;
    }

    void ExitThroughMenu(HWND menu) {
        ChooseMenuEntry(menu, static_cast<int>(Entry::Exit));
        EXPECT_TRUE(panel_->WaitForExit(20s)) << "\"Выход\" did not end the program";
    }
};

TEST_F(ContextMenu, ItemEntriesFollowTheLastRightPressAndExitIsTheBoldDefault) {
    ASSERT_NE(Start({Item(0, "Первый")}), nullptr);
    const int plainExit = MenuTextWidth(L"Выход", false);
    const int boldExit = MenuTextWidth(L"Выход", true);
    ASSERT_GT(boldExit, plainExit) << "the menu font shows no bold difference to measure";

    // Before any right press every entry is enabled.
    HWND menu = OpenFromTray();
    ASSERT_NE(menu, nullptr);
    auto lines = ReadMenuLines(menu);
    EXPECT_EQ(EnabledPattern(lines), "EEEEEEEEEE") << "tray menu at start";
    SaveScreenshotPng(CurrentTestName() + L"-tray-start");
    ASSERT_TRUE(CloseMenuWithEscape(Pid()));

    menu = RightClickItem(0);
    ASSERT_NE(menu, nullptr);
    lines = ReadMenuLines(menu);
    EXPECT_EQ(EnabledPattern(lines), "EEEEEEEEEE" + std::string(kProgramStartEntries, 'E')) << "on an item button";
    ASSERT_EQ(lines.size(), kEntryCount + kProgramStartEntries);
    EXPECT_NEAR(lines[kExit].darkWidth, boldExit, 1) << "\"Выход\" is not drawn bold (plain " << plainExit << ")";
    SaveScreenshotPng(CurrentTestName() + L"-item");
    ASSERT_TRUE(CloseMenuWithEscape(Pid()));

    menu = RightClickEmptyArea();
    ASSERT_NE(menu, nullptr);
    lines = ReadMenuLines(menu);
    EXPECT_EQ(EnabledPattern(lines), "EEDDDDDEEE") << "on the empty area";
    ASSERT_EQ(lines.size(), kEntryCount);
    EXPECT_NEAR(lines[kExit].darkWidth, boldExit, 1);
    SaveScreenshotPng(CurrentTestName() + L"-empty");
    ASSERT_TRUE(CloseMenuWithEscape(Pid()));

    // The tray icon's menu keeps what the last right press set.
    menu = OpenFromTray();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(EnabledPattern(ReadMenuLines(menu)), "EEDDDDDEEE") << "tray menu after the empty-area press";
    // A greyed entry chosen does nothing: the delete question does not come.
    Choose(menu, Entry::Delete);
    EXPECT_FALSE(FindMessageBox(Pid()));

    menu = RightClickEmptyArea();
    ASSERT_NE(menu, nullptr);
    ExitThroughMenu(menu);
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"Первый"}));
}

TEST_F(ContextMenu, MoveUpAndDownDoNothingAtTheEndsAndSwapInTheMiddle) {
    ASSERT_NE(Start({Item(0, "A"), Item(1, "B"), Item(2, "C")}), nullptr);
    ASSERT_TRUE(ShowsOrder({0, 1, 2}));

    Choose(RightClickItem(0), Entry::MoveUp);
    Choose(RightClickItem(2), Entry::MoveDown);
    EXPECT_TRUE(ShowsOrder({0, 1, 2})) << "an end item moved";

    Choose(RightClickItem(1), Entry::MoveUp);
    EXPECT_TRUE(ShowsOrder({1, 0, 2})) << "\"Поднять\" on the middle item";
    Choose(RightClickItem(1), Entry::MoveDown);
    EXPECT_TRUE(ShowsOrder({1, 2, 0})) << "\"Опустить\" on the middle item";
    SaveScreenshotPng(CurrentTestName());

    ExitThroughMenu(RightClickEmptyArea());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"B", "C", "A"}));
}

TEST_F(ContextMenu, DeleteAsksFirstAndLeavesNoItemForTheTrayMenu) {
    ASSERT_NE(Start({Item(0, "Ed", "C:\\ed.exe", "Editor"), Item(1, "Другой")}), nullptr);

    for (const int answer : {IDNO, IDYES}) {
        Choose(RightClickItem(0), Entry::Delete);
        const auto box = WaitForMessageBox(Pid());
        ASSERT_TRUE(box) << "no delete question";
        EXPECT_EQ(Narrow(box->caption), Narrow(L"Удаление"));
        EXPECT_EQ(Narrow(box->text), Narrow(L"Вы действительно хотите\nудалить ярлык Editor (C:\\ed.exe)"));
        EXPECT_NE(GetDlgItem(box->window, IDYES), nullptr);
        EXPECT_NE(GetDlgItem(box->window, IDNO), nullptr);
        EXPECT_EQ(GetDlgItem(box->window, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box->window, IDCANCEL), nullptr);
        const auto buttonKind = [&](int id) { return GetWindowLongW(GetDlgItem(box->window, id), GWL_STYLE) & BS_TYPEMASK; };
        EXPECT_EQ(buttonKind(IDNO), BS_DEFPUSHBUTTON) << "No is not the default button";
        EXPECT_EQ(buttonKind(IDYES), BS_PUSHBUTTON);
        // The stop icon: a red disc (the question, warning and information icons have none).
        HWND icon = nullptr;
        for (HWND child = GetWindow(box->window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
        ASSERT_NE(icon, nullptr) << "no icon in the question";
        const auto isRed = [](COLORREF c) { return GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90; };
        // The box may show before it has painted its icon.
        const auto redPixels = [&] { return CountPixels(CaptureScreen(), WindowRect(icon), isRed); };
        EXPECT_TRUE(WaitUntil([&] { return redPixels() > 50; }, 3s))
            << "not the stop icon: " << redPixels() << " red pixels";
        if (answer == IDNO) SaveScreenshotPng(CurrentTestName() + L"-question");
        ASSERT_TRUE(AnswerMessageBox(Pid(), box->window, answer));
        EXPECT_TRUE(ShowsOrder(answer == IDNO ? std::vector<int>{0, 1} : std::vector<int>{1, -1}))
            << (answer == IDNO ? "answered No" : "answered Yes");
    }
    SaveScreenshotPng(CurrentTestName());

    // The entries are still enabled from the last press on an item button,
    // but no item is the clicked one any more.
    HWND menu = OpenFromTray();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(EnabledPattern(ReadMenuLines(menu)), "EEEEEEEEEE");
    Choose(menu, Entry::Delete);
    EXPECT_FALSE(FindMessageBox(Pid())) << "a delete question with no clicked item";
    Choose(OpenFromTray(), Entry::MoveDown);
    Choose(OpenFromTray(), Entry::ShowFile);
    EXPECT_FALSE(FindMessageBox(Pid()));

    ExitThroughMenu(OpenFromTray());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"Другой"}));
}

TEST_F(ContextMenu, ShowFileStartsTheFileManagerWithTheFileSelected) {
    const std::wstring folder = scratch_->SubFolder(L"Размещение");
    const std::wstring file = JoinPath(folder, L"отчёт.txt");
    ASSERT_TRUE(WriteFileBytes(file, Bytes{'x'}));
    // The shell finds "explorer" in the folder of the program that asks for
    // it before the system folders: a probe there stands in for the file
    // manager and records how it was asked. The system's own explorer,
    // which shows the desktop and the tray, is not touched.
    scratch_->AddProbe(L"explorer.exe");
    ASSERT_NE(Start({Item(0, "Отчёт", tilerack::win::Narrow(file)),
                     Item(1, "Блокнот", "notepad.exe", "", tilerack::win::Narrow(scratch_->Path()))}),
              nullptr);

    Choose(RightClickItem(0), Entry::ShowFile);
    const auto starts = WaitForProbeRecords(scratch_->Path());
    ASSERT_FALSE(starts.empty()) << "the file manager was not started";
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), Narrow(L"/select, " + file)) << Narrow(starts[0].commandLine);
    EXPECT_TRUE(SamePath(starts[0].folder, folder)) << Narrow(starts[0].folder);
    SaveScreenshotPng(CurrentTestName());

    // A bare file name has no folder to show, even with a working folder set.
    Choose(RightClickItem(1), Entry::ShowFile);
    const auto box = WaitForMessageBox(Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    EXPECT_EQ(Narrow(box->text), Narrow(L"Путь не задан"));
    SaveScreenshotPng(CurrentTestName() + L"-path-not-set");
    ASSERT_TRUE(AnswerMessageBox(Pid(), box->window));
    EXPECT_TRUE(Responds(window_));
    EXPECT_EQ(ReadProbeRecords(scratch_->Path()).size(), 1u) << "a file manager started for the bare name";
}

}  // namespace
}  // namespace e2e
