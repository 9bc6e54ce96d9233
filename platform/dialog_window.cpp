#include "platform/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/application.h"
#include "platform/common_controls.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kDialogFontHeight = 11;

int ScreenDpi() {
    WindowDC screen;
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

// Read once: every dialog of the process lays out at the same scale.
int DialogDpi() {
    static const int dpi = ScreenDpi();
    return dpi;
}

}  // namespace

int DialogWindow::Scale(int pixels) { return MulDiv(pixels, DialogDpi(), 96); }

DpiScale DialogWindow::DisplayScale() { return DpiScale::Of(DialogDpi()); }

void DialogWindow::CreateDialogFrame(const wchar_t* className, const std::string& title, int clientWidth,
                                     int clientHeight, HWND owner) {
    owner_ = owner;
    EnsureCommonControls();
    RegisterWindowClass(className, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame{0, 0, Scale(clientWidth), Scale(clientHeight)};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowFor(kDialogExStyle, className, Widen(title).c_str(), kDialogStyle, x, y, width, height, owner);
    if (!hwnd_) throw std::runtime_error("Cannot create the dialog window");
    // No minimise, maximise or size entries: the frame is fixed.
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) DeleteMenu(system, command, MF_BYCOMMAND);
    font_ = MakeFont(L"MS Sans Serif", Scale(kDialogFontHeight));
    tooltip_ = CreateTooltipControl(hwnd_);
}

HWND DialogWindow::AddControl(const wchar_t* className, const std::string& text, DWORD style, Rect place, int id,
                              DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                   Scale(place.left), Scale(place.top), Scale(place.width), Scale(place.height),
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   Application::Instance().Module(), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

HWND DialogWindow::AddLabel(const std::string& text, int left, int top, int width, DWORD align) {
    const std::wstring wide = Widen(text);
    int height = kDialogFontHeight + 2;
    if (width <= 0) {
        WindowDC dc(hwnd_);
        SelectScope select(dc.get(), font_.get());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        // Measured on this screen: back to 96-DPI pixels, rounded up.
        width = MulDiv(size.cx, 96, Scale(96)) + 1;
        height = std::max(height, MulDiv(size.cy, 96, Scale(96)));
    }
    return AddControl(L"STATIC", text, align | SS_NOPREFIX, Rect{left, top, width, height});
}

HWND DialogWindow::AddButton(const std::string& text, Rect place, int id, DWORD extraStyle) {
    return AddControl(L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON | extraStyle, place, id);
}

void DialogWindow::SetTooltip(HWND control, const std::string& text) {
    if (!tooltip_ || !control) return;
    std::wstring wide = Widen(text);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = wide.data();
    const bool exists = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
    ti.lpszText = wide.data();
    if (text.empty()) {
        if (exists) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    } else if (exists) {
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

std::string DialogWindow::ItemText(int id) const { return WindowTextOf(Item(id)); }

void DialogWindow::SetItemText(int id, const std::string& text) { SetWindowTextW(Item(id), Widen(text).c_str()); }

void DialogWindow::ShowModal() {
    if (!hwnd_ || inModalLoop_) return;
    closing_ = false;
    inModalLoop_ = true;
    const bool ownerWasEnabled = owner_ && IsWindowEnabled(owner_);
    if (ownerWasEnabled) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SetFocus(first);
    MSG msg;
    while (!closing_ && hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The application ends: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Esc closes nothing here: neither the dialog manager's cancel nor a
        // multi-line edit, which would otherwise close its parent.
        const bool escape = (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_ESCAPE;
        if (escape && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) continue;
        if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    inModalLoop_ = false;
    // The owner first, so activation goes back to it and not elsewhere.
    if (ownerWasEnabled) EnableWindow(owner_, TRUE);
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void DialogWindow::Close() { closing_ = true; }

LRESULT DialogWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CLOSE:
        Close();  // the close box
        return 0;
    case DM_GETDEFID:
        return defaultButton_ ? MAKELRESULT(defaultButton_, DC_HASDEFID) : 0;
    }
    return WindowBase::HandleMessage(msg, wp, lp);
}

}  // namespace tilerack::win
