#include "platform/application.h"

#include "platform/app_icon.h"
#include "platform/display_scale.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack::win {

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::Initialize(HINSTANCE instance, const std::wstring& title) {
    instance_ = instance;
    title_ = title;
}

// Registered with the window, after the panel's first show: reading the
// program's icons need not delay it.
void Application::RegisterWindowClass() {
    if (classRegistered_) return;
    classRegistered_ = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = L"TApplication";
    // Kept for the life of the class: the icons of the system's scale.
    const int dpi = SystemDpi();
    wc.hIcon = LoadAppIcon(LargeIconSize(dpi)).release();
    wc.hIconSm = LoadAppIcon(SmallIconSize(dpi)).release();
    RegisterClassExW(&wc);
}

void Application::CreateHandle() {
    if (handle_) return;
    RegisterWindowClass();
    // Zero-sized and never shown: it exists to own the panel, so the panel
    // stays off the taskbar, and to carry the application's state.
    handle_ = CreateWindowExW(0, L"TApplication", title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance_, nullptr);
}

int Application::Run() {
    // The loop ends on WM_QUIT itself: leaving it pending would end the first
    // modal loop after this one, such as the box of a failed final save.
    CreateHandle();  // failures met in the loop are posted to it
    loopRunning_ = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    loopRunning_ = false;
    terminated_ = true;
    ShowPendingErrors();
    return 0;
}

void Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

void Application::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    if (OnMinimize) OnMinimize();
}

void Application::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    if (OnRestore) OnRestore();
}

void Application::ShowError(const std::string& text) const {
    MessageBoxW(nullptr, Widen(text).c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void Application::ShowMessage(const std::string& text) const {
    MessageBoxW(nullptr, Widen(text).c_str(), title_.c_str(), MB_OK | MB_TASKMODAL);
}

void Application::ReportError(const std::string& text) {
    // The same failure again while it waits to be shown adds nothing.
    for (const std::string& pending : pendingErrors_)
        if (pending == text) return;
    pendingErrors_.push_back(text);
    if (loopRunning_ && handle_)
        PostMessageW(handle_, kShowErrorsMessage, 0, 0);
    else
        ShowPendingErrors();
}

void Application::ShowPendingErrors() {
    if (showingErrors_) return;  // the open box's loop shows the rest after it
    showingErrors_ = true;
    while (!pendingErrors_.empty()) {
        const std::string text = pendingErrors_.front();
        pendingErrors_.pop_front();
        ShowError(text);
    }
    showingErrors_ = false;
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Application& app = Instance();
    switch (msg) {
    case kShowErrorsMessage:
        app.ShowPendingErrors();
        return 0;
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE: app.Minimize(); return 0;
        case SC_RESTORE: app.Restore(); return 0;
        case SC_CLOSE: app.Terminate(); return 0;
        }
        break;
    case WM_CLOSE:
        app.Terminate();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace tilerack::win
