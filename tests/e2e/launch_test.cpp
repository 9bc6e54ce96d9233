// Starting items: by their buttons and through the items menu, the message
// for a file that is not there, and ending the program by the close button.
#include <string>

#include "e2e_harness.h"
#include "platform/text.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

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
    void WriteItems(const std::vector<ShortRecord>& records) {
        ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), BuildShortsFile(records).bytes));
    }

    void ClickItemButton(HWND window, int index) {
        const POINT centre = Centre(ClientRectOnScreen(window, ItemButtonRect(window, index)));
        ClickAt(centre.x, centre.y);
    }

    // Waits until the probe has recorded `count` starts and returns them.
    std::vector<ProbeRecord> WaitForProbeStarts(size_t count) {
        std::vector<ProbeRecord> starts;
        WaitUntil([&] { return (starts = ReadProbeRecords(scratch_->Path())).size() >= count; }, 15s);
        return starts;
    }
};

TEST_F(Launch, ButtonStartsTheFileWithItsParametersInItsWorkingFolder) {
    const std::wstring probe = scratch_->AddProbe(L"проба альфа.exe");
    const std::wstring workDir = scratch_->SubFolder(L"рабочая папка");
    WriteItems({Item(probe, "alpha \"два слова\" 3", workDir, "Проба", RGB(200, 40, 40))});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);

    ClickItemButton(window, 0);
    const auto starts = WaitForProbeStarts(1);
    ASSERT_EQ(starts.size(), 1u) << "the probe did not run exactly once";
    const std::string commandLine = Narrow(starts[0].commandLine);
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), Narrow(L"alpha \"два слова\" 3")) << commandLine;
    EXPECT_NE(starts[0].commandLine.find(L"проба альфа.exe"), std::wstring::npos) << commandLine;
    EXPECT_TRUE(SamePath(starts[0].folder, workDir))
        << "started in " << Narrow(starts[0].folder) << ", not " << Narrow(workDir);
    SaveScreenshotPng(CurrentTestName());
    EXPECT_FALSE(FindMessageBox(panel.Pid())) << "a message box after a successful start";
    EXPECT_TRUE(panel.Running());
}

TEST_F(Launch, MissingFileIsReportedAndThePanelKeepsRunning) {
    const std::wstring missing = scratch_->File(L"нет такого.exe");
    WriteItems({Item(missing, "", scratch_->Path(), "Пропавший", RGB(40, 160, 60))});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);

    ClickItemButton(window, 0);
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(panel.Pid())).has_value(); }, 10s))
        << "no message box for a file that does not exist";
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    EXPECT_EQ(Narrow(box->text), Narrow(L"Ошибка:\nФайл не найден."));
    SaveScreenshotPng(CurrentTestName());

    DismissMessageBox(box->window);
    EXPECT_TRUE(WaitUntil([&] { return !FindMessageBox(panel.Pid()); }, 5s)) << "the message box stayed";
    EXPECT_TRUE(Responds(window)) << "the panel does not answer after the message";
    EXPECT_TRUE(panel.Running());
    EXPECT_FALSE(FileExists(missing));
}

// ---- Items menu -------------------------------------------------------------------

COLORREF ManyItemFill(int index) { return RGB(30 + 8 * index, 220 - 6 * index, 60 + 5 * index); }

class ItemsMenu : public Launch {
protected:
    // Reveals the menu button, clicks it and returns the open menu.
    HWND OpenItemsMenu(HWND window) {
        menuButton_ = ClientRectOnScreen(window, MenuButtonRect(window, 0));
        const POINT centre = Centre(menuButton_);
        MoveWithInput(centre.x, centre.y);
        // The arrows are white inside; the item button under the menu button
        // may put black caption pixels there, but never white ones.
        if (!WaitUntil([&] { return CountPixels(CaptureScreen(), menuButton_, IsWhite) >= 10; }, 3s))
            ADD_FAILURE() << "the menu button did not appear";
        ClickAt(centre.x, centre.y);
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = FindPopupMenu(pid_)) != nullptr; }, 5s))
            ADD_FAILURE() << "no items menu after clicking the menu button";
        return menu;
    }

    // Chooses an entry by Home, `downs` steps down (or End) and Enter, and
    // returns the arguments the probe recorded for it.
    std::wstring Choose(HWND window, int downs, size_t startsBefore, const std::wstring& shot = {}) {
        HWND menu = OpenItemsMenu(window);
        if (!menu) return L"<no menu>";
        if (!shot.empty()) SaveScreenshotPng(shot);
        // Windows answers for another process's menu; Wine does not (-1).
        const auto handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        entryCount_ = handle ? GetMenuItemCount(handle) : -1;
        PostKeyToMenu(menu, downs < 0 ? VK_END : VK_HOME);
        for (int i = 0; i < downs; ++i) PostKeyToMenu(menu, VK_DOWN);
        PostKeyToMenu(menu, VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return FindPopupMenu(pid_) == nullptr; }, 5s))
            << "the menu stayed open after choosing";
        const auto starts = WaitForProbeStarts(startsBefore + 1);
        if (starts.size() == startsBefore + 1) return ArgumentsOf(starts.back().commandLine);
        ADD_FAILURE() << "no single start after choosing (" << starts.size() - startsBefore << " starts)";
        return L"<no start>";
    }

    DWORD pid_ = 0;
    int entryCount_ = -1;
    RECT menuButton_{};
};

TEST_F(ItemsMenu, ListsEveryItemInOrderAndStartsTheChosenOneLikeItsButton) {
    constexpr int kManyItems = 25;
    const std::wstring probe = scratch_->AddProbe();
    const std::wstring workDir = scratch_->SubFolder(L"папка");
    std::vector<ShortRecord> records;
    for (int i = 0; i < kManyItems; ++i)
        records.push_back(Item(probe, "item " + std::to_string(i + 1) + " \"пункт меню\"", workDir,
                               "Пункт " + std::to_string(i + 1), ManyItemFill(i)));
    WriteItems(records);
    PanelProcess panel(*scratch_);
    pid_ = panel.Pid();
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);

    // The strip holds 22 buttons on a 768-line screen; the others are hidden.
    TBitmap strip;
    const auto fillCount = [&](int i) {
        return CountPixels(strip, ClientRectOnScreen(window, ItemButtonRect(window, i)),
                           [i](COLORREF c) { return c == ManyItemFill(i); });
    };
    WaitUntil([&] { return strip = CaptureScreen(), fillCount(0) == 24 * 24; }, 5s);
    SaveScreenshotPng(CurrentTestName() + L".strip");
    EXPECT_EQ(fillCount(21), 24 * 24) << "the 22nd button is not shown whole";
    EXPECT_EQ(fillCount(22), 0) << "the 23rd button is shown";

    const std::string last = Narrow(L"item 25 \"пункт меню\"");
    EXPECT_EQ(Narrow(Choose(window, 24, 0, CurrentTestName() + L".menu")), last)
        << "the 25th entry did not start the 25th item";
    RecordProperty("menu_entries_read", entryCount_);
    if (entryCount_ >= 0) {
        EXPECT_EQ(entryCount_, kManyItems) << "entries counted through the menu handle";
    }

    // End is the last entry, and a 25th step down wraps round to the first:
    // the menu has exactly one entry per item.
    EXPECT_EQ(Narrow(Choose(window, -1, 1)), last) << "the last entry is not the last item";
    EXPECT_EQ(Narrow(Choose(window, 25, 2)), Narrow(L"item 1 \"пункт меню\""))
        << "25 steps down from the first entry did not come back to it";

    // The first item's button starts it exactly as its entry did.
    ClickItemButton(window, 0);
    const auto starts = WaitForProbeStarts(4);
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(Narrow(starts[3].commandLine), Narrow(starts[2].commandLine));
    EXPECT_EQ(Narrow(starts[3].folder), Narrow(starts[2].folder));
    EXPECT_TRUE(SamePath(starts[2].folder, workDir)) << Narrow(starts[2].folder);
    EXPECT_FALSE(FindMessageBox(panel.Pid()));
}

TEST_F(ItemsMenu, OpensBesideItsButton) {
    std::vector<ShortRecord> records;
    for (int i = 0; i < 3; ++i)
        records.push_back(Item(L"notepad.exe", "", L"", "Пункт " + std::to_string(i + 1), ManyItemFill(i)));
    WriteItems(records);
    PanelProcess panel(*scratch_);
    pid_ = panel.Pid();
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    HWND menu = OpenItemsMenu(window);
    ASSERT_NE(menu, nullptr);
    const RECT placed = WindowRect(menu);
    SaveScreenshotPng(CurrentTestName());
    // Opened at (x + w + 1, y - 1) of the button; a menu that does not fit
    // below that point is moved up by the system, so only its left edge
    // and its reaching that point's row are certain.
    EXPECT_EQ(placed.left, menuButton_.right + 1) << "menu at " << placed.left << "," << placed.top;
    EXPECT_TRUE(placed.top <= menuButton_.top - 1 && placed.bottom >= menuButton_.top - 1)
        << "menu from " << placed.top << " to " << placed.bottom << ", button top " << menuButton_.top;
    EXPECT_TRUE(CloseMenuWithEscape(panel.Pid()));
}

// ---- Close button ---------------------------------------------------------------------

class CloseButton : public Launch, public ::testing::WithParamInterface<int> {};

TEST_P(CloseButton, EndsTheProgramAndSavesBothFiles) {
    const int side = GetParam();
    const ShortsFile original = BuildShortsFile(
        {Item(L"C:\\Программы\\редактор.exe", "--новый \"файл 1\"", L"C:\\windows", "Редактор", RGB(200, 40, 40)),
         Item(L"notepad.exe", "", L"", "Notepad", RGB(60, 90, 200))});
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), original.bytes));
    WriteSettings({"Side=" + std::to_string(side), "TimeOut=400"});
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel, side);
    ASSERT_NE(window, nullptr);
    // Left behind by the program only if it saves at exit.
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), {}));
    DeleteIni();

    SaveScreenshotPng(CurrentTestName());
    const POINT centre = Centre(ClientRectOnScreen(window, CloseButtonRect(window, side)));
    ClickAt(centre.x, centre.y);
    ASSERT_TRUE(panel.WaitForExit(10s)) << "the program did not end after the close button";
    EXPECT_EQ(panel.ExitCode(), std::optional<DWORD>(0));

    ASSERT_TRUE(SettingsSaved()) << "no settings saved at " << Narrow(IniPath());
    EXPECT_EQ(SavedSetting(L"Side"), std::to_wstring(side));
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"400");
    EXPECT_EQ(SavedSetting(L"Width"), L"64");
    const auto items = ReadWholeFile(scratch_->File(L"shorts.dat"));
    ASSERT_TRUE(items);
    EXPECT_TRUE(SameApartFromSlots(*items, original))
        << "shorts.dat does not hold the same items (" << items->size() << " bytes, " << original.bytes.size()
        << " expected)";
}

INSTANTIATE_TEST_SUITE_P(Sides, CloseButton, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Left" : "Right"; });

}  // namespace
}  // namespace e2e
