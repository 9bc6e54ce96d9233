#pragma once
// The tooltips of the strip's buttons. The control (and the common controls
// library with it) is made when the pointer first moves over the panel, and
// is fed the panel's own pointer messages rather than subclassing it, so the
// very move that makes it already starts its delay.
#include <windows.h>

#include <unordered_set>

#include "panel/button_strip.h"
#include "platform/handles.h"

namespace tilerack {

// Each button's tool is known by the button's identity on the strip; the
// tools follow the strip's buttons as they come and go.
class StripTooltips final : public StripObserver {
public:
    explicit StripTooltips(const ButtonStrip& strip) : strip_(strip) {}

    void Attach(HWND panel) { panel_ = panel; }
    // A pointer message of the panel; the first move makes the control.
    void Relay(UINT msg, WPARAM wp, LPARAM lp);
    // The button's tool follows its place, visibility and hint.
    void Sync(const TFlatButton& button);
    void SyncAll();
    // The scale of the panel's screen: the tips take the system's status
    // font made for it, and wrap at a width scaled for it.
    void SetDpi(int dpi);

    // StripObserver
    void ButtonAdded(const TFlatButton& button) override { Sync(button); }
    void ButtonRemoving(const TFlatButton& button) override;
    void OrderChanged() override {}

private:
    void Create();
    void ApplyScale();

    const ButtonStrip& strip_;
    HWND panel_ = nullptr;
    HWND tooltip_ = nullptr;  // owned by the panel's window, destroyed with it
    std::unordered_set<ButtonId> tools_;  // the buttons that have a tool
    int dpi_ = 0;
    // The tips' font, kept while the control uses it: a control deletes only
    // a font of its own making, at the first WM_SETFONT.
    win::UniqueFont font_;
};

}  // namespace tilerack
