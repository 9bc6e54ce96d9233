// On demand (scripts/run-hostile.sh, `make bench`): a long day of the real
// program. Slide cycles, menus and dialogs again and again; the objects its
// owners hold and its memory must come back to their level after warm-up.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "dialog_driver.h"
#include "platform/handles.h"

namespace e2e {
namespace {

int Scaled(int full) {
    // TILERACK_SOAK_PERCENT shortens the run for a quick look (100 = full).
    const int percent = _wtoi(EnvironmentValue(L"TILERACK_SOAK_PERCENT", L"100").c_str());
    return std::max(1, full * (percent > 0 ? percent : 100) / 100);
}

struct Level {
    long gdi = 0, user = 0;      // objects the program's owners hold
    DWORD systemGdi = 0, systemUser = 0;  // what the system reports, 0 under Wine
    SIZE_T workingSet = 0, privateBytes = 0;
};

Level Measure(const PanelProcess& panel, HWND window) {
    Level level;
    const UINT census = tilerack::win::HandleCensusMessage();
    DWORD_PTR value = 0;
    SendMessageTimeoutW(window, census, static_cast<WPARAM>(tilerack::win::HandleKind::Gdi), 0, SMTO_ABORTIFHUNG,
                        5000, &value);
    level.gdi = static_cast<long>(value);
    SendMessageTimeoutW(window, census, static_cast<WPARAM>(tilerack::win::HandleKind::User), 0, SMTO_ABORTIFHUNG,
                        5000, &value);
    level.user = static_cast<long>(value);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, panel.Pid());
    if (process) {
        level.systemGdi = GetGuiResources(process, GR_GDIOBJECTS);
        level.systemUser = GetGuiResources(process, GR_USEROBJECTS);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
            level.workingSet = memory.WorkingSetSize;
            // Wine leaves PrivateUsage at 0; the commit charge says the same.
            level.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        }
        CloseHandle(process);
    }
    return level;
}

void Print(const char* when, const Level& l) {
    std::printf("%-16s owned GDI %ld, owned USER %ld, system GDI %lu, system USER %lu, working set %.1f MB, "
                "private %.1f MB\n",
                when, l.gdi, l.user, static_cast<unsigned long>(l.systemGdi), static_cast<unsigned long>(l.systemUser),
                l.workingSet / 1048576.0, l.privateBytes / 1048576.0);
}

class OnDemandSoak : public PanelTest {
protected:
    bool SlideCycle() {
        MovePointerAway();
        if (!ReachesHidden(window_, Side::Left, 10s)) return false;
        MovePointer(0, 300);
        return ReachesShown(window_, Side::Left, 10s);
    }

    bool ContextMenu() {
        return OpenContextMenuAt(*panel_, window_, POINT{ClientWidthOf(window_) / 2, 700}) &&
               CloseMenuWithEscape(Pid());
    }

    bool ItemsMenu() { return OpenItemsMenu(*panel_, window_) && CloseMenuWithEscape(Pid()); }

    // Opens a dialog by its context-menu entry and closes it with `button`.
    bool Dialog(MainMenuEntry entry, const std::wstring& className, const std::wstring& button, int item = 0) {
        BringIn();
        const POINT at = item < 0 ? POINT{ClientWidthOf(window_) / 2, 700} : Centre(ItemButtonRect(window_, item));
        HWND dialog = OpenDialogFromPanel(*panel_, window_, at, entry, className);
        return dialog && PressButton(dialog, button) && WaitUntilGone(dialog);
    }

    bool Picker() {
        BringIn();
        HWND dialog = OpenDialogFromPanel(*panel_, window_, Centre(ItemButtonRect(window_, 0)),
                                          MainMenuEntry::Properties, L"TMainDialog");
        if (!dialog || !PressButton(dialog, L"Выбрать...")) return false;
        HWND picker = WaitForTopWindow(Pid(), L"TFormSelector");
        if (!picker) return false;
        PostMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!WaitUntilGone(picker)) return false;
        WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }, 5s);
        return PressButton(dialog, L"Отмена") && WaitUntilGone(dialog);
    }

    void BringIn() {
        if (PanelLeft(window_) == ShownLeft(Side::Left)) return;
        MovePointer(0, 300);
        ReachesShown(window_, Side::Left, 10s);
    }

    // One round: slide cycles, openings of each menu and of each dialog.
    void Round(int slides, int menus, int dialogs) {
        int failed[6] = {};
        for (int i = 0; i < slides; ++i) failed[0] += !SlideCycle();
        BringIn();
        for (int i = 0; i < menus; ++i) failed[1] += !ContextMenu();
        for (int i = 0; i < menus; ++i) failed[2] += !ItemsMenu();
        for (int i = 0; i < dialogs; ++i) {
            failed[3] += !Dialog(MainMenuEntry::Properties, L"TMainDialog", L"Отмена");
            failed[4] += !Dialog(MainMenuEntry::Settings, L"TFormTuning", L"Закрыть", -1);
            failed[5] += !Picker();
        }
        EXPECT_EQ(failed[0] + failed[1] + failed[2] + failed[3] + failed[4] + failed[5], 0)
            << "steps that did not complete: slides " << failed[0] << ", context menus " << failed[1]
            << ", items menus " << failed[2] << ", item dialogs " << failed[3] << ", settings dialogs " << failed[4]
            << ", pickers " << failed[5];
    }
};

TEST_F(OnDemandSoak, ObjectsAndMemoryComeBackToTheirLevelAfterALongDay) {
    std::vector<ShortRecord> items;
    for (int i = 0; i < 8; ++i)
        items.push_back({.fileName = "C:\\tool" + std::to_string(i) + ".exe", .caption = "Элемент " + std::to_string(i),
                         .hint = "Подсказка", .trackDrives = true, .image = Bmp24Image(static_cast<uint32_t>(i))});
    ASSERT_NE(StartPanel({.items = items, .settings = {"TimeOut=0"}}), nullptr);

    Print("start", Measure(*panel_, window_));
    Round(Scaled(50), Scaled(20), Scaled(5));
    BringIn();
    const Level warm = Measure(*panel_, window_);
    Print("after warm-up", warm);
    Round(Scaled(1000), Scaled(200), Scaled(100));
    BringIn();
    const Level end = Measure(*panel_, window_);
    Print("at the end", end);

    EXPECT_LE(end.gdi, warm.gdi) << "GDI objects held grew";
    EXPECT_LE(end.user, warm.user) << "USER objects held grew";
    if (warm.systemGdi > 0) {
        EXPECT_LE(end.systemGdi, warm.systemGdi + 2) << "the system counts more GDI objects";
    }
    if (warm.systemUser > 0) {
        EXPECT_LE(end.systemUser, warm.systemUser + 2) << "the system counts more USER objects";
    }
    EXPECT_LE(end.privateBytes, warm.privateBytes + 4 * 1048576) << "private memory grew by more than 4 MB";
    ASSERT_TRUE(panel_->Close());
}

}  // namespace
}  // namespace e2e
