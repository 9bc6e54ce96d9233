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
#include "items/shortcut_file.h"
#include "panel/strip_accessible_win.h"
#include "platform/text.h"

namespace e2e {
namespace {

constexpr UINT kHotKeyModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kHotKeyKey = VK_SPACE;
const char* const kHotKeyChord = "ctrl+alt+shift+space";

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

// Runs one of the X helper scripts (tests/e2e/x11) and returns its answer
// line: "ended" or "error ...".
std::string RunXHelper(const wchar_t* script, const std::wstring& arguments) {
    const std::wstring folder = EnvironmentValue(L"X11_HELPERS");
    if (folder.empty()) return "error X11_HELPERS is not set (run the tests through run-e2e.sh)";
    static int serial = 0;
    const std::wstring answer = JoinPath(GetConfig().scratchRoot,
                                         std::wstring(script) + L"-keys-" + std::to_wstring(++serial));
    DeleteFileW(answer.c_str());
    std::wstring commandLine = L"Z:\\bin\\sh \"" + folder + L"/" + script + L"\" " + arguments + L" \"" +
                               Wide(UnixPath(answer)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return "error cannot start " + Narrow(commandLine);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    std::optional<Bytes> bytes;
    if (!WaitUntil([&] { return (bytes = ReadWholeFile(answer)) && !bytes->empty() && bytes->back() == '\n'; }, 20s))
        return "error no answer from " + Narrow(commandLine);
    return std::string(bytes->begin(), bytes->end() - 1);
}

// Presses each key or chord in turn on the X server's keyboard.
std::string PressXKeys(const std::vector<std::string>& keys) {
    std::wstring arguments;
    for (const std::string& key : keys) arguments += (arguments.empty() ? L"" : L" ") + Wide(key);
    return RunXHelper(L"key_press.sh", arguments);
}

// A plain window of the test program's own, on a thread of its own with its
// message loop, holding the keyboard focus as the user's current program
// would: Wine reads the X server's keys (hot keys included) only while one
// of its windows has the X input focus.
// Keys pressed at the X server go to the window that has the X input focus.
// On a bare X server nothing moves that focus to the panel when it becomes
// the foreground window (a desktop's window manager does), so the keys after
// the hot key would never reach it: those scenarios run under a manager.
constexpr const char* kKeysNeedAWindowManager =
    "keys pressed at the X server follow the focus only under a window manager";

class FocusHolder {
public:
    FocusHolder() {
        thread_ = std::thread([this] { Run(); });
        WaitUntil([this] { return window_.load() != nullptr; }, 10s);
    }
    ~FocusHolder() {
        if (HWND w = window_.load()) PostMessageW(w, WM_CLOSE, 0, 0);
        if (threadId_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_.load(); }

    // Clicks it with the X pointer (the window manager gives it the X
    // focus) and waits until it is the foreground window.
    ::testing::AssertionResult TakeFocus() {
        const HWND w = Window();
        if (!w) return ::testing::AssertionFailure() << "no focus holder window";
        const POINT centre = Centre(WindowRect(w));
        const std::string clicked = RunXHelper(L"pointer_click.sh", std::to_wstring(centre.x) + L" " +
                                                                       std::to_wstring(centre.y));
        if (clicked != "ended") return ::testing::AssertionFailure() << clicked;
        PostMessageW(w, kActivateMessage, 0, 0);
        if (!WaitUntil([&] { return GetForegroundWindow() == w; }, 10s))
            return ::testing::AssertionFailure() << "the focus holder never became the foreground window";
        return ::testing::AssertionSuccess();
    }

private:
    static constexpr UINT kActivateMessage = WM_APP + 7;
    static LRESULT CALLBACK Procedure(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == kActivateMessage) {
            SetForegroundWindow(w);
            SetFocus(w);
            return 0;
        }
        if (msg == WM_CLOSE) {
            DestroyWindow(w);
            return 0;
        }
        return DefWindowProcW(w, msg, wp, lp);
    }
    void Run() {
        threadId_ = GetCurrentThreadId();
        WNDCLASSW wc{};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KeyboardTestFocusHolder";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        // In the middle of the screen, away from both edges and the panel.
        HWND w = CreateWindowExW(0, wc.lpszClassName, L"Другая программа", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 ScreenWidth() / 2 - 150, ScreenHeight() / 2 - 200, 300, 160, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        window_.store(w);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (IsWindow(w)) DestroyWindow(w);
    }

    std::atomic<HWND> window_{nullptr};
    DWORD threadId_ = 0;
    std::thread thread_;
};

// The accessibility events of one process, as a screen reader hears them:
// an out-of-context hook on a thread of its own with its message loop.
class WinEventRecorder {
public:
    struct Event {
        DWORD event;
        HWND window;
        LONG object;
        LONG child;
    };
    explicit WinEventRecorder(DWORD pid) {
        thread_ = std::thread([this, pid] { Run(pid); });
        WaitUntil([this] { return ready_.load(); }, 10s);
    }
    ~WinEventRecorder() {
        if (threadId_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    bool Hooked() const { return hooked_.load(); }
    // Waits until an event of this kind for `child` of the panel's client area has come.
    bool WaitFor(DWORD event, HWND window, LONG child) const {
        return WaitUntil(
            [&] {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const Event& e : events_)
                    if (e.event == event && e.window == window && e.object == OBJID_CLIENT && e.child == child)
                        return true;
                return false;
            },
            10s);
    }

private:
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
        if (!current_) return;
        std::lock_guard<std::mutex> lock(current_->mutex_);
        current_->events_.push_back({event, window, object, child});
    }
    void Run(DWORD pid) {
        threadId_ = GetCurrentThreadId();
        current_ = this;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for the quit message
        HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, nullptr, Hook, pid, 0,
                                             WINEVENT_OUTOFCONTEXT);
        hooked_.store(hook != nullptr);
        ready_.store(true);
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        if (hook) UnhookWinEvent(hook);
        current_ = nullptr;
    }

    static inline WinEventRecorder* current_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Event> events_;
    std::atomic<bool> ready_{false};
    std::atomic<bool> hooked_{false};
    DWORD threadId_ = 0;
    std::thread thread_;
};

// The panel's accessible object read as a screen reader reads it.
struct AccessibleChild {
    std::wstring name;
    std::wstring description;
    std::wstring defaultAction;
    long role = 0;
    long state = 0;
    RECT location{};
};

class AccessibleReader {
public:
    explicit AccessibleReader(HWND panel) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        result_ = AccessibleObjectFromWindow(panel, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object_));
    }
    ~AccessibleReader() {
        if (object_) object_->Release();
        CoUninitialize();
    }
    HRESULT Result() const { return result_; }
    IAccessible* Object() const { return object_; }

    long ChildCount() const {
        long count = -1;
        object_->get_accChildCount(&count);
        return count;
    }
    AccessibleChild Child(long id) const {
        AccessibleChild child;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = id;
        child.name = Text(&IAccessible::get_accName, self);
        child.description = Text(&IAccessible::get_accDescription, self);
        child.defaultAction = Text(&IAccessible::get_accDefaultAction, self);
        VARIANT v{};
        if (SUCCEEDED(object_->get_accRole(self, &v)) && v.vt == VT_I4) child.role = v.lVal;
        VariantClear(&v);
        if (SUCCEEDED(object_->get_accState(self, &v)) && v.vt == VT_I4) child.state = v.lVal;
        VariantClear(&v);
        long left = 0, top = 0, width = 0, height = 0;
        if (SUCCEEDED(object_->accLocation(&left, &top, &width, &height, self)))
            child.location = RECT{left, top, left + width, top + height};
        return child;
    }
    // The child with the keyboard focus: 0 the panel itself, -1 none.
    long Focus() const {
        VARIANT v{};
        if (object_->get_accFocus(&v) != S_OK || v.vt != VT_I4) {
            VariantClear(&v);
            return -1;
        }
        return v.lVal;
    }

private:
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), VARIANT child) const {
        BSTR text = nullptr;
        std::wstring out;
        if (SUCCEEDED((object_->*get)(child, &text)) && text) out.assign(text, SysStringLen(text));
        if (text) SysFreeString(text);
        return out;
    }

    IAccessible* object_ = nullptr;
    HRESULT result_ = E_FAIL;
};

std::string RectText(const RECT& r) {
    char text[80];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

class KeyboardAccess : public PanelTest {
protected:
    struct Entry {
        std::wstring fileName;
        std::string params;
        std::wstring caption;
        std::wstring hint;
    };
    // Writes the item file with the program's own writer.
    void WriteItems(const std::vector<Entry>& entries) {
        std::vector<std::unique_ptr<tilerack::TShortCut>> items;
        std::vector<const tilerack::TShortCut*> list;
        int shade = 40;
        for (const Entry& e : entries) {
            auto item = std::make_unique<tilerack::TShortCut>();
            item->FileName = tilerack::win::Narrow(e.fileName);
            item->Params = e.params;
            item->Caption = tilerack::win::Narrow(e.caption);
            item->Hint = tilerack::win::Narrow(e.hint);
            item->WorkDir = tilerack::win::Narrow(scratch_->Path());
            item->Icon = tilerack::TBitmap(32, 32);
            item->Icon.Fill(tilerack::Rgb(static_cast<uint8_t>(shade), 90, 200));
            shade = (shade + 37) % 256;
            list.push_back(item.get());
            items.push_back(std::move(item));
        }
        Bytes bytes;
        tilerack::WriteShortcutList(list, [&](const uint8_t* data, size_t size) { bytes.insert(bytes.end(), data, data + size); });
        ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"), bytes));
    }

    // Probe items "a", "b", "c", ... started with their letter as argument.
    std::vector<Entry> ProbeItems(int count) {
        const std::wstring probe = scratch_->AddProbe();
        std::vector<Entry> entries;
        for (int i = 0; i < count; ++i) {
            const std::string letter(1, static_cast<char>('a' + i));
            entries.push_back({probe, "item-" + letter, L"Проба " + Wide(letter), L"Подсказка " + Wide(letter)});
        }
        return entries;
    }

    // Starts the panel with an item file and waits until it has slid out
    // (the pointer rests away from it).
    HWND StartHidden(PanelProcess& panel) {
        const POINT away = SpotAwayFromPanel();
        MovePointer(away.x, away.y);
        HWND window = panel.WaitForWindow();
        if (!window) {
            ADD_FAILURE() << "no visible panel window";
            return nullptr;
        }
        if (const auto hidden = ReachesLeft(window, HiddenLeft(0), 10s); !hidden) {
            ADD_FAILURE() << "the panel did not slide out: " << hidden.message();
            return nullptr;
        }
        return window;
    }

    // For the scenarios that press keys: the panel started with `items`
    // probe items and slid out (panel_, window_), and a window of this
    // program to hold the keyboard focus (holder_); false, with a failure
    // recorded, when the panel does not get there.
    bool StartHiddenWithProbeItems(int items) {
        WriteItems(ProbeItems(items));
        panel_ = std::make_unique<PanelProcess>(*scratch_);
        window_ = StartHidden(*panel_);
        holder_ = std::make_unique<FocusHolder>();
        return window_ != nullptr;
    }
    ::testing::AssertionResult PressHotKey() { return PressHotKey(*holder_, window_); }

    std::unique_ptr<FocusHolder> holder_;

    // The hot key pressed while `holder` has the focus; success once the
    // panel stands at its shown place as the foreground window.
    ::testing::AssertionResult PressHotKey(FocusHolder& holder, HWND panel) {
        if (auto focused = holder.TakeFocus(); !focused) return focused;
        const std::string pressed = PressXKeys({kHotKeyChord});
        if (pressed != "ended") return ::testing::AssertionFailure() << pressed;
        if (auto shown = ReachesLeft(panel, ShownLeft(0), 10s); !shown)
            return ::testing::AssertionFailure() << "the hot key did not bring the panel out: " << shown.message();
        if (!WaitUntil([&] { return GetForegroundWindow() == panel; }, 5s))
            return ::testing::AssertionFailure() << "the panel is not the foreground window after the hot key";
        return ::testing::AssertionSuccess();
    }

    // Waits until the accessible object reports child `id` as focused.
    static bool WaitForFocusedChild(HWND panel, long id) {
        return WaitUntil(
            [&] {
                AccessibleReader reader(panel);
                return reader.Object() && reader.Focus() == id &&
                       (reader.Child(id).state & STATE_SYSTEM_FOCUSED) != 0;
            },
            10s);
    }
};

TEST_F(KeyboardAccess, HotKeyBringsThePanelOutWithTheFocusOnItsFirstItemAndEscHidesIt) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(3));
    const HWND window = window_;
    ASSERT_NE(holder_->Window(), nullptr);

    ASSERT_TRUE(PressHotKey());
    EXPECT_TRUE(WaitForFocusedChild(window, 1)) << "the keyboard focus is not on the first item";
    // It stays out while the keyboard uses it, though the pointer is far away
    // (five times the pointer watch's delay).
    EXPECT_FALSE(WaitUntil([&] { return PanelLeft(window) != ShownLeft(0); }, 1500ms))
        << "the pointer watch hid the panel under the keyboard's focus";

    ASSERT_EQ(PressXKeys({"Escape"}), "ended");
    EXPECT_TRUE(ReachesLeft(window, HiddenLeft(0), 10s)) << "Esc did not hide the panel";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == holder_->Window(); }, 10s))
        << "the focus did not go back to the window that had it";
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
    ChooseMenuEntry(menu, 1);
    ASSERT_TRUE(WaitUntil([&] { return !FindPopupMenu(Pid()); }, 10s));
    ASSERT_TRUE(panel_->Close());
    const auto saved = ReadSavedItems(scratch_->File(L"shorts.dat"));
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0]->Params, "item-b") << "the focused second item did not move up";
    EXPECT_EQ(saved[1]->Params, "item-a");
    EXPECT_EQ(saved[2]->Params, "item-c");
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
    ChooseMenuEntry(menu, 1);  // "Поднять"
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_REORDER, window, CHILDID_SELF)) << "no reorder event";
    EXPECT_EQ(Narrow(reader.Child(1).name), Narrow(L"Проба b")) << "the object does not follow the new order";
    EXPECT_TRUE(panel_->Close());
}

TEST_F(KeyboardAccess, CtrlArrowsMoveTheFocusedItemWhichKeepsTheFocusAndTheFileSaysSo) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    ASSERT_TRUE(StartHiddenWithProbeItems(4));
    const HWND window = window_;
    WinEventRecorder events(Pid());
    ASSERT_TRUE(events.Hooked());
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window, 1));
    AccessibleReader reader(window);  // a reader that has the object hears of new orders
    ASSERT_TRUE(reader.Object());

    ASSERT_EQ(PressXKeys({"ctrl+Down"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window, 2)) << "the focus did not go with the moved item";
    EXPECT_EQ(Narrow(reader.Child(2).name), Narrow(L"Проба a"));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_REORDER, window, CHILDID_SELF)) << "no reorder event";
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, window, 2)) << "no focus event at the item's new place";

    ASSERT_EQ(PressXKeys({"ctrl+End"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window, 4));
    ASSERT_EQ(PressXKeys({"Up", "ctrl+Home"}), "ended");  // the focus to "d", then "d" to the top
    EXPECT_TRUE(WaitForFocusedChild(window, 1));
    EXPECT_EQ(Narrow(reader.Child(1).name), Narrow(L"Проба d"));
    ASSERT_TRUE(panel_->Close());
    std::string order;
    for (const auto& item : ReadSavedItems(scratch_->File(L"shorts.dat"))) order += item->Params.back();
    EXPECT_EQ(order, "dbca");
}

TEST_F(KeyboardAccess, TypingTheFirstLettersOfACaptionFocusesItsItem) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    std::vector<Entry> entries = ProbeItems(4);
    const wchar_t* captions[] = {L"Mail", L"Notes", L"Nova", L""};
    for (size_t i = 0; i < 4; ++i) entries[i].caption = captions[i];  // the last found by its file name
    WriteItems(entries);
    panel_ = std::make_unique<PanelProcess>(*scratch_);
    window_ = StartHidden(*panel_);
    ASSERT_NE(window_, nullptr);
    holder_ = std::make_unique<FocusHolder>();
    ASSERT_TRUE(PressHotKey());
    ASSERT_TRUE(WaitForFocusedChild(window_, 1));

    ASSERT_EQ(PressXKeys({"n", "o", "v"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window_, 3)) << "\"nov\" did not reach Nova";
    Sleep(1200);  // a pause longer than a second: the next letter starts a new prefix
    ASSERT_EQ(PressXKeys({"p", "r"}), "ended");
    EXPECT_TRUE(WaitForFocusedChild(window_, 4)) << "\"pr\" did not reach probe.exe";
    ASSERT_EQ(PressXKeys({"Return"}), "ended");
    std::vector<ProbeRecord> starts;
    ASSERT_TRUE(WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s));
    EXPECT_EQ(Narrow(ArgumentsOf(starts[0].commandLine)), "item-d");
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
    ChooseMenuEntry(menu, 1);  // "Поднять"
    ASSERT_TRUE(WaitUntil([&] { return !FindPopupMenu(Pid()); }, 10s));
    ASSERT_TRUE(panel_->Close());
    const auto saved = ReadSavedItems(scratch_->File(L"shorts.dat"));
    ASSERT_EQ(saved.size(), static_cast<size_t>(items));
    EXPECT_EQ(saved[items - 2]->Params, "item-" + std::string(1, static_cast<char>('a' + items - 1)));
}

TEST_F(KeyboardAccess, TakenHotKeyIsReportedOnceAndThePointerStillShowsThePanel) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x4B59, kHotKeyModifiers, kHotKeyKey))
        << "the test could not take the hot key itself";
    struct Release {
        ~Release() { UnregisterHotKey(nullptr, 0x4B59); }
    } release;
    WriteItems(ProbeItems(2));
    PanelProcess panel(*scratch_);
    HWND window = panel.WaitForWindow();
    ASSERT_NE(window, nullptr);
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(panel.Pid())).has_value(); }, 10s))
        << "no message about the taken hot key";
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    EXPECT_EQ(Narrow(box->text),
              Narrow(L"Сочетание клавиш Ctrl+Alt+Shift+Пробел уже занято другой программой; панель работает без него."));
    DismissMessageBox(box->window);
    ASSERT_TRUE(WaitUntil([&] { return !FindMessageBox(panel.Pid()); }, 5s));

    // The pointer away: it slides out; at the edge: it comes back.
    const POINT away = SpotAwayFromPanel();
    MoveWithInput(away.x, away.y);
    EXPECT_TRUE(ReachesLeft(window, HiddenLeft(0), 10s));
    MoveWithInput(0, ScreenHeight() / 2);
    EXPECT_TRUE(ReachesLeft(window, ShownLeft(0), 10s)) << "the pointer no longer brings the panel out";
    EXPECT_FALSE(FindMessageBox(panel.Pid())) << "the message came a second time";
    EXPECT_TRUE(panel.Close());
}

TEST_F(KeyboardAccess, SettingsOfAUserWhoNeverSetTheHotKeyStayAsTheyWere) {
    WriteSettings({"Side=0", "Width=70", "TimeOut=300", "Opacity=40", "Color=16048352", "OnTop=0"});
    const auto before = ReadWholeFile(IniPath());
    ASSERT_TRUE(before);
    {
        PanelProcess panel(*scratch_);
        ASSERT_NE(StartShown(panel, 0, 70), nullptr);
        ASSERT_TRUE(panel.Close());
    }
    const auto after = ReadWholeFile(IniPath());
    ASSERT_TRUE(after);
    EXPECT_EQ(std::string(after->begin(), after->end()), std::string(before->begin(), before->end()));
    EXPECT_EQ(SavedSetting(L"HotKey"), L"<missing>");

    // A user who turned it off keeps it off.
    WriteSettings({"Side=0", "Width=64", "HotKey=0"});
    {
        PanelProcess panel(*scratch_);
        ASSERT_NE(StartShown(panel), nullptr);
        ASSERT_TRUE(panel.Close());
    }
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
    WriteItems(ProbeItems(2));
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HasLoaded(panel.Pid(), L"user32.dll")) << "the module list of the panel cannot be read";
    EXPECT_FALSE(HasLoaded(panel.Pid(), L"oleacc.dll")) << "oleacc was loaded at start";
    AccessibleReader reader(window);
    ASSERT_TRUE(reader.Object());
    EXPECT_EQ(reader.ChildCount(), 5);
    EXPECT_TRUE(HasLoaded(panel.Pid(), L"oleacc.dll"));
    EXPECT_TRUE(panel.Close());
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
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
    ASSERT_NE(window, nullptr);
    const POINT spot = RestingSpotOverPanel(0);
    const POINT client = {spot.x - PanelLeft(window), spot.y - PanelTop(window)};
    HWND menu = OpenContextMenuAt(panel, window, client);
    ASSERT_NE(menu, nullptr);
    ChooseMenuEntry(menu, 6);  // "Настройки..."
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialog = FindWindowW(L"TFormTuning", nullptr);
            DWORD pid = 0;
            if (dialog) GetWindowThreadProcessId(dialog, &pid);
            return dialog && pid == panel.Pid() && IsWindowVisible(dialog);
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
    EXPECT_EQ(checked, 8) << "the colour swatch, the preview, the bar, stay-on-top, the two sides, About, Закрыть";
    ASSERT_NE(close, nullptr);
    PostMessageW(close, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10s));
    EXPECT_TRUE(panel.Close());
}

TEST_F(KeyboardAccess, AccessibleObjectNamesEveryButtonOfTheStrip) {
    std::vector<Entry> entries = ProbeItems(3);
    entries[1].caption.clear();  // named by its file name instead
    WriteItems(entries);
    PanelProcess panel(*scratch_);
    HWND window = StartShown(panel);
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
    const RECT places[] = {HideButtonRect(window, 0), MenuButtonRect(window, 0), CloseButtonRect(window, 0)};
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
    ASSERT_TRUE(ReachesLeft(window, HiddenLeft(0), 10s));
    for (long id = 1; id <= 6; ++id)
        EXPECT_TRUE(reader.Child(id).state & STATE_SYSTEM_INVISIBLE) << "child " << id << " while slid out";

    // After the panel has gone the object answers, but only that it is cut off.
    ASSERT_TRUE(panel.Close());
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
    auto* object = new tilerack::StripAccessible(&host);
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
    object->Release();
}

}  // namespace
}  // namespace e2e
