#include "panel/type_to_find.h"

#include <algorithm>

#include "panel/item_insert.h"

namespace tilerack {

char LowerCp1251(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
    if (u >= 0xC0 && u <= 0xDF) return static_cast<char>(u + 32);  // А..Я
    // Capitals outside the two runs, with their small letters: Ђ Ѓ Љ Њ Ќ Ћ Џ
    // Ў Ј Ґ Ё Є Ї І Ѕ.
    static constexpr unsigned char kPairs[][2] = {
        {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
        {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
    };
    for (const auto& pair : kPairs)
        if (u == pair[0]) return static_cast<char>(pair[1]);
    return c;
}

std::string SearchName(const std::string& caption, const std::string& fileName) {
    return caption.empty() ? NamePart(fileName) : caption;
}

namespace {

bool StartsWith(const std::string& name, const std::string& lowerPrefix) {
    if (name.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i)
        if (LowerCp1251(name[i]) != lowerPrefix[i]) return false;
    return true;
}

// The first item from `start` on, wrapping round, whose name starts with `prefix`; -1 for none.
int FindFrom(const std::vector<std::string>& names, int start, const std::string& prefix) {
    const int count = static_cast<int>(names.size());
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        if (StartsWith(names[static_cast<size_t>(i)], prefix)) return i;
    }
    return -1;
}

}  // namespace

int TypeToFind::Type(char letter, uint32_t timeMs, const std::vector<std::string>& names, int current) {
    if (typed_.empty() || timeMs - lastTime_ > kPauseMs) typed_.clear();
    lastTime_ = timeMs;
    typed_ += LowerCp1251(letter);
    const int count = static_cast<int>(names.size());
    if (count == 0) return current;
    const bool inRange = current >= 0 && current < count;
    // One letter, or the same letter again: the next item with it. A longer
    // prefix may still fit the focused item, so the search starts there.
    const bool repeated = std::all_of(typed_.begin(), typed_.end(), [&](char c) { return c == typed_[0]; });
    const std::string prefix = repeated ? typed_.substr(0, 1) : typed_;
    const int start = !inRange ? 0 : repeated ? (current + 1) % count : current;
    const int found = FindFrom(names, start, prefix);
    return found >= 0 ? found : current;
}

}  // namespace tilerack
