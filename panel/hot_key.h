#pragma once
// The panel's hot key as the settings hold it (a hot-key control's value:
// the low byte the virtual-key code, the high byte Shift 1, Ctrl 2, Alt 4):
// what it asks RegisterHotKey for and the name the user reads.
#include <cstdint>
#include <optional>
#include <string>

namespace tilerack {

struct HotKeyChord {
    uint8_t virtualKey = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
    // MOD_NOREPEAT as RegisterHotKey takes it.
    static constexpr unsigned kNoRepeat = 0x4000;
    // The modifiers as RegisterHotKey takes them (MOD_ALT 1, MOD_CONTROL 2,
    // MOD_SHIFT 4), always with kNoRepeat.
    unsigned RegisterModifiers() const;
};

// The chord a stored value stands for; nothing when it is off (0), names no
// key, or holds bits no hot-key control writes (above the high byte, or
// modifier flags beyond Shift, Ctrl, Alt and the extended-key flag 8).
std::optional<HotKeyChord> DecodeHotKey(int32_t value);

// The chord as the user reads it, in code page 1251: the modifiers in the
// order Ctrl, Alt, Shift, then the key ("Ctrl+Alt+Shift+Пробел", "Ctrl+Alt+F9",
// "Alt+K").
std::string HotKeyName(const HotKeyChord& chord);

// The one message shown when another program holds the chord already.
std::string HotKeyTakenMessage(const HotKeyChord& chord);

}  // namespace tilerack
