// Starting items: by their buttons and through the items menu, the message
// for a file that is not there, and ending the program by the close button.
#include <string>

#include "e2e_harness.h"
#include "platform/text.h"

namespace e2e {
namespace {

ShortRecord Item(const std::wstring& fileName, const std::string& params, const std::wstring& workDir,
                 const std::string& caption, COLORREF fill) {
    return {.params = params,
            .fileName = tilerack::win::Narrow(fileName),
            .caption = caption,
            .workDir = tilerack::win::Narrow(workDir),
            .hint = caption + "\r\nвторая строка",
            .image = FramedIconBmp(RGB(255, 0, 255), fill)};
}

class Launch : public PanelTest {
protected:
    // Waits until the probe has recorded `count` starts and returns them.
    std::vector<ProbeRecord> WaitForProbeStarts(size_t count) { return WaitForProbeRecords(scratch_->Path(), count); }
};

TEST_F(Launch, ButtonStartsTheFileWithItsParametersInItsWorkingFolder) {
    const std::wstring probe = scratch_->AddProbe(L"проба альфа.exe");
    const std::wstring workDir = scratch_->SubFolder(L"рабочая папка");
    ASSERT_TRUE(WriteItems({Item(probe, "alpha \"два слова\" 3", workDir, "Проба", RGB(200, 40, 40))}));
    ASSERT_NE(StartPanel(), nullptr);

    ClickOn(window_, ItemCentre(window_, 0));
    const auto starts = WaitForProbeStarts(1);
    ASSERT_EQ(starts.size(), 1u) << "the probe did not run exactly once";
    const std::string commandLine = Narrow(starts[0].commandLine);
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), Narrow(L"alpha \"два слова\" 3")) << commandLine;
    EXPECT_NE(starts[0].commandLine.find(L"проба альфа.exe"), std::wstring::npos) << commandLine;
    EXPECT_TRUE(SamePath(starts[0].folder, workDir))
        << "started in " << Narrow(starts[0].folder) << ", not " << Narrow(workDir);
    SaveScreenshotPng(CurrentTestName());
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message box after a successful start";
    EXPECT_TRUE(panel_->Running());
}

TEST_F(Launch, MissingFileIsReportedAndThePanelKeepsRunning) {
    const std::wstring missing = scratch_->File(L"нет такого.exe");
    ASSERT_TRUE(WriteItems({Item(missing, "", scratch_->Path(), "Пропавший", RGB(40, 160, 60))}));
    ASSERT_NE(StartPanel(), nullptr);

    ClickOn(window_, ItemCentre(window_, 0));
    const auto box = WaitForMessageBox(Pid());
    ASSERT_TRUE(box) << "no message box for a file that does not exist";
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    EXPECT_EQ(Narrow(box->text), Narrow(L"Ошибка:\nФайл не найден."));
    SaveScreenshotPng(CurrentTestName());

    EXPECT_TRUE(AnswerMessageBox(Pid(), box->window)) << "the message box stayed";
    EXPECT_TRUE(Responds(window_)) << "the panel does not answer after the message";
    EXPECT_TRUE(panel_->Running());
    EXPECT_FALSE(FileExists(missing));
}

// ---- Items menu -------------------------------------------------------------------

COLORREF ManyItemFill(int index) { return RGB(30 + 8 * index, 220 - 6 * index, 60 + 5 * index); }

class ItemsMenu : public Launch {
protected:
    // Chooses an entry by `index` (counted from the last when negative) and
    // returns the arguments the probe recorded for it.
    std::wstring Choose(int index, size_t startsBefore, const std::wstring& shot = {}) {
        HWND menu = OpenItemsMenu(*panel_, window_);
        if (!menu) return L"<no menu>";
        if (!shot.empty()) SaveScreenshotPng(shot);
        // Windows answers for another process's menu; Wine does not (-1).
        const auto handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        entryCount_ = handle ? GetMenuItemCount(handle) : -1;
        ChooseMenuEntry(menu, index);
        EXPECT_TRUE(WaitUntil([&] { return FindPopupMenu(Pid()) == nullptr; }, 5s))
            << "the menu stayed open after choosing";
        const auto starts = WaitForProbeStarts(startsBefore + 1);
        if (starts.size() == startsBefore + 1) return ArgumentsOf(starts.back().commandLine);
        ADD_FAILURE() << "no single start after choosing (" << starts.size() - startsBefore << " starts)";
        return L"<no start>";
    }

    // The panel started with three items "Пункт 1" to "Пункт 3" and its
    // items menu open; nullptr, with a failure recorded, when it is not.
    HWND OpenMenuOfThreeItems() {
        std::vector<ShortRecord> records;
        for (int i = 0; i < 3; ++i)
            records.push_back(Item(L"notepad.exe", "", L"", "Пункт " + std::to_string(i + 1), ManyItemFill(i)));
        if (!WriteItems(records) || !StartPanel()) return nullptr;
        return OpenItemsMenu(*panel_, window_);
    }

    int entryCount_ = -1;
};

TEST_F(ItemsMenu, ListsEveryItemInOrderAndStartsTheChosenOneLikeItsButton) {
    constexpr int kManyItems = 25;
    const std::wstring probe = scratch_->AddProbe();
    const std::wstring workDir = scratch_->SubFolder(L"папка");
    std::vector<ShortRecord> records;
    for (int i = 0; i < kManyItems; ++i)
        records.push_back(Item(probe, "item " + std::to_string(i + 1) + " \"пункт меню\"", workDir,
                               "Пункт " + std::to_string(i + 1), ManyItemFill(i)));
    ASSERT_TRUE(WriteItems(records));
    ASSERT_NE(StartPanel(), nullptr);

    // The strip holds 22 buttons on a 768-line screen; the others are hidden.
    TBitmap strip;
    const auto fillCount = [&](int i) {
        return CountPixels(strip, ClientRectOnScreen(window_, ItemButtonRect(window_, i)),
                           [i](COLORREF c) { return c == ManyItemFill(i); });
    };
    WaitUntil([&] { return strip = CaptureScreen(), fillCount(0) == 24 * 24; }, 5s);
    SaveScreenshotPng(CurrentTestName() + L".strip");
    EXPECT_EQ(fillCount(21), 24 * 24) << "the 22nd button is not shown whole";
    EXPECT_EQ(fillCount(22), 0) << "the 23rd button is shown";

    const std::string last = Narrow(L"item 25 \"пункт меню\"");
    EXPECT_EQ(Narrow(Choose(24, 0, CurrentTestName() + L".menu")), last)
        << "the 25th entry did not start the 25th item";
    RecordProperty("menu_entries_read", entryCount_);
    if (entryCount_ >= 0) {
        EXPECT_EQ(entryCount_, kManyItems) << "entries counted through the menu handle";
    }

    // End is the last entry, and a 25th step down wraps round to the first:
    // the menu has exactly one entry per item.
    EXPECT_EQ(Narrow(Choose(-1, 1)), last) << "the last entry is not the last item";
    EXPECT_EQ(Narrow(Choose(25, 2)), Narrow(L"item 1 \"пункт меню\""))
        << "25 steps down from the first entry did not come back to it";

    // The first item's button starts it exactly as its entry did.
    ClickOn(window_, ItemCentre(window_, 0));
    const auto starts = WaitForProbeStarts(4);
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(Narrow(starts[3].commandLine), Narrow(starts[2].commandLine));
    EXPECT_EQ(Narrow(starts[3].folder), Narrow(starts[2].folder));
    EXPECT_TRUE(SamePath(starts[2].folder, workDir)) << Narrow(starts[2].folder);
    EXPECT_FALSE(FindMessageBox(Pid()));
}

TEST_F(ItemsMenu, OpensBesideItsButton) {
    HWND menu = OpenMenuOfThreeItems();
    ASSERT_NE(menu, nullptr);
    const RECT placed = WindowRect(menu);
    const RECT button = ClientRectOnScreen(window_, MenuButtonRect(window_, Side::Left));
    SaveScreenshotPng(CurrentTestName());
    // Opened at (x + w + 1, y - 1) of the button; a menu that does not fit
    // below that point is moved up by the system, so only its left edge
    // and its reaching that point's row are certain.
    EXPECT_EQ(placed.left, button.right + 1) << "menu at " << placed.left << "," << placed.top;
    EXPECT_TRUE(placed.top <= button.top - 1 && placed.bottom >= button.top - 1)
        << "menu from " << placed.top << " to " << placed.bottom << ", button top " << button.top;
    EXPECT_TRUE(CloseMenuWithEscape(Pid()));
}

// The hint of the highlighted entry stands at the entry's right, level with
// it: the entry's place is the menu's own, not one read against the panel.
TEST_F(ItemsMenu, HintStandsBesideTheHighlightedEntry) {
    HWND menu = OpenMenuOfThreeItems();
    ASSERT_NE(menu, nullptr);
    const RECT placed = WindowRect(menu);
    PostKeyToMenu(menu, VK_HOME);
    PostKeyToMenu(menu, VK_DOWN);
    const std::wstring second = tilerack::win::Widen("Пункт 2\r\nвторая строка");
    HWND hint = WaitFor(
        [&]() -> HWND {
            HWND tip = FindHint(*panel_);
            return tip && WindowText(tip) == second ? tip : nullptr;
        },
        5s);
    SaveScreenshotPng(CurrentTestName());
    ASSERT_NE(hint, nullptr) << "no hint of the second entry";
    const RECT tip = WindowRect(hint);
    const int entryHeight = (placed.bottom - placed.top) / 3;
    // Right of the menu's entries (the menu's frame and a small gap
    // between), and level with the second entry, not the first or third.
    EXPECT_GE(tip.left, placed.right - 8) << "hint at " << tip.left << "," << tip.top << "; menu " << placed.left
                                          << "," << placed.top << " to " << placed.right << "," << placed.bottom;
    EXPECT_LE(tip.left, placed.right + 16) << "hint at " << tip.left;
    EXPECT_GT(tip.top, placed.top + entryHeight / 2) << "hint at " << tip.top << ", menu top " << placed.top;
    EXPECT_LT(tip.top, placed.top + 2 * entryHeight) << "hint at " << tip.top << ", menu top " << placed.top;
    EXPECT_TRUE(CloseMenuWithEscape(Pid()));
}

// ---- Close button ---------------------------------------------------------------------

class CloseButton : public Launch, public ::testing::WithParamInterface<Side> {};

TEST_P(CloseButton, EndsTheProgramAndSavesBothFiles) {
    const Side side = GetParam();
    const ShortsFile original = BuildShortsFile(
        {Item(L"C:\\Программы\\редактор.exe", "--новый \"файл 1\"", L"C:\\windows", "Редактор", RGB(200, 40, 40)),
         Item(L"notepad.exe", "", L"", "Notepad", RGB(60, 90, 200))});
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), original.bytes));
    ASSERT_NE(StartPanel({.side = side, .settings = {SideSetting(side), "TimeOut=400"}}), nullptr);
    // Left behind by the program only if it saves at exit.
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), {}));
    DeleteIni();

    SaveScreenshotPng(CurrentTestName());
    ClickOn(window_, Centre(ClientRectOnScreen(window_, CloseButtonRect(window_, side))));
    ASSERT_TRUE(panel_->WaitForExit(10s)) << "the program did not end after the close button";
    EXPECT_EQ(panel_->ExitCode(), std::optional<DWORD>(0));

    ASSERT_TRUE(SettingsSaved()) << "no settings saved at " << Narrow(IniPath());
    EXPECT_EQ(SavedSetting(L"Side"), side == Side::Left ? L"0" : L"1");
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"400");
    EXPECT_EQ(SavedSetting(L"Width"), L"64");
    EXPECT_TRUE(HoldsItems(ItemsPath(), original));
}

INSTANTIATE_TEST_SUITE_P(Sides, CloseButton, kBothSides, SideName);

}  // namespace
}  // namespace e2e
