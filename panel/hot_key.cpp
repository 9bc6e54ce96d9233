#include "panel/hot_key.h"

#include "common/app_texts.h"

namespace tilerack {
namespace {

constexpr int32_t kShiftFlag = 1, kControlFlag = 2, kAltFlag = 4, kExtendedFlag = 8;

std::string KeyName(uint8_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    std::string name;
    if (code >= 0x60 && code <= 0x69) return name.append(kHotKeyNumPadHead.Get()).append(std::to_string(code - 0x60));
    if (code >= 0x70 && code <= 0x87) return name.append(kHotKeyFunctionHead.Get()).append(std::to_string(code - 0x70 + 1));
    for (const KeyNameText& k : kHotKeyKeyNames)
        if (k.code == code) return k.name.Get();
    static const char kHex[] = "0123456789ABCDEF";
    return name.append(kHotKeyUnnamedHead.Get()).append(1, kHex[code >> 4]).append(1, kHex[code & 15]);
}

}  // namespace

unsigned HotKeyChord::RegisterModifiers() const {
    // MOD_NOREPEAT: a held chord brings the panel out once, not at every
    // auto-repeat of the key.
    return (alt ? 1u : 0u) | (control ? 2u : 0u) | (shift ? 4u : 0u) | kNoRepeat;
}

std::optional<HotKeyChord> DecodeHotKey(int32_t value) {
    if (value <= 0 || value > 0xFFFF) return std::nullopt;
    const int32_t flags = value >> 8;
    if (flags & ~(kShiftFlag | kControlFlag | kAltFlag | kExtendedFlag)) return std::nullopt;
    HotKeyChord chord;
    chord.virtualKey = static_cast<uint8_t>(value & 0xFF);
    if (chord.virtualKey == 0) return std::nullopt;
    chord.shift = (flags & kShiftFlag) != 0;
    chord.control = (flags & kControlFlag) != 0;
    chord.alt = (flags & kAltFlag) != 0;
    return chord;
}

std::string HotKeyName(const HotKeyChord& chord) {
    std::string name;
    if (chord.control) name.append(kHotKeyControl.Get());
    if (chord.alt) name.append(kHotKeyAlt.Get());
    if (chord.shift) name.append(kHotKeyShift.Get());
    name.append(KeyName(chord.virtualKey));
    return name;
}

std::string HotKeyTakenMessage(const HotKeyChord& chord) {
    std::string text = kHotKeyTakenHead.Get();
    text.append(HotKeyName(chord));
    text.append(kHotKeyTakenTail.Get());
    return text;
}

}  // namespace tilerack
