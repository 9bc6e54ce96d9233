#pragma once
// The program's 8-bit texts and the names they carry. A text is code page
// 1251 bytes, as the item file has always stored them; a character that code
// page cannot hold (a Chinese name, an emoji, an accented Latin letter) is
// written as the byte 0x98, which code page 1251 leaves undefined, followed
// by that character's UTF-8. Such a text can be cut at and joined with
// ASCII (a backslash, a dot, a quote) like any other: no ASCII byte ever
// stands inside a character's UTF-8. Every name a Windows file can have goes
// through unchanged, a lone surrogate half included (written as its own
// three-byte sequence).
//
// In the item file a text that code page 1251 holds is stored as it stands,
// byte for byte; any other is stored as UTF-8 behind the three bytes
// EF BB BF, which no code page 1251 text starts with ("п»ї").
#include <string>
#include <string_view>

namespace tilerack {

inline constexpr char kForeignCharacterMark = '\x98';
inline constexpr std::string_view kUtf8StoredMark = "\xEF\xBB\xBF";

// The text as UTF-16, and back.
std::u16string TextToUtf16(std::string_view text);
std::string TextFromUtf16(std::u16string_view utf16);

// The text as an item file field stores it.
std::string StoredText(std::string_view text);
// The text a stored field holds. `valid` (when given) is false when the
// UTF-8 behind the mark was not valid: each bad byte reads as U+FFFD.
std::string TextOfStored(std::string_view stored, bool* valid = nullptr);

}  // namespace tilerack
