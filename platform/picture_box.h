#pragma once
// A picture control: shows a 24-bit picture at a display scale (its natural
// size unless set), centred or at the top-left, optionally leaving out the
// pixels of the picture's lower-left colour; or a plain colour fill with a
// frame (a colour swatch).
// Mouse presses are handed to a callback.
#include <windows.h>

#include <functional>
#include <string>

#include "common/bitmap.h"
#include "common/dpi_scale.h"
#include "platform/window_base.h"

namespace tilerack::win {

class PictureBox : public WindowBase {
public:
    enum class Mode { Picture, Swatch };

    // Creates the control as a child of `parent` at the given pixel
    // rectangle. `name` is its window text: never drawn, it is what a screen
    // reader announces for the control.
    void Create(HWND parent, int id, RECT bounds, Mode mode, const std::wstring& name = {});

    // The shown picture; change it, then call Refresh. It stays as set: the
    // scale changes only what is drawn.
    TBitmap Picture;
    // The scale the picture is drawn at, for a picture designed at 96 DPI;
    // one already made in screen pixels keeps the base scale.
    DpiScale PictureScale;
    bool Centered = true;
    bool Transparent = false;  // leave out the lower-left pixel's colour
    COLORREF SwatchColor = RGB(255, 255, 255);

    void Refresh();
    // Called with the mouse button (VK_LBUTTON, VK_RBUTTON, VK_MBUTTON) and
    // the point in the control's client coordinates.
    std::function<void(int button, POINT at)> OnMouseDown;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc);
    Mode mode_ = Mode::Picture;
};

}  // namespace tilerack::win
