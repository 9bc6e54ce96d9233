// Folder items open as menus of their contents, and separators group items:
// the mark and the keyboard open a folder's menu in the file manager's order
// with its sub-folder as a submenu, the chosen file starts; a press on the
// rest of the button still opens the folder; a separator added, dragged and
// saved comes back as a separator after a restart.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "platform/text.h"

namespace e2e {
namespace {

class FolderMenus : public KeyboardPanelTest {
protected:
    // "Папка" holding a sub-folder "Вложенная" with a probe "inner.exe", and
    // the probes "probe10.exe" and "probe2.exe": the file manager's order
    // is the sub-folder, then probe2, then probe10.
    void PrepareFolder() {
        folder_ = scratch_->SubFolder(L"Папка");
        inner_ = scratch_->SubFolder(L"Папка\\Вложенная");
        scratch_->AddProbe(L"Папка\\Вложенная\\inner.exe");
        scratch_->AddProbe(L"Папка\\probe10.exe");
        scratch_->AddProbe(L"Папка\\probe2.exe");
    }
    Entry FolderItem() const { return Entry{folder_, "", L"Папка", L""}; }

    // The folder's mark: the bottom corner of its button away from the edge.
    POINT MarkOnScreen() const {
        const RECT r = ItemButtonRect(window_, 0, scale_);
        return ClientToScreenPoint(window_, r.right - scale_.S(5), r.bottom - scale_.S(5));
    }
    HWND WaitForMenu() const { return WaitFor([&] { return FindPopupMenu(Pid()); }, 10s); }
    // Keys posted to an open menu, then waits until it has gone.
    bool Keys(HWND menu, std::initializer_list<WORD> keys) const {
        for (WORD key : keys) PostKeyToMenu(menu, key);
        return WaitUntil([&] { return FindPopupMenu(Pid()) == nullptr; }, 10s);
    }
    // The one start the probes in `folder` recorded: which probe, and where.
    ::testing::AssertionResult Started(const std::wstring& folder, const std::wstring& probe) const {
        const auto starts = WaitForProbeRecords(folder, 1);
        if (starts.size() != 1)
            return ::testing::AssertionFailure() << starts.size() << " starts in " << Narrow(folder);
        if (starts[0].commandLine.find(probe) == std::wstring::npos)
            return ::testing::AssertionFailure() << "started " << Narrow(starts[0].commandLine);
        if (!SamePath(starts[0].folder, folder))
            return ::testing::AssertionFailure() << "in " << Narrow(starts[0].folder);
        return ::testing::AssertionSuccess();
    }

    std::wstring folder_, inner_;
};

TEST_F(FolderMenus, TheMarkOpensTheFolderInTheFileManagersOrderWithItsSubFolderAsASubmenu) {
    PrepareFolder();
    ASSERT_NE(StartPanel({.items = RecordsOf({FolderItem()})}), nullptr);
    ASSERT_TRUE(ClickOn(window_, MarkOnScreen()));
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr) << "a press on the mark opened no menu";
    SaveScreenshotPng(CurrentTestName());
    // The third entry: after the sub-folder and probe2.
    ASSERT_TRUE(Keys(menu, {VK_HOME, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(Started(folder_, L"probe10.exe"));

    // The first entry is the sub-folder's submenu, read as it opens.
    ASSERT_TRUE(ClickOn(window_, MarkOnScreen()));
    menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(Keys(menu, {VK_HOME, VK_RIGHT, VK_RETURN}));
    EXPECT_TRUE(Started(inner_, L"inner.exe"));
    EXPECT_FALSE(FindMessageBox(Pid()));
}

TEST_F(FolderMenus, RightAndAltDownOpenTheFocusedFoldersMenu) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    PrepareFolder();
    ASSERT_TRUE(StartHiddenWith({FolderItem()}));
    const HWND window = window_;
    {
        AccessibleReader reader(window);
        ASSERT_TRUE(reader.Object());
        const AccessibleChild child = reader.Child(1);
        EXPECT_EQ(child.role, ROLE_SYSTEM_SPLITBUTTON);
        EXPECT_NE(child.state & STATE_SYSTEM_HASPOPUP, 0);
    }
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window, 1));

    ASSERT_EQ(PressXKeys({"alt+Down"}), "ended");
    ASSERT_NE(WaitForMenu(), nullptr) << "Alt+Down opened no menu";
    ASSERT_TRUE(CloseMenuWithEscape(Pid()));

    ASSERT_EQ(PressXKeys({"Right"}), "ended");
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr) << "Right opened no menu";
    ASSERT_TRUE(Keys(menu, {VK_HOME, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(Started(folder_, L"probe2.exe"));
}

TEST_F(FolderMenus, APressOnTheRestOfTheButtonOpensTheFolder) {
    PrepareFolder();
    // The shell finds "explorer" beside the program first: a probe there
    // stands in for the file manager.
    scratch_->AddProbe(L"explorer.exe");
    ASSERT_NE(StartPanel({.items = RecordsOf({FolderItem()})}), nullptr);
    ASSERT_TRUE(ClickOn(window_, ItemCentre(window_, 0, scale_)));
    const auto starts = WaitForProbeRecords(scratch_->Path(), 1);
    ASSERT_EQ(starts.size(), 1u) << "the folder was not opened";
    EXPECT_NE(starts[0].commandLine.find(L"Папка"), std::wstring::npos) << Narrow(starts[0].commandLine);
    EXPECT_EQ(FindPopupMenu(Pid()), nullptr) << "the press opened the menu";
    EXPECT_TRUE(ReadProbeRecords(folder_).empty());
}

class Separators : public KeyboardPanelTest {
protected:
    static POINT Middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // Child `id` of the panel's accessible object once it reads as a separator.
    std::optional<AccessibleChild> SeparatorAt(long id) const {
        std::optional<AccessibleChild> found;
        WaitUntil(
            [&] {
                AccessibleReader reader(window_);
                if (!reader.Object()) return false;
                const AccessibleChild child = reader.Child(id);
                if (child.role == ROLE_SYSTEM_SEPARATOR) found = child;
                return found.has_value();
            },
            10s);
        return found;
    }
};

TEST_F(Separators, OneAddedDraggedAndSavedComesBackAsASeparatorAfterARestart) {
    if (WindowManager().empty()) GTEST_SKIP() << "a drag at the X server needs the window manager run-e2e.sh starts";
    ASSERT_NE(StartPanel({.items = RecordsOf(ProbeItems(3))}), nullptr);
    // A right press in the lower half of the first button: the separator goes below it.
    const RECT first = ItemButtonRect(window_, 0, scale_);
    const POINT lowerHalf{(first.left + first.right) / 2, first.bottom - scale_.S(6)};
    ASSERT_TRUE(ChooseFromContextMenu(*panel_, window_, lowerHalf, MainMenuEntry::AddSeparator));
    const auto added = SeparatorAt(2);
    ASSERT_TRUE(added) << "no separator second on the strip";
    EXPECT_EQ(added->location.bottom - added->location.top, scale_.S(34) / 4);
    SaveScreenshotPng(CurrentTestName() + L"-added");

    // Dragged into the lower half of the last item: it ends the strip.
    AccessibleReader reader(window_);
    const RECT last = reader.Child(4).location;
    const POINT from = Middle(added->location), to{Middle(last).x, last.bottom - scale_.S(6)};
    std::vector<std::string> words = {"mousemove", std::to_string(from.x), std::to_string(from.y),
                                      "sleep",     "0.15",                "mousedown", "1", "sleep", "0.15"};
    for (const std::string& w : XMoveSteps(from, to, 8, 0.05)) words.push_back(w);
    words.insert(words.end(), {"sleep", "0.3", "mouseup", "1"});
    ASSERT_EQ(XPointerSteps(words), "ended");
    ASSERT_TRUE(SeparatorAt(4)) << "the dragged separator is not last";
    EXPECT_TRUE(ReadProbeRecords(scratch_->Path()).empty()) << "the separator started something";

    const std::vector<ShortRecord> saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 4u);
    const ShortRecord& line = saved[3];
    EXPECT_EQ(line.caption, "-");
    EXPECT_TRUE(line.params.empty() && line.fileName.empty() && line.workDir.empty() && line.hint.empty());
    const StoredPicture picture = PictureOf(line.image);
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(picture.height, 1);
    EXPECT_EQ(saved[2].params, "item-c");

    ASSERT_NE(StartPanel({.items = saved}), nullptr);
    EXPECT_TRUE(SeparatorAt(4)) << "not a separator after the restart";
    SaveScreenshotPng(CurrentTestName() + L"-restarted");
}

}  // namespace
}  // namespace e2e
