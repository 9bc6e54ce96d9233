#include "common/item_text.h"

#include <cstdint>

namespace tilerack {

namespace {

// Code page 1251 from 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F. The
// undefined 0x98 stands for U+0098, so any byte reads as some character.
constexpr char16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
constexpr char32_t kReplacement = 0xFFFD;

char16_t FromCp1251(uint8_t b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
    return kHighHalf[b - 0x80];
}

// The code page 1251 byte of a character, or -1 where it has none (U+0098
// included: the byte 0x98 marks a foreign character).
int ToCp1251(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kHighHalf[i] == c && c != 0x0098) return 0x80 + i;
    return -1;
}

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One character of UTF-8 at `at` (surrogate halves allowed, for names that
// hold a lone one); its length, 0 when the bytes there are no character.
size_t TakeUtf8(std::string_view s, size_t at, char32_t& c) {
    const uint8_t lead = static_cast<uint8_t>(s[at]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > s.size()) return 0;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = static_cast<uint8_t>(s[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms and code points past Unicode are no characters.
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF) return 0;
    return length;
}

// A foreign character after the mark at `at`: the length of its UTF-8, 0
// where what follows is no such character (code page 1251 would hold it, or
// it is no UTF-8), and the mark then stands for itself.
size_t TakeForeign(std::string_view s, size_t at, char32_t& c) {
    if (s[at] != kForeignCharacterMark || at + 1 >= s.size()) return 0;
    const size_t length = TakeUtf8(s, at + 1, c);
    return length > 1 && ToCp1251(c) < 0 ? length : 0;
}

void PutUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

// The characters of UTF-16, a lone surrogate half as itself.
template <typename F>
void ForEachCharacter(std::u16string_view s, F&& f) {
    for (size_t i = 0; i < s.size(); ++i) {
        const char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            f(0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else {
            f(c);
        }
    }
}

void PutText(std::string& out, char32_t c) {
    const int b = ToCp1251(c);
    if (b >= 0) {
        out += static_cast<char>(b);
    } else {
        out += kForeignCharacterMark;
        PutUtf8(out, c);
    }
}

}  // namespace

std::u16string TextToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = 0;
        if (const size_t length = TakeForeign(text, i, c)) {
            PutUtf16(out, c);
            i += length;
        } else {
            out += FromCp1251(static_cast<uint8_t>(text[i]));
        }
    }
    return out;
}

std::string TextFromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    ForEachCharacter(utf16, [&](char32_t c) { PutText(out, c); });
    return out;
}

std::string StoredText(std::string_view text) {
    // A text without a foreign character is stored exactly as it stands.
    bool foreign = false;
    for (size_t i = 0; i < text.size() && !foreign; ++i) {
        char32_t c = 0;
        foreign = TakeForeign(text, i, c) > 0;
    }
    if (!foreign) return std::string(text);
    std::string out(kUtf8StoredMark);
    ForEachCharacter(TextToUtf16(text), [&](char32_t c) { PutUtf8(out, c); });
    return out;
}

std::string TextOfStored(std::string_view stored, bool* valid) {
    if (valid) *valid = true;
    if (stored.substr(0, kUtf8StoredMark.size()) != kUtf8StoredMark) return std::string(stored);
    std::string out;
    for (size_t i = kUtf8StoredMark.size(); i < stored.size();) {
        char32_t c = 0;
        size_t length = TakeUtf8(stored, i, c);
        if (length == 0) {
            if (valid) *valid = false;
            c = kReplacement;
            length = 1;
        }
        PutText(out, c);
        i += length;
    }
    return out;
}

}  // namespace tilerack
