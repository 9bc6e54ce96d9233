#include "panel/hot_key.h"

namespace tilerack {
namespace {

constexpr int32_t kShiftFlag = 1, kControlFlag = 2, kAltFlag = 4, kExtendedFlag = 8;

// Names of the keys that are neither letters, digits nor function keys, as a
// Russian keyboard labels them.
struct NamedKey {
    uint8_t code;
    const char* name;
};
constexpr NamedKey kNamedKeys[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},      {0x0D, "Enter"},    {0x13, "Pause"},    {0x1B, "Esc"},
    {0x20, "Пробел"},    {0x21, "Page Up"},  {0x22, "Page Down"}, {0x23, "End"},     {0x24, "Home"},
    {0x25, "Влево"},     {0x26, "Вверх"},    {0x27, "Вправо"},   {0x28, "Вниз"},     {0x2C, "Print Screen"},
    {0x2D, "Insert"},    {0x2E, "Delete"},   {0x6A, "Num *"},    {0x6B, "Num +"},    {0x6D, "Num -"},
    {0x6E, "Num ."},     {0x6F, "Num /"},    {0x91, "Scroll Lock"}, {0xBA, ";"},     {0xBB, "="},
    {0xBC, ","},         {0xBD, "-"},        {0xBE, "."},        {0xBF, "/"},        {0xC0, "`"},
    {0xDB, "["},         {0xDC, "\\"},       {0xDD, "]"},        {0xDE, "'"},
};

std::string KeyName(uint8_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    std::string name;
    if (code >= 0x60 && code <= 0x69) return name.append("Num ").append(std::to_string(code - 0x60));
    if (code >= 0x70 && code <= 0x87) return name.append("F").append(std::to_string(code - 0x70 + 1));
    for (const NamedKey& k : kNamedKeys)
        if (k.code == code) return k.name;
    static const char kHex[] = "0123456789ABCDEF";
    return name.append("Клавиша 0x").append(1, kHex[code >> 4]).append(1, kHex[code & 15]);
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
    if (chord.control) name.append("Ctrl+");
    if (chord.alt) name.append("Alt+");
    if (chord.shift) name.append("Shift+");
    name.append(KeyName(chord.virtualKey));
    return name;
}

std::string HotKeyTakenMessage(const HotKeyChord& chord) {
    std::string text = "Сочетание клавиш ";
    text.append(HotKeyName(chord));
    text.append(" уже занято другой программой; панель работает без него.");
    return text;
}

}  // namespace tilerack
