// The panel in English: with Language=en its context menu, the settings
// dialog, a message box and the accessible names read English; the
// languages' submenu switches at once and keeps the choice.
#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "menu_reader.h"
#include "platform/text.h"

namespace e2e {
namespace {

using Entry = MainMenuEntry;
using tilerack::win::Narrow;
constexpr auto kLanguageEntry = static_cast<size_t>(Entry::Language);
constexpr auto kExitEntry = static_cast<size_t>(Entry::Exit);

// The context menu's entries in keyboard order; the languages' submenu reads
// alike in both (its arrow is ink too, so it is not measured).
const std::vector<std::wstring> kRussianEntries = {
    L"Создать иконку...", L"Добавить разделитель", L"Поднять", L"Опустить", L"Удалить", L"Размещение",
    L"Свойства...", L"Настройки...", L"", L"Выход", L"Запуск от имени администратора",
    L"Открыть файл в этой программе..."};
const std::vector<std::wstring> kEnglishEntries = {
    L"New icon...", L"Add separator", L"Move up", L"Move down", L"Delete", L"Show in folder", L"Properties...",
    L"Settings...", L"", L"Exit", L"Run as administrator", L"Open a file with this program..."};

// The menus `pid` shows: the context menu and its open submenus.
int VisibleMenus(DWORD pid) {
    struct Count {
        DWORD pid;
        int menus;
    } count{pid, 0};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& c = *reinterpret_cast<Count*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t name[16]{};
            GetClassNameW(w, name, 16);
            if (owner == c.pid && IsWindowVisible(w) && std::wcscmp(name, L"#32768") == 0) ++c.menus;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.menus;
}

class Languages : public PanelTest {
protected:
    HWND Start(std::vector<std::string> settings) {
        StartPanel({.items = std::vector<ShortRecord>{{.fileName = "C:\\x.exe", .caption = "Первый",
                                                             .image = FramedIconBmp(RGB(255, 0, 255), RGB(40, 200, 90))}},
                    .settings = std::move(settings)});
        MoveTrayWindowAway();
        return window_;
    }
    HWND OpenMenu() { return OpenContextMenuAt(*panel_, window_, Centre(ItemButtonRect(window_, 0))); }

    // Each entry's ink is as wide as its text in `entries` drawn in the menu font.
    static ::testing::AssertionResult MenuReads(HWND menu, const std::vector<std::wstring>& entries) {
        const std::vector<MenuLine> lines = ReadMenuLines(menu);
        if (lines.size() != entries.size()) return ::testing::AssertionFailure() << lines.size() << " entries";
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i == kLanguageEntry) continue;
            const int expected = MenuTextWidth(entries[i], i == kExitEntry);
            if (std::abs(lines[i].darkWidth - expected) > 1)
                return ::testing::AssertionFailure() << "entry " << i << " is " << lines[i].darkWidth
                                                     << " px wide, its text " << expected << " px";
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(Languages, WithTheKeyEnglishTheMenuDialogMessageAndAccessibleNamesAreEnglish) {
    ASSERT_NE(Start({"Language=en"}), nullptr);
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuReads(menu, kEnglishEntries));
    ASSERT_TRUE(ChooseFromMenu(*panel_, menu, Entry::Delete));
    const auto box = WaitForMessageBox(Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Delete");
    EXPECT_EQ(box->text.rfind(L"Do you really want to\ndelete the shortcut ", 0), 0u) << Narrow(box->text);
    ASSERT_TRUE(AnswerMessageBox(Pid(), box->window, IDNO));

    HWND dialog = OpenDialogFromPanel(*panel_, window_, POINT{20, 400}, Entry::Settings, L"TFormTuning");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog), L"Settings");
    EXPECT_NE(FindChild(dialog, L"Button", L"Always on top"), nullptr);
    EXPECT_NE(FindChild(dialog, L"Static", L"Panel colour:"), nullptr);
    ASSERT_TRUE(PressButton(dialog, L"Close"));

    AccessibleReader reader(window_);
    ASSERT_TRUE(reader.Object());
    std::vector<std::wstring> names;
    for (long id = 1; id <= reader.ChildCount(); ++id) names.push_back(reader.Child(id).name);
    EXPECT_NE(std::find(names.begin(), names.end(), L"Menu"), names.end()) << "the menu button's name";
    EXPECT_EQ(reader.Child(1).defaultAction, L"Press");
}

TEST_F(Languages, ChosenFromTheMenuTheNextMenuSpeaksItAndTheKeyIsWritten) {
    ASSERT_NE(Start({}), nullptr);
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuReads(menu, kRussianEntries));
    // Enter on the submenu opens it at its first entry, "Русский"; "English" is next.
    ChooseMenuEntry(menu, static_cast<int>(kLanguageEntry));
    ASSERT_TRUE(WaitUntil([&] { return VisibleMenus(Pid()) == 2; }, 5s)) << "the languages' submenu did not open";
    PostKeyToMenu(menu, VK_DOWN);
    PostKeyToMenu(menu, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(Pid()) == nullptr; }, 5s)) << "the menu stayed open";
    EXPECT_TRUE(WaitUntil([] { return SavedSetting(L"Language") == L"en"; }, 5s)) << Narrow(SavedSetting(L"Language"));

    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(MenuReads(menu, kEnglishEntries));
    ASSERT_TRUE(CloseMenuWithEscape(Pid()));
}

}  // namespace
}  // namespace e2e
