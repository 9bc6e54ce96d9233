#include "platform/picture_box.h"

#include <windowsx.h>

#include "common/bitmap.h"
#include "common/scaled_picture.h"
#include "platform/application.h"
#include "platform/dib.h"

namespace tilerack::win {

namespace {
constexpr const wchar_t* kPictureBoxClass = L"TImage";
}

void PictureBox::Create(HWND parent, int id, RECT bounds, Mode mode, const std::wstring& name) {
    mode_ = mode;
    RegisterWindowClass(kPictureBoxClass, 0, nullptr);
    CreateWindowFor(0, kPictureBoxClass, name.c_str(), WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void PictureBox::Refresh() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Paint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int w = std::max<int>(client.right, 1), h = std::max<int>(client.bottom, 1);
    TBitmap frame(w, h);
    if (mode_ == Mode::Swatch) {
        frame.Fill(SwatchColor);
        DrawPicture(dc, 0, 0, frame);
        // The outline a shape is drawn with: a black pen one pixel wide.
        FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    frame.Fill(Rgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    if (!Picture.Empty()) {
        const int x = Centered ? (w - PictureScale.Scale(Picture.Width())) / 2 : 0;
        const int y = Centered ? (h - PictureScale.Scale(Picture.Height())) / 2 : 0;
        DrawPictureAtScale(frame, x, y, Picture, PictureScale, Transparent);
    }
    DrawPicture(dc, 0, 0, frame);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd_);
        Paint(paint.dc());
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
        const int button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? VK_LBUTTON
                           : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? VK_RBUTTON
                                                                                : VK_MBUTTON;
        if (OnMouseDown) OnMouseDown(button, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    }
    }
    return WindowBase::HandleMessage(msg, wp, lp);
}

}  // namespace tilerack::win
