// The baseline of the start-up and idle benchmarks: the least Win32 program
// with a window. It registers one class and shows one empty window of the
// panel's kind (a sizable tool window without caption, so a window manager
// handles it alike) and default shape at the left screen edge, then runs its
// message loop. With --timers it also runs the panel's two pointer-reading timers
// (100 ms and 200 ms), so idle costs compare like with like.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK LeastProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_TIMER: {
        POINT p;
        GetCursorPos(&p);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LeastProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"LeastWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"LeastWindow", L"least", WS_POPUP | WS_BORDER | WS_THICKFRAME,
                                  0, -4, 64, GetSystemMetrics(SM_CYSCREEN) + 8, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (std::wcsstr(commandLine, L"--timers")) {
        SetTimer(window, 1, 100, nullptr);
        SetTimer(window, 2, 200, nullptr);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
