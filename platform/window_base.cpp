#include "platform/window_base.h"

#include "platform/application.h"
#include "platform/handles.h"

namespace tilerack::win {

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
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                           Application::Instance().Module(), this);
}

void WindowBase::DestroyWindowNow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT WindowBase::FailedResult(UINT, WPARAM, LPARAM) { return 0; }

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        HandleCensus::Count(HandleKind::User, +1);
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        self->hwnd_ = nullptr;
        HandleCensus::Count(HandleKind::User, -1);
        self->WindowGone();
        return result;
    }
    LRESULT result = 0;
    if (!Application::Instance().Guard([&] { result = self->HandleMessage(msg, wp, lp); }))
        result = self->FailedResult(msg, wp, lp);
    return result;
}

}  // namespace tilerack::win
