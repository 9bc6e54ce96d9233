#pragma once
// A modal dialog window whose controls are placed from pixel places at 96 DPI
// (scaled by the screen's DPI), with the dialog font "MS Sans Serif" 11
// pixels high, tooltips, a default button and a modal loop that keeps the
// owner disabled while it runs.
#include <windows.h>

#include <string>

#include "common/dpi_scale.h"
#include "common/geometry.h"
#include "platform/handles.h"
#include "platform/window_base.h"

namespace tilerack::win {

class DialogWindow : public WindowBase {
public:
    // Shows the dialog and runs its modal loop until Close; the owner is
    // disabled meanwhile and enabled again before the window is hidden.
    void ShowModal();
    // Ends the modal loop (the window stays until the object is destroyed).
    void Close();

    // Pixels at 96 DPI to pixels on this screen.
    static int Scale(int pixels);
    // The screen's scale, for pictures drawn at the size of the places.
    static DpiScale DisplayScale();

protected:
    // Creates the window: fixed dialog frame, client area of the given size
    // (at 96 DPI), centred on the screen, owned by `owner`.
    void CreateDialogFrame(const wchar_t* className, const std::string& title, int clientWidth, int clientHeight,
                           HWND owner);

    // A child control at `place` with the dialog font. Texts are code page 1251.
    HWND AddControl(const wchar_t* className, const std::string& text, DWORD style, Rect place, int id = 0,
                    DWORD exStyle = 0);
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
    HWND owner_ = nullptr;
    HWND tooltip_ = nullptr;
    UniqueFont font_;
    UniqueBrush background_;
    int defaultButton_ = 0;
    bool closing_ = false;
    bool inModalLoop_ = false;
};

}  // namespace tilerack::win
