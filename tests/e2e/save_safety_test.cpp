// Saving never loses what the user had: a save that cannot replace the item
// file leaves the old one whole, and settings that cannot go to the Windows
// folder go to the user's own folder instead.
#include <shlobj.h>

#include "e2e_harness.h"

namespace e2e {
namespace {

std::vector<ShortRecord> OneItem() {
    return {{.fileName = "C:\\windows\\notepad.exe",
             .caption = "Блокнот",
             .hint = "Блокнот",
             .trackDrives = true,
             .buttonSlot = 0x01020304,
             .image = Bmp24Image(7)}};
}

// Closes the panel and answers the one error box its final save shows.
std::optional<MessageBoxInfo> CloseExpectingError(const PanelProcess& panel, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto box = WaitForMessageBox(panel.Pid(), 20s);
    if (box) {
        SaveScreenshotPng(CurrentTestName());
        DismissMessageBox(box->window);
    }
    return box;
}

using SaveSafety = PanelTest;

TEST_F(SaveSafety, ItemFileThatCannotBeReplacedStaysWhole) {
    const Bytes original = BuildShortsFile(OneItem()).bytes;
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), original));
    // A folder where the new file would be written first: the save must fail.
    ASSERT_TRUE(CreateDirectoryW(scratch_->File(L"shorts.dat.saving").c_str(), nullptr));

    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);
    const std::optional<MessageBoxInfo> box = CloseExpectingError(*panel_, window);
    ASSERT_TRUE(box) << "no error shown for the failed save";
    EXPECT_EQ(box->caption, kAppTitle);
    EXPECT_NE(box->text.find(L"Cannot create file"), std::wstring::npos) << Narrow(box->text);
    EXPECT_NE(box->text.find(L"shorts.dat"), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(panel_->WaitForExit(20s));
    EXPECT_EQ(ReadWholeFile(ItemsPath()), original) << "the old list was touched";
    // The settings were still written.
    EXPECT_TRUE(FileExists(IniPath()));
}

TEST_F(SaveSafety, ReadOnlyItemFileIsNeverReplaced) {
    const Bytes original = BuildShortsFile(OneItem()).bytes;
    const std::wstring path = ItemsPath();
    ASSERT_TRUE(WriteFileBytes(path, original));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);
    const std::optional<MessageBoxInfo> box = CloseExpectingError(*panel_, window);
    ASSERT_TRUE(box) << "no error shown for the refused save";
    EXPECT_NE(box->text.find(L"Cannot create file"), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(panel_->WaitForExit(20s));
    EXPECT_EQ(ReadWholeFile(path), original) << "the read-only list was replaced";
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_FALSE(FileExists(path + L".saving")) << "the refused save left a temporary file";
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveSafety, LeftoverTemporaryFileOfAKilledSaveIsNeverReadAndIsRemoved) {
    const ShortsFile file = BuildShortsFile(OneItem());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), file.bytes));
    const std::wstring leftover = scratch_->File(L"shorts.dat.saving");
    ASSERT_TRUE(WriteFileBytes(leftover, Bytes{5, 0, 0, 0, 1, 2, 3}));  // a save cut short
    ASSERT_NE(StartPanel({.expect = PanelState::Visible}), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(leftover); }, 5s)) << "the leftover stayed";
    EXPECT_FALSE(FindMessageBox(panel_->Pid())) << "the leftover was read as the list";
    ASSERT_TRUE(panel_->Close());
    EXPECT_TRUE(HoldsItems(ItemsPath(), file));
}

// Windows may end the session without the program's own shutdown: the panel
// saves when it is told the session ends, and goes on running until then.
TEST_F(SaveSafety, EndOfSessionSavesSettingsAndItems) {
    const ShortsFile file = BuildShortsFile(OneItem());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), file.bytes));
    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 0, 0, 100, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(SettingsSaved());

    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
    ASSERT_TRUE(WaitUntil([] { return SettingsSaved(); }, 10s)) << "nothing saved at the end of the session";
    EXPECT_EQ(SavedSetting(L"Width"), L"100");
    EXPECT_TRUE(HoldsItems(ItemsPath(), file));
    EXPECT_TRUE(panel_->Running());
}

std::wstring AppDataIni() {
    wchar_t dir[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, dir);
    return std::wstring(dir) + L"\\tilerack\\tilerack.INI";
}

class SettingsFallback : public PanelTest {
protected:
    void TearDown() override {
        RemoveDirectoryW(IniPath().c_str());
        DeleteFileW(AppDataIni().c_str());
    }
};

TEST_F(SettingsFallback, UnwritableWindowsFolderKeepsSettingsInAppDataAndItemsStillSave) {
    DeleteFileW(AppDataIni().c_str());
    // A folder in the place of the settings file: nothing can be written there.
    ASSERT_TRUE(CreateDirectoryW(IniPath().c_str(), nullptr));
    const ShortsFile items = BuildShortsFile(OneItem());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), items.bytes));
    {
        const HWND window = StartPanel({.expect = PanelState::Visible});
        ASSERT_NE(window, nullptr);
        // A width that differs from the default, to see it come back.
        SetWindowPos(window, nullptr, 0, 0, 90, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] { return PanelWidth(window) == 90; }));
        EXPECT_FALSE(FindMessageBox(Pid()));
        ASSERT_TRUE(panel_->Close());
    }
    const std::optional<Bytes> ini = ReadWholeFile(AppDataIni());
    ASSERT_TRUE(ini) << "settings not kept in the user's folder";
    const std::string text(ini->begin(), ini->end());
    EXPECT_NE(text.find("[Keelstrip]"), std::string::npos) << text;
    EXPECT_NE(text.find("Width=90"), std::string::npos) << text;
    EXPECT_TRUE(HoldsItems(ItemsPath(), items)) << "the items were not saved";

    // The next run reads the kept settings.
    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PanelWidth(window), 90);
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close());
}

}  // namespace
}  // namespace e2e
