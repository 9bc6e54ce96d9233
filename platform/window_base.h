#pragma once
// The one bridge between a Win32 window procedure and a C++ object: the
// panel, the dialogs and their custom controls derive from it. `this` is
// stored at WM_NCCREATE; every message then goes through the application's
// exception boundary, so no exception crosses into Windows. The messages of
// owner-drawn menus are reflected to the window's menu sink, if it has one.
#include <windows.h>

#include "platform/menu_sink.h"

namespace tilerack::win {

// The size of a window's client area.
SIZE ClientSize(HWND window);

class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers a window class whose procedure forwards to HandleMessage
    // (once per class name; later calls do nothing).
    static void RegisterWindowClass(const wchar_t* className, UINT classStyle, HBRUSH background,
                                    HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW), HICON icon = nullptr);
    // Creates the window for this object; Handle() is valid from WM_NCCREATE on.
    HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menuOrId = nullptr);
    // Destroys the window (if any) without waiting for the destructor.
    void DestroyWindowNow();

    // The menus' messages (WM_MEASUREITEM and WM_DRAWITEM of menu entries,
    // WM_MENUSELECT, WM_EXITMENULOOP) go to `sink` (none: nowhere) before
    // HandleMessage: an entry the sink measured or drew is answered there;
    // the rest, and the highlight and close it heard of, go on to
    // HandleMessage. The sink outlives the window or is taken back first.
    void ReflectMenusTo(MenuSink* sink) { menuSink_ = sink; }

    // A handler that fails returns 0 for its message.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // True when the menu sink answered the message (with `result`).
    bool ReflectToMenuSink(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    MenuSink* menuSink_ = nullptr;
};

}  // namespace tilerack::win
