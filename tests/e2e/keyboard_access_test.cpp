// The panel without a mouse and with a screen reader: the hot key (pressed on
// the X server's own keyboard), the keys on the strip, the one message for a
// hot key another program holds, the settings file of a user who never set
// the key, and the accessible object as assistive technology reads it.
#include <windows.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "e2e_harness.h"
#include "keyboard_driver.h"
#include "panel/strip_accessible_win.h"
#include "platform/com_ptr.h"
#include "platform/text.h"

namespace e2e {
namespace {

constexpr UINT kHotKeyModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kHotKeyKey = VK_SPACE;

std::string RectText(const RECT& r) {
    char text[80];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

class KeyboardAccess : public KeyboardPanelTest {};


TEST_F(KeyboardAccess, HotKeyBringsThePanelOutWithTheFocusOnItsFirstItemAndEscHidesIt) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(3));
    const HWND window = window_;
    ASSERT_NE(holder_->Window(), nullptr);

    ASSERT_TRUE(PressHotKey());
    EXPECT_TRUE(WaitForFocusedChild(window, 1)) << "the keyboard focus is not on the first item";
    // It stays out while the keyboard uses it, though the pointer is far away
    // (five times the pointer watch's delay).
    EXPECT_TRUE(StaysAt(window, ShownLeft(Side::Left), 1500ms))
        << "the pointer watch hid the panel under the keyboard's focus";

    ASSERT_EQ(PressXKeys({"Escape"}), "ended");
    EXPECT_TRUE(ReachesHidden(window, Side::Left, 10s)) << "Esc did not hide the panel";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == holder_->Window(); }, 10s))
        << "the focus did not go back to the window that had it";
    EXPECT_FALSE(FindMessageBox(Pid()));
    EXPECT_TRUE(panel_->Close());
}

// The window that had the focus was disabled meanwhile (a program busy
// with a modal box of its own, say): Esc hides the panel and gives that
// window no focus it could not take.
TEST_F(KeyboardAccess, EscGivesNoFocusToAWindowDisabledMeanwhile) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(2));
    const HWND window = window_;
    ASSERT_TRUE(PressHotKey());
    EnableWindow(holder_->Window(), FALSE);

    ASSERT_EQ(PressXKeys({"Escape"}), "ended");
    EXPECT_TRUE(ReachesHidden(window, Side::Left, 10s)) << "Esc did not hide the panel";
    EXPECT_FALSE(WaitUntil([&] { return GetForegroundWindow() == holder_->Window(); }, 1500ms))
        << "the disabled window was made the foreground window";
    EnableWindow(holder_->Window(), TRUE);
    EXPECT_FALSE(FindMessageBox(Pid()));
    EXPECT_TRUE(panel_->Close());
}

TEST_F(KeyboardAccess, DownDownEnterStartsTheThirdItem) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(4));
    const HWND window = window_;
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window, 1));

    ASSERT_EQ(PressXKeys({"Down", "Down"}), "ended");
    ASSERT_TRUE(WaitForFocusedChild(window, 3)) << "Down, Down did not reach the third item";
    ASSERT_EQ(PressXKeys({"Return"}), "ended");
    std::vector<ProbeRecord> starts;
    ASSERT_TRUE(WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s))
        << "Enter started nothing";
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item-c");
    EXPECT_TRUE(SamePath(starts[0].folder, scratch_->Path())) << Narrow(starts[0].folder);
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message box after a successful start";
    EXPECT_TRUE(panel_->Close());
    EXPECT_EQ(ReadProbeRecords(scratch_->Path()).size(), 1u) << "the item started more than once";
}

TEST_F(KeyboardAccess, ShiftF10OpensTheContextMenuOfTheFocusedItem) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(3));
    const HWND window = window_;
    ASSERT_TRUE(PressHotKey());
    ASSERT_EQ(PressXKeys({"Down"}), "ended");
    ASSERT_TRUE(WaitForFocusedChild(window, 2));

    ASSERT_EQ(PressXKeys({"shift+F10"}), "ended");
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu(Pid())) != nullptr; }, 10s))
        << "Shift+F10 opened no menu";
    // "Поднять" acts on the focused item only when the item commands are enabled.
    ChooseMenuEntry(menu, static_cast<int>(MainMenuEntry::MoveUp));
    ASSERT_TRUE(WaitUntil([&] { return !FindPopupMenu(Pid()); }, 10s));
    ASSERT_TRUE(panel_->Close());
    const auto saved = ReadSavedItems(scratch_->File(L"shorts.dat"));
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].params, "item-b") << "the focused second item did not move up";
    EXPECT_EQ(saved[1].params, "item-a");
    EXPECT_EQ(saved[2].params, "item-c");
}

TEST_F(KeyboardAccess, FocusMovesAndANewOrderAreAnnouncedToAssistiveTechnology) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(3));
    const HWND window = window_;
    WinEventRecorder events(Pid());
    ASSERT_TRUE(events.Hooked());
    ASSERT_TRUE(PressHotKey());
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 1)) << "no focus event for the first item";
    ASSERT_EQ(PressXKeys({"Down"}), "ended");
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 2)) << "no focus event for the second item";

    // Once a reader has the object, a new order of the items is told too.
    AccessibleReader reader(window);
    ASSERT_TRUE(reader.Object());
    ASSERT_EQ(PressXKeys({"shift+F10"}), "ended");
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu(Pid())) != nullptr; }, 10s));
    ChooseMenuEntry(menu, static_cast<int>(MainMenuEntry::MoveUp));  // "Поднять"
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_REORDER, window, CHILDID_SELF)) << "no reorder event";
    EXPECT_EQ(Narrow(reader.Child(1).name), Narrow(L"Проба b")) << "the object does not follow the new order";
    EXPECT_TRUE(panel_->Close());
}

TEST_F(KeyboardAccess, AppsKeyOnTheLastItemAfterEndScrollsAndOpensItsMenu) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    // More items than the screen holds: End focuses the last, which the strip
    // scrolls into view.
    const int count = ScreenHeight() / 34 + 4;
    const int items = std::min(count, 26);
    ASSERT_TRUE(StartHiddenWithProbeItems(items));
    const HWND window = window_;
    {
        AccessibleReader reader(window);
        ASSERT_TRUE(reader.Object()) << Hex(static_cast<uint32_t>(reader.Result()));
        EXPECT_TRUE(reader.Child(items).state & STATE_SYSTEM_INVISIBLE);
    }
    ASSERT_TRUE(PressHotKey());
    ASSERT_EQ(PressXKeys({"End"}), "ended");
    ASSERT_TRUE(WaitForFocusedChild(window, items));
    {
        AccessibleReader reader(window);
        const AccessibleChild last = reader.Child(items);
        EXPECT_FALSE(last.state & STATE_SYSTEM_INVISIBLE) << "the focused last item is out of view";
        const RECT client = ClientRectOnScreen(window, ClientRect(window));
        EXPECT_GE(last.location.top, client.top) << RectText(last.location);
        EXPECT_LE(last.location.bottom, client.bottom) << RectText(last.location);
        EXPECT_TRUE(reader.Child(1).state & STATE_SYSTEM_INVISIBLE) << "the first item should have scrolled away";
    }
    ASSERT_EQ(PressXKeys({"Menu"}), "ended");
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindPopupMenu(Pid())) != nullptr; }, 10s))
        << "the context-menu key opened no menu";
    ChooseMenuEntry(menu, static_cast<int>(MainMenuEntry::MoveUp));  // "Поднять"
    ASSERT_TRUE(WaitUntil([&] { return !FindPopupMenu(Pid()); }, 10s));
    ASSERT_TRUE(panel_->Close());
    const auto saved = ReadSavedItems(scratch_->File(L"shorts.dat"));
    ASSERT_EQ(saved.size(), static_cast<size_t>(items));
    EXPECT_EQ(saved[items - 2].params, "item-" + std::string(1, static_cast<char>('a' + items - 1)));
}

TEST_F(KeyboardAccess, TakenHotKeyIsReportedOnceAndThePointerStillShowsThePanel) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x4B59, kHotKeyModifiers, kHotKeyKey))
        << "the test could not take the hot key itself";
    struct Release {
        ~Release() { UnregisterHotKey(nullptr, 0x4B59); }
    } release;
    HWND window = StartPanel({.items = RecordsOf(ProbeItems(2)), .expect = PanelState::Visible});
    ASSERT_NE(window, nullptr);
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(Pid())).has_value(); }, 10s))
        << "no message about the taken hot key";
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    EXPECT_EQ(Narrow(box->text),
              Narrow(L"Сочетание клавиш Ctrl+Alt+Shift+Пробел уже занято другой программой; панель работает без него."));
    DismissMessageBox(box->window);
    ASSERT_TRUE(WaitUntil([&] { return !FindMessageBox(Pid()); }, 5s));

    // The pointer away: it slides out; at the edge: it comes back.
    const POINT away = SpotAwayFromPanel();
    MoveWithInput(away.x, away.y);
    EXPECT_TRUE(ReachesHidden(window, Side::Left, 10s));
    MoveWithInput(0, ScreenHeight() / 2);
    EXPECT_TRUE(ReachesShown(window, Side::Left, 10s)) << "the pointer no longer brings the panel out";
    EXPECT_FALSE(FindMessageBox(Pid())) << "the message came a second time";
    EXPECT_TRUE(panel_->Close());
}

TEST_F(KeyboardAccess, SettingsOfAUserWhoNeverSetTheHotKeyStayAsTheyWere) {
    WriteSettings({"Side=0", "Width=70", "TimeOut=300", "Opacity=40", "Color=16048352", "OnTop=0"});
    const auto before = ReadWholeFile(IniPath());
    ASSERT_TRUE(before);
    ASSERT_NE(StartPanel({.width = 70}), nullptr);
    ASSERT_TRUE(panel_->Close());
    const auto after = ReadWholeFile(IniPath());
    ASSERT_TRUE(after);
    EXPECT_EQ(std::string(after->begin(), after->end()), std::string(before->begin(), before->end()));
    EXPECT_EQ(SavedSetting(L"HotKey"), L"<missing>");

    // A user who turned it off keeps it off.
    ASSERT_NE(StartPanel({.settings = {"Side=0", "Width=64", "HotKey=0"}}), nullptr);
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"HotKey"), L"0");
}

// Whether the process has loaded the library `name` (lower case).
bool HasLoaded(DWORD pid, const std::wstring& name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W module{};
    module.dwSize = sizeof(module);
    bool found = false;
    for (BOOL more = Module32FirstW(snapshot, &module); more && !found; more = Module32NextW(snapshot, &module)) {
        std::wstring seen = module.szModule;
        for (wchar_t& c : seen) c = static_cast<wchar_t>(towlower(c));
        found = seen == name;
    }
    CloseHandle(snapshot);
    return found;
}

TEST_F(KeyboardAccess, AccessibilityLibrariesLoadOnlyWhenTheObjectIsFirstAskedFor) {
    HWND window = StartPanel({.items = RecordsOf(ProbeItems(2))});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HasLoaded(Pid(), L"user32.dll")) << "the module list of the panel cannot be read";
    EXPECT_FALSE(HasLoaded(Pid(), L"oleacc.dll")) << "oleacc was loaded at start";
    AccessibleReader reader(window);
    ASSERT_TRUE(reader.Object());
    EXPECT_EQ(reader.ChildCount(), 5);
    EXPECT_TRUE(HasLoaded(Pid(), L"oleacc.dll"));
    EXPECT_TRUE(panel_->Close());
}

// The name the system's own accessible object of a control gives it.
std::wstring ControlName(HWND control) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring name;
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))) &&
        object) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (SUCCEEDED(object->get_accName(self, &text)) && text) name.assign(text, SysStringLen(text));
        if (text) SysFreeString(text);
        object->Release();
    }
    CoUninitialize();
    return name;
}

TEST_F(KeyboardAccess, SettingsDialogPicturesAndBarAreNamedForScreenReaders) {
    HWND window = StartPanel();
    ASSERT_NE(window, nullptr);
    const POINT spot = RestingSpotOverPanel(Side::Left);
    const POINT client = {spot.x - PanelLeft(window), spot.y - PanelTop(window)};
    HWND menu = OpenContextMenuAt(*panel_, window, client);
    ASSERT_NE(menu, nullptr);
    ChooseMenuEntry(menu, static_cast<int>(MainMenuEntry::Settings));  // "Настройки..."
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialog = FindWindowW(L"TFormTuning", nullptr);
            DWORD pid = 0;
            if (dialog) GetWindowThreadProcessId(dialog, &pid);
            return dialog && pid == Pid() && IsWindowVisible(dialog);
        },
        10s))
        << "no settings dialog";

    std::vector<HWND> controls;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    int checked = 0;
    HWND close = nullptr;
    for (HWND control : controls) {
        const std::wstring kind = WindowClass(control);
        if (kind == L"Button" && WindowText(control) == L"Закрыть") close = control;
        if (kind != L"TImage" && kind != L"msctls_trackbar32" && kind != L"Button") continue;
        ++checked;
        EXPECT_FALSE(ControlName(control).empty()) << Narrow(kind) << " has no name a screen reader can read";
    }
    EXPECT_EQ(checked, 9)
        << "the colour swatch, the preview, the bar, stay-on-top, opening dropped files, the two sides, About, Закрыть";
    ASSERT_NE(close, nullptr);
    PostMessageW(close, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10s));
    EXPECT_TRUE(panel_->Close());
}

TEST_F(KeyboardAccess, AccessibleObjectNamesEveryButtonOfTheStrip) {
    std::vector<Entry> entries = ProbeItems(3);
    entries[1].caption.clear();  // named by its file name instead
    HWND window = StartPanel({.items = RecordsOf(entries)});
    ASSERT_NE(window, nullptr);

    AccessibleReader reader(window);
    ASSERT_TRUE(reader.Object()) << "AccessibleObjectFromWindow: " << Hex(static_cast<uint32_t>(reader.Result()));
    ASSERT_EQ(reader.ChildCount(), 6) << "three items, then the hide, menu and close buttons";
    for (long id = 1; id <= 3; ++id) {
        const AccessibleChild child = reader.Child(id);
        SCOPED_TRACE("item " + std::to_string(id));
        const Entry& e = entries[static_cast<size_t>(id - 1)];
        EXPECT_EQ(Narrow(child.name), Narrow(e.caption.empty() ? e.fileName : e.caption));
        EXPECT_EQ(Narrow(child.description), Narrow(e.hint));
        EXPECT_EQ(child.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_FALSE(child.defaultAction.empty());
        EXPECT_TRUE(child.state & STATE_SYSTEM_FOCUSABLE);
        EXPECT_FALSE(child.state & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_FOCUSED)) << Hex(child.state);
        const RECT expected = ClientRectOnScreen(window, ItemButtonRect(window, static_cast<int>(id - 1)));
        EXPECT_TRUE(EqualRect(&child.location, &expected)) << RectText(child.location) << " not " << RectText(expected);
    }
    const std::pair<long, const wchar_t*> strip[] = {{4, L"Скрыть"}, {5, L"Меню"}, {6, L"Закрыть"}};
    const RECT places[] = {HideButtonRect(window, Side::Left), MenuButtonRect(window, Side::Left),
                           CloseButtonRect(window, Side::Left)};
    for (size_t i = 0; i < 3; ++i) {
        const AccessibleChild child = reader.Child(strip[i].first);
        EXPECT_EQ(Narrow(child.name), Narrow(strip[i].second));
        EXPECT_EQ(child.role, ROLE_SYSTEM_PUSHBUTTON);
        const RECT expected = ClientRectOnScreen(window, places[i]);
        EXPECT_TRUE(EqualRect(&child.location, &expected))
            << Narrow(strip[i].second) << " at " << RectText(child.location) << " not " << RectText(expected);
    }
    EXPECT_TRUE(reader.Child(4).state & STATE_SYSTEM_INVISIBLE) << "the hide button shows only near the pointer";
    EXPECT_FALSE(reader.Child(6).state & STATE_SYSTEM_INVISIBLE);

    // The default action of an item starts it as a click does.
    VARIANT third{};
    third.vt = VT_I4;
    third.lVal = 3;
    EXPECT_EQ(reader.Object()->accDoDefaultAction(third), S_OK);
    std::vector<ProbeRecord> starts;
    EXPECT_TRUE(WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s));
    if (!starts.empty()) {
        EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item-c");
    }

    // Slid out, every button is out of view.
    const POINT away = SpotAwayFromPanel();
    MoveWithInput(away.x, away.y);
    ASSERT_TRUE(ReachesHidden(window, Side::Left, 10s));
    for (long id = 1; id <= 6; ++id)
        EXPECT_TRUE(reader.Child(id).state & STATE_SYSTEM_INVISIBLE) << "child " << id << " while slid out";

    // After the panel has gone the object answers, but only that it is cut off.
    ASSERT_TRUE(panel_->Close());
    long count = 0;
    EXPECT_TRUE(FAILED(reader.Object()->get_accChildCount(&count)));
}

// The accessible object on its own, with a stand-in for the panel: what it
// answers while connected and after the panel has cut it off.
class StandInStrip : public tilerack::AccessibleStripHost {
public:
    HWND AccessibleWindow() const override { return GetDesktopWindow(); }
    std::wstring AccessibleName() const override { return L"Ярлыкс"; }
    long AccessibleChildCount() const override { return 2; }
    bool AccessibleChild(long id, tilerack::AccessibleButton& out) const override {
        if (id < 1 || id > 2) return false;
        out.name = id == 1 ? L"Первый" : L"Второй";
        out.description = L"подсказка";
        out.defaultAction = L"Нажать";
        out.screen = RECT{10, 20 + 34 * id, 60, 54 + 34 * id};
        out.state = STATE_SYSTEM_FOCUSABLE | (id == 2 ? STATE_SYSTEM_FOCUSED : 0);
        return true;
    }
    long AccessibleFocus() const override { return 2; }
    long AccessibleHitTest(POINT) const override { return 1; }
    bool AccessibleDoDefaultAction(long id) override {
        actions.push_back(id);
        return true;
    }
    bool AccessibleSelect(long) override { return false; }
    std::vector<long> actions;
};

TEST(AccessibleStrip, AnswersForItsChildrenUntilThePanelCutsItOff) {
    StandInStrip host;
    tilerack::win::ComPtr<tilerack::StripAccessible> object(new tilerack::StripAccessible(&host));
    VARIANT second{};
    second.vt = VT_I4;
    second.lVal = 2;
    VARIANT outside{};
    outside.vt = VT_I4;
    outside.lVal = 3;

    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    BSTR name = nullptr;
    ASSERT_EQ(object->get_accName(second, &name), S_OK);
    EXPECT_EQ(std::wstring(name, SysStringLen(name)), L"Второй");
    SysFreeString(name);
    EXPECT_EQ(object->get_accName(outside, &name), E_INVALIDARG);
    VARIANT role{};
    ASSERT_EQ(object->get_accRole(second, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, second), S_OK);
    EXPECT_EQ(std::vector<long>({left, top, width, height}), std::vector<long>({10, 88, 50, 34}));
    IDispatch* child = nullptr;
    EXPECT_EQ(object->get_accChild(second, &child), S_FALSE) << "the buttons are simple elements";
    VARIANT focus{};
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 2);
    EXPECT_EQ(object->accDoDefaultAction(second), S_OK);
    EXPECT_EQ(host.actions, std::vector<long>{2});

    object->Disconnect();
    EXPECT_EQ(object->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->get_accName(second, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->accLocation(&left, &top, &width, &height, second), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(second), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(host.actions.size(), 1u) << "an action after the panel went";
}

}  // namespace
}  // namespace e2e
