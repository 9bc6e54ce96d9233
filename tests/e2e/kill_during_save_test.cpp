// On demand (scripts/run-hostile.sh, `make bench`): the real program is killed
// at random moments of its save of a large list, again and again. After every
// kill the item file must be exactly the old list or exactly the new one, and
// the next start must read it without complaint and clear any leftover.
#include <cstdio>
#include <random>

#include "dialog_driver.h"

namespace e2e {
namespace {

int RunsWanted() {
    const std::wstring value = EnvironmentValue(L"TILERACK_KILL_RUNS", L"100");
    const int runs = _wtoi(value.c_str());
    return runs > 0 ? runs : 100;
}

std::vector<ShortRecord> LargeList(int count) {
    std::vector<ShortRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back({.params = "--item " + std::to_string(i),
                           .fileName = "C:\\Programs\\tool" + std::to_string(i) + ".exe",
                           .caption = "Элемент " + std::to_string(i),
                           .workDir = "C:\\Programs\\",
                           .hint = "Подсказка " + std::to_string(i) + "\r\nвторая строка",
                           .trackDrives = (i % 2) == 0,
                           .buttonSlot = static_cast<std::uint32_t>(i),
                           .image = Bmp24Image(static_cast<std::uint32_t>(i))});
    }
    return records;
}

// The file's identity on its volume: a move over it gives the name a new file.
std::uint64_t FileIdentity(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

struct Tally {
    int runs = 0, byDialog = 0, beforeWrite = 0, duringWrite = 0, afterMove = 0, exited = 0;
    int oldList = 0, newList = 0, other = 0, startComplaints = 0, leftoversKept = 0;
};

using OnDemandKillDuringSave = PanelTest;

TEST_F(OnDemandKillDuringSave, EveryKillLeavesExactlyTheOldOrTheNewListAndTheNextStartReadsIt) {
    const std::wstring path = ItemsPath(), temp = path + L".saving";
    const ShortsFile original = BuildShortsFile(LargeList(1000));
    ASSERT_TRUE(WriteFileBytes(path, original.bytes));
    // Each run starts as soon as its window shows, the list already written.
    const PanelStart quickStart{.expect = PanelState::Visible, .windowTimeout = 60s};
    std::printf("list: 1000 items, %zu bytes\n", original.bytes.size());

    // When the save writes its temporary file and moves it, counted from the
    // close request, to aim most kills at it.
    DWORD writeStarts = 0, moveDone = 0;
    {
        HWND window = StartPanel(quickStart);
        ASSERT_NE(window, nullptr);
        const DWORD start = GetTickCount();
        PostMessageW(window, WM_CLOSE, 0, 0);
        while (!FileExists(temp) && GetTickCount() - start < 30000) Sleep(1);
        writeStarts = GetTickCount() - start;
        while (FileExists(temp) && GetTickCount() - start < 30000) Sleep(1);
        moveDone = GetTickCount() - start;
        ASSERT_TRUE(panel_->WaitForExit(60s));
    }
    std::printf("the save writes from %lu ms to %lu ms after the close request\n",
                static_cast<unsigned long>(writeStarts), static_cast<unsigned long>(moveDone));
    std::mt19937 random(20261208);
    // A quarter of the kills fall anywhere in the close; the others come once
    // the temporary file has appeared, within the time the write and the move
    // took (the close's first steps take a varying time before the save).
    std::uniform_int_distribution<DWORD> anyTime(0, moveDone + 100);
    std::uniform_int_distribution<DWORD> intoSave(0, moveDone - writeStarts + 3);

    Tally tally;
    const int runs = RunsWanted();
    for (int run = 0; run < runs; ++run) {
        const Bytes before = *ReadWholeFile(path);
        const std::uint64_t identityBefore = FileIdentity(path);
        HWND window = StartPanel(quickStart);
        ASSERT_NE(window, nullptr) << "run " << run << ": the panel did not start";
        // The file the last kill left must read without a word.
        if (const auto box = WaitForMessageBox(Pid(), 300ms)) {
            ++tally.startComplaints;
            DismissMessageBox(box->window);
        }
        if (FileExists(temp)) ++tally.leftoversKept;

        // Every fifth save is the item dialog's "Сохранить", the others the
        // save at the close.
        const bool byDialog = run % 5 == 2;
        const bool anywhere = !byDialog && run % 4 == 0;
        const DWORD wait = anywhere ? anyTime(random) : intoSave(random);
        if (byDialog) {
            ++tally.byDialog;
            // It may have slid out since its start, with the pointer away.
            ASSERT_TRUE(BringIn(window));
            HWND dialog = OpenDialogFromPanel(*panel_, window, Centre(ItemButtonRect(window, 0)),
                                              MainMenuEntry::Properties, L"TMainDialog");
            ASSERT_NE(dialog, nullptr) << "run " << run << ": no item dialog";
            PressButton(dialog, L"Сохранить");
        } else {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (!anywhere) {
            const DWORD start = GetTickCount();
            while (!FileExists(temp) && !panel_->WaitForExit(0ms) && GetTickCount() - start < 30000) {
            }
        }
        Sleep(wait);
        if (panel_->WaitForExit(0ms)) ++tally.exited;
        panel_->Kill();
        ++tally.runs;

        const bool leftover = FileExists(temp);
        const Bytes after = *ReadWholeFile(path);
        const ShortsReading load = ReadShortsFile(after);
        const bool complete = !load.Damaged() && load.records.size() == 1000;
        const bool replaced = FileIdentity(path) != identityBefore;
        if (!replaced && after == before) {
            ++tally.oldList;
            leftover ? ++tally.duringWrite : ++tally.beforeWrite;
        } else if (replaced && complete && SameApartFromSlots(after, original) && !leftover) {
            ++tally.newList;
            ++tally.afterMove;
        } else {
            ++tally.other;
            ADD_FAILURE() << "run " << run << " after " << wait << " ms: neither list (" << load.records.size()
                          << " items, " << load.error << (replaced ? ", replaced" : "") << ")";
        }
    }
    std::printf("kills: %d runs (%d saving by the item dialog), before the write %d, during the write %d, "
                "after the move %d, ended by itself first %d\n",
                tally.runs, tally.byDialog, tally.beforeWrite, tally.duringWrite, tally.afterMove, tally.exited);
    std::printf("results: old list %d, new list %d, other %d; complaints at the next start %d, "
                "leftovers kept past a start %d\n",
                tally.oldList, tally.newList, tally.other, tally.startComplaints, tally.leftoversKept);
    EXPECT_EQ(tally.other, 0);
    EXPECT_EQ(tally.startComplaints, 0);
    EXPECT_EQ(tally.leftoversKept, 0);
    EXPECT_GT(tally.duringWrite, 0) << "no kill hit the write: the delays miss the save";
    EXPECT_GT(tally.newList, 0) << "no save completed: the delays are too short";
}

}  // namespace
}  // namespace e2e
