// The item file is never lost at the start: a file another program holds
// comes in once it is let go and is never written over meanwhile, and a
// second start of the program brings the running panel out instead of
// running a second panel over the same file.
#include "e2e_harness.h"
#include "keyboard_driver.h"

namespace e2e {
namespace {

std::vector<ShortRecord> ThreeItems() {
    std::vector<ShortRecord> records;
    for (int i = 0; i < 3; ++i)
        records.push_back({.fileName = "C:\\tool" + std::to_string(i) + ".exe",
                           .caption = "Элемент " + std::to_string(i),
                           .image = Bmp24Image(static_cast<std::uint32_t>(i))});
    return records;
}

int PanelWindows() {
    int count = 0;
    EnumWindows(
        [](HWND w, LPARAM lp) {
            wchar_t name[32] = {};
            if (GetClassNameW(w, name, 32) && std::wstring(name) == L"TMainPanel") ++*reinterpret_cast<int*>(lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

using ItemsKeptAtStart = PanelTest;

TEST_F(ItemsKeptAtStart, AFileHeldAtTheStartComesInOnceLetGoAndKeepsItsItems) {
    const ShortsFile file = BuildShortsFile(ThreeItems());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), file.bytes));
    // Another program (a scanner, a sync tool) holds it open without sharing.
    HANDLE held = CreateFileW(ItemsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const HWND window = StartPanel({.expect = PanelState::Visible});
    Sleep(1500);  // the other program's hold
    CloseHandle(held);
    ASSERT_NE(window, nullptr);

    AccessibleReader reader(window);
    ASSERT_TRUE(reader.Object());
    EXPECT_TRUE(WaitUntil([&] { return reader.ChildCount() == 6; }, 15s))
        << "the items did not come in: " << reader.ChildCount() << " buttons";
    EXPECT_FALSE(FindMessageBox(Pid())) << "a hold shorter than the quiet tries was reported";
    ASSERT_TRUE(panel_->Close());
    EXPECT_TRUE(HoldsItems(ItemsPath(), file));
}

TEST_F(ItemsKeptAtStart, ASecondStartBringsTheRunningPanelOutAndEnds) {
    const ShortsFile file = BuildShortsFile(ThreeItems());
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), file.bytes));
    const HWND window = StartPanel({.expect = PanelState::Hidden});
    ASSERT_NE(window, nullptr);

    PanelProcess second(scratch_->ExePath(), scratch_->Path());
    EXPECT_TRUE(second.WaitForExit(30s)) << "the second start went on running";
    EXPECT_EQ(second.ExitCode(), std::optional<DWORD>(0));
    EXPECT_TRUE(ReachesShown(window, Side::Left, 10s)) << "the running panel did not come out";
    EXPECT_EQ(PanelWindows(), 1);
    EXPECT_TRUE(panel_->Running());
    ASSERT_TRUE(panel_->Close());
    EXPECT_TRUE(HoldsItems(ItemsPath(), file));
}

}  // namespace
}  // namespace e2e
