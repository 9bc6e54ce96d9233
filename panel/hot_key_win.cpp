#include "panel/hot_key_win.h"

namespace tilerack {

PanelHotKey::Outcome PanelHotKey::Register(HWND window, int32_t value) {
    Unregister();
    chord_ = DecodeHotKey(value);
    if (!chord_) return Outcome::Off;
    window_ = window;
    registered_ = RegisterHotKey(window, kId, chord_->RegisterModifiers(), chord_->virtualKey) != FALSE;
    return registered_ ? Outcome::Registered : Outcome::Taken;
}

void PanelHotKey::Unregister() {
    if (registered_ && window_) UnregisterHotKey(window_, kId);
    registered_ = false;
    window_ = nullptr;
}

}  // namespace tilerack
