#include "platform/window_base.h"

#include "platform/application.h"
#include "platform/handles.h"

namespace tilerack::win {

namespace {
// The object whose window CreateWindowFor is making on this thread: Windows
// sends WM_GETMINMAXINFO before WM_NCCREATE, and a window's own size limits
// must apply to the size it is created with.
thread_local WindowBase* t_creating = nullptr;
}  // namespace

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

WindowBase::~WindowBase() { DestroyWindowNow(); }

void WindowBase::RegisterWindowClass(const wchar_t* className, UINT classStyle, HBRUSH background, HCURSOR cursor,
                                     HICON icon) {
    const HINSTANCE module = Application::Instance().Module();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(module, className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.hCursor = cursor;
    wc.hIcon = icon;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND WindowBase::CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                                 int y, int width, int height, HWND parent, HMENU menuOrId) {
    WindowBase* const outer = t_creating;
    t_creating = this;
    HWND made = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                                Application::Instance().Module(), this);
    t_creating = outer;
    return made;
}

void WindowBase::DestroyWindowNow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

bool WindowBase::ReflectToMenuSink(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!menuSink_) return false;
    switch (msg) {
    case WM_MEASUREITEM: {
        auto& entry = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (entry.CtlType != ODT_MENU || !menuSink_->MeasureMenuEntry(hwnd_, entry)) return false;
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto& entry = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (entry.CtlType != ODT_MENU || !menuSink_->DrawMenuEntry(entry)) return false;
        result = TRUE;
        return true;
    }
    case WM_MENUSELECT:
        menuSink_->MenuEntryHighlighted(hwnd_, reinterpret_cast<HMENU>(lp), LOWORD(wp), HIWORD(wp));
        return false;
    case WM_EXITMENULOOP:
        menuSink_->MenuClosed(hwnd_);
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self && (msg == WM_NCCREATE || (msg == WM_GETMINMAXINFO && t_creating && !t_creating->hwnd_))) {
        self = msg == WM_NCCREATE ? static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams)
                                  : t_creating;
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            HandleCensus::Count(HandleKind::User, +1);
        }
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        self->hwnd_ = nullptr;
        HandleCensus::Count(HandleKind::User, -1);
        return result;
    }
    LRESULT result = 0;  // also what a failed handler returns
    Application::Instance().Guard([&] {
        if (!self->ReflectToMenuSink(msg, wp, lp, result)) result = self->HandleMessage(msg, wp, lp);
    });
    return result;
}

}  // namespace tilerack::win
