#pragma once
// The panel's system-wide hot key: registered for the panel window from the
// value the settings hold, released with the window.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "panel/hot_key.h"

namespace tilerack {

class PanelHotKey {
public:
    static constexpr int kId = 1;  // WM_HOTKEY's wParam for the panel's key

    enum class Outcome { Off, Registered, Taken };
    // Registers the chord of `value` for `window` (nothing when it is off).
    // Taken: another program holds it; the panel goes on without it.
    Outcome Register(HWND window, int32_t value);
    void Unregister();
    // The chord asked for at the last Register, registered or not.
    const std::optional<HotKeyChord>& Chord() const { return chord_; }

private:
    HWND window_ = nullptr;
    bool registered_ = false;
    std::optional<HotKeyChord> chord_;
};

}  // namespace tilerack
