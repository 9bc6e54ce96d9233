// The panel driven from the keyboard and read as assistive technology reads
// it: a window of the test program's own holding the keyboard focus, the
// accessibility events of the panel's process, its accessible object, and
// the fixture of the keyboard scenarios (probe items, the panel slid out, the
// hot key pressed at the X server).
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"
#include "panel_driver.h"
#include "platform/text.h"
#include "test_files.h"
#include "x11_helpers.h"

namespace e2e {

inline constexpr const char* kHotKeyChord = "ctrl+alt+shift+space";

// A plain window of the test program's own, on a thread of its own with its
// message loop, holding the keyboard focus as the user's current program
// would: Wine reads the X server's keys (hot keys included) only while one
// of its windows has the X input focus.
// Keys pressed at the X server go to the window that has the X input focus.
// On a bare X server nothing moves that focus to the panel when it becomes
// the foreground window (a desktop's window manager does), so the keys after
// the hot key would never reach it: those scenarios run under a manager.
inline constexpr const char* kKeysNeedAWindowManager =
    "keys pressed at the X server follow the focus only under a window manager";

// How a window of the test program's own looks and where it stands.
struct OwnWindowLook {
    const wchar_t* className;
    const wchar_t* title;
    DWORD style;
    RECT place;
    int stockBrush;
};

class FocusHolder {
public:
    // A plain window in the middle of the screen, away from both edges and the panel.
    FocusHolder()
        : FocusHolder(OwnWindowLook{L"KeyboardTestFocusHolder", L"Другая программа", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    RECT{ScreenWidth() / 2 - 150, ScreenHeight() / 2 - 200, ScreenWidth() / 2 + 150,
                                         ScreenHeight() / 2 - 40},
                                    WHITE_BRUSH}) {}
    explicit FocusHolder(const OwnWindowLook& look) : look_(look) {
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
        if (!w) return ::testing::AssertionFailure() << "no window of the test program's own";
        const POINT centre = Centre(WindowRect(w));
        const std::string clicked = ClickWithXPointer(centre);
        if (clicked != "ended") return ::testing::AssertionFailure() << clicked;
        PostMessageW(w, kActivateMessage, 0, 0);
        if (!WaitUntil([&] { return GetForegroundWindow() == w; }, 10s))
            return ::testing::AssertionFailure() << "the test program's window never became the foreground window";
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
        wc.lpszClassName = look_.className;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(look_.stockBrush));
        RegisterClassW(&wc);
        const RECT& r = look_.place;
        HWND w = CreateWindowExW(0, wc.lpszClassName, look_.title, look_.style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        window_.store(w);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (IsWindow(w)) DestroyWindow(w);
    }

    const OwnWindowLook look_;
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


class KeyboardPanelTest : public PanelTest {
protected:
    struct Entry {
        std::wstring fileName;
        std::string params;
        std::wstring caption;
        std::wstring hint;
    };
    // The item file's records of `entries`, each with a picture of its own colour.
    std::vector<ShortRecord> RecordsOf(const std::vector<Entry>& entries) const {
        std::vector<ShortRecord> records;
        int shade = 40;
        for (const Entry& e : entries) {
            records.push_back({.params = e.params,
                               .fileName = tilerack::win::Narrow(e.fileName),
                               .caption = tilerack::win::Narrow(e.caption),
                               .workDir = tilerack::win::Narrow(scratch_->Path()),
                               .hint = tilerack::win::Narrow(e.hint),
                               .trackDrives = true,
                               .image = KeyedSquareBmp(0, RGB(shade, 90, 200), 0)});
            shade = (shade + 37) % 256;
        }
        return records;
    }

    // Probe items "a", "b", "c", ... started with their letter as argument.
    std::vector<Entry> ProbeItems(int count) {
        const std::wstring probe = scratch_->AddProbe();
        std::vector<Entry> entries;
        for (int i = 0; i < count; ++i) {
            const std::string letter(1, static_cast<char>('a' + i));
            entries.push_back({probe, "item-" + letter, L"Проба " + Widen(letter), L"Подсказка " + Widen(letter)});
        }
        return entries;
    }

    // For the scenarios that press keys: the panel started with `entries`
    // and slid out (panel_, window_), and a window of this program to hold
    // the keyboard focus (holder_); false, with a failure recorded, when
    // the panel does not get there.
    bool StartHiddenWith(const std::vector<Entry>& entries) {
        StartPanel({.items = RecordsOf(entries), .expect = PanelState::Hidden});
        holder_ = std::make_unique<FocusHolder>();
        return window_ != nullptr;
    }
    // The same with `items` probe items.
    bool StartHiddenWithProbeItems(int items) { return StartHiddenWith(ProbeItems(items)); }
    ::testing::AssertionResult PressHotKey() { return PressHotKey(*holder_, window_); }

    std::unique_ptr<FocusHolder> holder_;

    // The hot key pressed while `holder` has the focus; success once the
    // panel stands at its shown place as the foreground window.
    ::testing::AssertionResult PressHotKey(FocusHolder& holder, HWND panel) {
        if (auto focused = holder.TakeFocus(); !focused) return focused;
        const std::string pressed = PressXKeys({kHotKeyChord});
        if (pressed != "ended") return ::testing::AssertionFailure() << pressed;
        if (auto shown = ReachesShown(panel, Side::Left, 10s); !shown)
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

}  // namespace e2e
