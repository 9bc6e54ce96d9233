// Saves on a hostile disk: the item file held open by another program, a full
// disk, a folder nothing can be written into, a path at the length limit.
// Every failed save shows its message, leaves the old file byte for byte, and
// the program keeps running; the next save tries again.
#include "e2e_harness.h"

namespace e2e {
namespace {

std::vector<ShortRecord> SomeItems(int count) {
    std::vector<ShortRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back({.fileName = "C:\\tool" + std::to_string(i) + ".exe",
                           .caption = "Элемент " + std::to_string(i),
                           .hint = "Элемент",
                           .trackDrives = true,
                           .image = Bmp24Image(static_cast<std::uint32_t>(i))});
    return records;
}

// Asks the running panel to save (the end of the session saves without
// ending the program) and answers the error box it shows, if any.
std::optional<std::wstring> SaveReportingError(const PanelProcess& panel, HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 20000, &result);
    const auto box = WaitForMessageBox(panel.Pid(), 3s);
    if (!box) return std::nullopt;
    SaveScreenshotPng(CurrentTestName());
    AnswerMessageBox(panel.Pid(), box->window);
    return box->text;
}

using HostileDisk = PanelTest;

TEST_F(HostileDisk, ItemFileHeldOpenWithoutSharingFailsThenTheNextSaveSucceeds) {
    const ShortsFile file = BuildShortsFile(SomeItems(3));
    const std::wstring path = ItemsPath();
    ASSERT_TRUE(WriteFileBytes(path, file.bytes));
    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);

    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::optional<std::wstring> error = SaveReportingError(*panel_, window);
    CloseHandle(held);
    ASSERT_TRUE(error) << "no message for the failed save";
    EXPECT_NE(error->find(L"Cannot create file"), std::wstring::npos) << Narrow(*error);
    EXPECT_EQ(ReadWholeFile(path), file.bytes) << "the held file changed";
    EXPECT_FALSE(FileExists(path + L".saving")) << "the failed save left its temporary file";
    EXPECT_TRUE(panel_->Running());

    EXPECT_FALSE(SaveReportingError(*panel_, window)) << "the next save failed too";
    EXPECT_TRUE(HoldsItems(path, file));
}

TEST_F(HostileDisk, FullDiskKeepsTheOldListThenTheNextSaveSucceeds) {
    const std::wstring disk = EnvironmentValue(L"E2E_SMALL_DISK");
    if (disk.empty()) GTEST_SKIP() << "no small file system could be mounted on this machine";
    ScratchDir small(disk, L"full");
    const std::wstring path = small.File(L"shorts.dat"), filler = small.File(L"filler.bin");
    const ShortsFile file = BuildShortsFile(SomeItems(120));  // about 400 KB
    ASSERT_TRUE(WriteFileBytes(path, file.bytes));
    // Everything but 64 KB taken: the new list does not fit beside the old.
    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(small.Path().c_str(), &freeBytes, nullptr, nullptr));
    ASSERT_GT(freeBytes.QuadPart, 64u * 1024);
    ASSERT_TRUE(WriteFileBytes(filler, Bytes(static_cast<size_t>(freeBytes.QuadPart - 64 * 1024), 0x5A)));

    const HWND window = StartPanel({.expect = PanelState::Visible, .programFolder = small.Path()});
    ASSERT_NE(window, nullptr) << "the panel did not start from the small disk";
    const std::optional<std::wstring> error = SaveReportingError(*panel_, window);
    ASSERT_TRUE(error) << "no message for the save on a full disk";
    EXPECT_NE(error->find(L"Unable to write to"), std::wstring::npos) << Narrow(*error);
    EXPECT_EQ(ReadWholeFile(path), file.bytes) << "the old list changed on the full disk";
    EXPECT_FALSE(FileExists(path + L".saving")) << "the failed save left its temporary file";
    EXPECT_TRUE(panel_->Running());

    ASSERT_TRUE(DeleteFileW(filler.c_str()));
    EXPECT_FALSE(SaveReportingError(*panel_, window)) << "the save after space was freed failed";
    EXPECT_TRUE(HoldsItems(path, file));
}

TEST_F(HostileDisk, FolderThatTakesNoNewFileKeepsTheListAndTheProgramRuns) {
    const std::wstring folder = EnvironmentValue(L"E2E_IMMUTABLE_FOLDER");
    if (folder.empty()) GTEST_SKIP() << "no immutable folder could be made on this machine";
    const std::wstring path = JoinPath(folder, L"shorts.dat");
    const std::optional<Bytes> before = ReadWholeFile(path);
    ASSERT_TRUE(before);
    // The prepared folder: its program, its list, nothing to copy in.
    HWND window = StartPanel({.expect = PanelState::Visible, .programFolder = folder});
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto box = WaitForMessageBox(Pid(), 20s);
    EXPECT_TRUE(box) << "no message for the save into the folder";
    if (box) {
        EXPECT_NE(box->text.find(L"Cannot create file"), std::wstring::npos) << Narrow(box->text);
        SaveScreenshotPng(CurrentTestName());
        DismissMessageBox(box->window);
    }
    if (!panel_->WaitForExit(20s)) panel_->Kill();
    EXPECT_EQ(ReadWholeFile(path), before) << "the list in the folder changed";
}

// The last save fails (the file held open by another program); while its
// error shows, the session ends: the panel saves once more, and with the file
// free again that save keeps the list.
TEST_F(HostileDisk, SessionEndingWhileTheLastSaveFailsSavesOnceMore) {
    std::vector<ShortRecord> records = SomeItems(3);
    for (ShortRecord& r : records) r.buttonSlot = 0x5A5A5A5A;  // a save writes 0 there
    const ShortsFile file = BuildShortsFile(records);
    const std::wstring path = ItemsPath();
    ASSERT_TRUE(WriteFileBytes(path, file.bytes));
    const HWND window = StartPanel({.expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);

    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto box = WaitForMessageBox(Pid(), 20s);
    CloseHandle(held);
    ASSERT_TRUE(box) << "no message for the failed last save";
    EXPECT_EQ(ReadWholeFile(path), file.bytes) << "the held file changed";

    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 20000, &result);
    EXPECT_TRUE(HoldsItems(path, file)) << "the list was not kept";
    EXPECT_NE(ReadWholeFile(path), file.bytes) << "nothing was saved when the session ended";
    DismissMessageBox(box->window);
    if (!panel_->WaitForExit(20s)) panel_->Kill();
}

TEST_F(HostileDisk, ItemFileAtThePathLengthLimitIsSaved) {
    // Folders nested until the program's own path is 259 characters long:
    // its item file fits in MAX_PATH, its temporary file does not.
    std::wstring root = scratch_->Path();
    const std::wstring exeName = L"\\tilerack.exe";
    while (root.size() + exeName.size() < MAX_PATH - 1 - 60) {
        root += L"\\" + std::wstring(50, L'd');
        CreateDirectoryW(root.c_str(), nullptr);
    }
    const size_t last = MAX_PATH - 1 - exeName.size() - root.size() - 1;
    ScratchDir deep(root, std::wstring(last, L'e'));
    ASSERT_EQ(deep.ExePath().size(), static_cast<size_t>(MAX_PATH - 1));
    const ShortsFile file = BuildShortsFile(SomeItems(2));
    ASSERT_TRUE(WriteFileBytes(deep.File(L"shorts.dat"), file.bytes));
    const HWND window = StartPanel({.expect = PanelState::Visible, .programFolder = deep.Path()});
    ASSERT_NE(window, nullptr) << "the panel did not start from the long path";
    EXPECT_FALSE(SaveReportingError(*panel_, window)) << "the save at the length limit failed";
    EXPECT_TRUE(HoldsItems(deep.File(L"shorts.dat"), file));
}

}  // namespace
}  // namespace e2e
