#pragma once
// A modal dialog window whose controls are placed from pixel places at 96 DPI,
// scaled for the screen it opens on (its owner's) and laid out again when
// it is moved to a screen of another scale; with the dialog font "MS Sans
// Serif" 11 pixels high (its TrueType twin above 96 DPI), tooltips, a
// default button and a modal loop that keeps the owner disabled while it
// runs.
#include <windows.h>

#include <string>
#include <vector>

#include "common/dpi_scale.h"
#include "common/geometry.h"
#include "platform/handles.h"
#include "platform/picture_box.h"
#include "platform/window_base.h"

namespace tilerack::win {

class DialogWindow : public WindowBase {
public:
    // Shows the dialog and runs its modal loop until Close; the owner is
    // disabled meanwhile and enabled again before the window is hidden.
    void ShowModal();
    // Ends the modal loop (the window stays until the object is destroyed).
    void Close();

    // Pixels at 96 DPI to pixels at the dialog's scale.
    int Scale(int pixels) const { return scale_.Scale(pixels); }
    // The dialog's scale, for pictures drawn at the size of the places.
    DpiScale DisplayScale() const { return scale_; }

protected:
    // Creates the window: fixed dialog frame (`extraStyle` added, such as
    // WS_THICKFRAME), client area of the given size (at 96 DPI), centred in
    // the work area of the owner's screen at that screen's scale, owned by
    // `owner`.
    void CreateDialogFrame(const wchar_t* className, const std::string& title, int clientWidth, int clientHeight,
                           HWND owner, DWORD extraStyle = 0);

    // A child control at `place` with the dialog font. Texts are code page 1251.
    HWND AddControl(const wchar_t* className, const std::string& text, DWORD style, Rect place, int id = 0,
                    DWORD exStyle = 0);
    // Keeps `control`, made elsewhere, at `place` (96 DPI) when the scale
    // changes; it is moved there now.
    void KeepPlaced(HWND control, Rect place);
    // A picture control at `place`, kept there when the scale changes.
    void AddPicture(PictureBox& picture, int id, Rect place, PictureBox::Mode mode, const std::wstring& name = {});
    // Called once the dialog has been laid out at a new scale (its frame,
    // font and the places of its controls): the fonts and pictures of its
    // own follow here.
    virtual void OnScaleChanged() {}
    // A label sized to its text, its top-left at (left, top); `width` > 0
    // fixes the width instead (for right-aligned labels).
    HWND AddLabel(const std::string& text, int left, int top, int width = 0, DWORD align = SS_LEFT);
    HWND AddButton(const std::string& text, Rect place, int id, DWORD extraStyle = 0);

    // The tooltip of a control, replaced when set again; empty removes it.
    void SetTooltip(HWND control, const std::string& text);
    // The button that Enter presses (0: none).
    void SetDefaultButton(int id) { defaultButton_ = id; }

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);

    // WM_COMMAND from a control or menu. Esc never closes a dialog: the
    // modal loop keeps it from the dialog and its controls.
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct PlacedControl {
        HWND control;
        Rect place;              // at 96 DPI
        bool fitsText = false;   // a label sized to its text
    };
    // `text` in the dialog font, in 96-DPI pixels rounded up.
    SIZE LabelSize(const std::wstring& text) const;
    // WM_DPICHANGED: the dialog's places, font and pictures at `dpi`, in the
    // rectangle the system suggests.
    void ChangeScale(int dpi, const RECT* suggested);
    // WM_GETDPISCALEDSIZE: the window's size at `dpi`, its client area
    // scaled and its frame measured at that scale (a frame does not grow
    // in step with the scale).
    SIZE SizeAtDpi(int dpi) const;
    void Place(const PlacedControl& placed) const;

    DpiScale scale_;
    std::vector<PlacedControl> placed_;
    bool changingScale_ = false;
    HWND owner_ = nullptr;
    HWND tooltip_ = nullptr;
    UniqueFont font_;
    UniqueBrush background_;
    int defaultButton_ = 0;
    bool closing_ = false;
    bool inModalLoop_ = false;
};

}  // namespace tilerack::win
