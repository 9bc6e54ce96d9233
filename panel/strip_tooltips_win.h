#pragma once
// The tooltips of the strip's buttons. The control (and the common controls
// library with it) is made when the pointer first moves over the panel, and
// is fed the panel's own pointer messages rather than subclassing it, so the
// very move that makes it already starts its delay.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "panel/flat_button.h"
#include "platform/handles.h"

namespace tilerack {

class StripTooltips {
public:
    // `buttons` lists every button of the strip, for the tools made at once
    // when the control is.
    explicit StripTooltips(std::function<std::vector<TFlatButton*>()> buttons) : buttons_(std::move(buttons)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // A pointer message of the panel; the first move makes the control unless
    // `mayCreate` is false (the panel is closing).
    void Relay(UINT msg, WPARAM wp, LPARAM lp, bool mayCreate);
    // The button's tool follows its place, visibility and hint.
    void Sync(TFlatButton& button);
    void SyncAll();
    // Before the button goes away.
    void Remove(TFlatButton& button);
    // The scale of the panel's screen: the tips take the system's status
    // font made for it, and wrap at a width scaled for it.
    void SetDpi(int dpi);

private:
    void Create();
    void ApplyScale();

    std::function<std::vector<TFlatButton*>()> buttons_;
    HWND panel_ = nullptr;
    HWND tooltip_ = nullptr;  // owned by the panel's window, destroyed with it
    uint32_t nextToolId_ = 1;
    int dpi_ = 0;
    // The tips' font, kept while the control uses it: a control deletes only
    // a font of its own making, at the first WM_SETFONT.
    win::UniqueFont font_;
};

}  // namespace tilerack
