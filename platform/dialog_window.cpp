#include "platform/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "common/app_texts.h"
#include "common/font_face.h"
#include "platform/application.h"
#include "platform/common_controls.h"
#include "platform/display_scale.h"
#include "platform/fonts.h"
#include "platform/text.h"
#include "platform/window_screen.h"

namespace tilerack::win {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kDialogFontHeight = 11;

// The dialog font at a scale: "MS Sans Serif" is a bitmap font, drawn by its
// TrueType twin above 96 DPI.
UniqueFont DialogFont(DpiScale scale) {
    return MakeFont(Widen(FontFaceForDpi(kBitmapSansSerif, scale.dpi)), scale.Scale(kDialogFontHeight));
}

// WM_GETDPISCALEDSIZE (Windows 10 1703 on), which the headers give only
// for that target.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

void DialogWindow::CreateDialogFrame(const wchar_t* className, const std::string& title, int clientWidth,
                                     int clientHeight, HWND owner, DWORD extraStyle) {
    owner_ = owner;
    EnsureCommonControls();
    RegisterWindowClass(className, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
    // The owner's screen: the panel's, or the dialog's that opened this one.
    const WindowScreen screen = ScreenOfWindow(owner);
    scale_ = DpiScale::Of(screen.dpi);
    const DWORD style = kDialogStyle | extraStyle;
    const int border = FrameBorder(style, kDialogExStyle, scale_.dpi);
    const int width = Scale(clientWidth) + 2 * border;
    const int height = FrameHeightFor(style, kDialogExStyle, Scale(clientHeight), scale_.dpi);
    const RECT& area = screen.workArea;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    CreateWindowFor(kDialogExStyle, className, Widen(title).c_str(), style, x, y, width, height, owner);
    if (!hwnd_) throw std::runtime_error(kCannotCreateDialogWindow.Get());
    // No minimise, maximise or size entries: the frame is fixed.
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) DeleteMenu(system, command, MF_BYCOMMAND);
    font_ = DialogFont(scale_);
    tooltip_ = CreateTooltipControl(hwnd_, scale_.dpi);
}

HWND DialogWindow::AddControl(const wchar_t* className, const std::string& text, DWORD style, Rect place, int id,
                              DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                   Scale(place.left), Scale(place.top), Scale(place.width), Scale(place.height),
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   Application::Instance().Module(), nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        placed_.push_back({control, place});
    }
    return control;
}

void DialogWindow::KeepPlaced(HWND control, Rect place) {
    if (!control) return;
    placed_.push_back({control, place});
    Place(placed_.back());
}

void DialogWindow::AddPicture(PictureBox& picture, int id, Rect place, PictureBox::Mode mode,
                              const std::wstring& name) {
    picture.Create(hwnd_, id, RECT{0, 0, 0, 0}, mode, name);
    KeepPlaced(picture.Handle(), place);
}

void DialogWindow::Place(const PlacedControl& placed) const {
    const Rect& p = placed.place;
    SetWindowPos(placed.control, nullptr, Scale(p.left), Scale(p.top), Scale(p.width), Scale(p.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::ChangeScale(int dpi, const RECT* suggested) {
    // Moving into the suggested rectangle reports no new scale again; should
    // a system do so, the inner notice is left to the outer one.
    if (changingScale_) return;
    changingScale_ = true;
    const DpiScale scale = DpiScale::Of(dpi);
    if (scale != scale_) {
        scale_ = scale;
        UniqueFont font = DialogFont(scale_);
        const HFONT old = font_.get();
        for (const PlacedControl& placed : placed_) {
            Place(placed);
            // Controls with a font of their own keep it; the subclass makes it again.
            if (reinterpret_cast<HFONT>(SendMessageW(placed.control, WM_GETFONT, 0, 0)) == old)
                SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        }
        font_ = std::move(font);
        SetTooltipWrapWidth(tooltip_, scale_.dpi);
        // A face's widths do not follow the scale exactly (the TrueType twin
        // above 96 DPI least of all): labels sized to their text are measured
        // again, or they would wrap or clip.
        for (PlacedControl& placed : placed_) {
            if (!placed.fitsText) continue;
            const SIZE size = LabelSize(Widen(WindowTextOf(placed.control)));
            placed.place.width = size.cx;
            placed.place.height = size.cy;
            Place(placed);
        }
    }
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnScaleChanged();
    InvalidateRect(hwnd_, nullptr, TRUE);
    changingScale_ = false;
}

SIZE DialogWindow::SizeAtDpi(int dpi) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const DpiScale to = DpiScale::Of(dpi);
    const int width = to.Scale(scale_.Unscale(client.right - client.left));
    const int height = to.Scale(scale_.Unscale(client.bottom - client.top));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    return SIZE{width + 2 * FrameBorder(style, exStyle, to.dpi), FrameHeightFor(style, exStyle, height, to.dpi)};
}

SIZE DialogWindow::LabelSize(const std::wstring& text) const {
    WindowDC dc(hwnd_);
    SelectScope select(dc.get(), font_.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    // Measured at this scale: back to 96-DPI pixels, rounded up.
    return SIZE{MulDiv(size.cx, 96, Scale(96)) + 1, std::max(kDialogFontHeight + 2, MulDiv(size.cy, 96, Scale(96)))};
}

HWND DialogWindow::AddLabel(const std::string& text, int left, int top, int width, DWORD align) {
    const bool fitsText = width <= 0;
    const SIZE size = fitsText ? LabelSize(Widen(text)) : SIZE{width, kDialogFontHeight + 2};
    HWND label = AddControl(L"STATIC", text, align | SS_NOPREFIX, Rect{left, top, size.cx, size.cy});
    if (label) placed_.back().fitsText = fitsText;
    return label;
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
    case kGetDpiScaledSize:
        *reinterpret_cast<SIZE*>(lp) = SizeAtDpi(static_cast<int>(wp));
        return TRUE;
    case WM_DPICHANGED:
        ChangeScale(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    }
    return WindowBase::HandleMessage(msg, wp, lp);
}

}  // namespace tilerack::win
