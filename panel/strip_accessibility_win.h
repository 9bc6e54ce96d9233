#pragma once
// What assistive technology reads of the strip and asks of it: the
// accessible object of the panel's client area (strip_accessible_win.h),
// made at the first WM_GETOBJECT, the events that tell of the strip's
// changes, and the default action and selection of a button.
#include <windows.h>

#include <functional>
#include <utility>

#include <string>

#include "panel/button_strip.h"
#include "panel/strip_accessible_win.h"
#include "platform/com_ptr.h"

namespace tilerack {

class StripAccessibility final : private AccessibleStripHost, public StripObserver {
public:
    // What the accessible strip asks of the panel.
    struct Host {
        std::function<bool()> PanelHidden;
        // The item button with the keyboard focus, or none.
        std::function<ButtonId()> KeyboardFocus;
        // How a button looks: hot, pressed.
        std::function<ButtonLook(const TFlatButton&)> LookOf;
        // Assistive technology selected an item's button: the keyboard focus goes to it.
        std::function<void(const TItemButton&)> SelectItemButton;
    };

    StripAccessibility(const ButtonStrip& strip, Host host) : strip_(strip), host_(std::move(host)) {}
    StripAccessibility(const StripAccessibility&) = delete;
    StripAccessibility& operator=(const StripAccessibility&) = delete;
    ~StripAccessibility() override { Release(); }

    void Attach(HWND panel) { panel_ = panel; }
    LRESULT AnswerGetObject(WPARAM wp, LPARAM lp);
    // The default action posted by AccessibleDoDefaultAction, run from the
    // message loop: exactly a click on the button, if it is still there.
    void OnAction(long id);
    // Tells assistive technology of a change of `button` (none: of the strip).
    void Notify(DWORD event, const TFlatButton* button);
    // The panel is going: the object is cut off from it.
    void Release();

    // StripObserver: buttons that come, go and move are told.
    void ButtonAdded(const TFlatButton& button) override { Notify(EVENT_OBJECT_CREATE, &button); }
    void ButtonRemoving(const TFlatButton& button) override { Notify(EVENT_OBJECT_DESTROY, &button); }
    void OrderChanged() override { Notify(EVENT_OBJECT_REORDER, nullptr); }

private:
    long IdOf(const TFlatButton* button) const;
    TFlatButton* ButtonOf(long id) const;
    // AccessibleStripHost
    HWND AccessibleWindow() const override { return panel_; }
    std::wstring AccessibleName() const override;
    long AccessibleChildCount() const override;
    bool AccessibleChild(long id, AccessibleButton& out) const override;
    long AccessibleFocus() const override;
    long AccessibleHitTest(POINT screen) const override;
    bool AccessibleDoDefaultAction(long id) override;
    bool AccessibleSelect(long id) override;

    const ButtonStrip& strip_;
    Host host_;
    HWND panel_ = nullptr;
    // Made at the first WM_GETOBJECT; cut off when the panel is destroyed.
    win::ComPtr<StripAccessible> accessible_;
};

}  // namespace tilerack
