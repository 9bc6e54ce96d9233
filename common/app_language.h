#pragma once
// The language the program speaks, chosen at run time, and a text of the
// program in both of its languages. A text reads as the one of the language
// spoken at that moment, so a switch shows in everything shown after it.
// Both halves are required and non-empty, and the English one is ASCII: a
// text that breaks this does not compile (the constructor runs at compile
// time and stops there).
#include <atomic>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <string>

namespace tilerack {

enum class Language : uint8_t { Russian, English };

// The language spoken now: Russian until set.
inline std::atomic<Language>& SpokenLanguageStore() {
    static std::atomic<Language> spoken{Language::Russian};
    return spoken;
}
inline Language SpokenLanguage() { return SpokenLanguageStore().load(std::memory_order_relaxed); }
inline void SetSpokenLanguage(Language language) { SpokenLanguageStore().store(language, std::memory_order_relaxed); }

// The language's code in the settings file ("ru", "en") and back (any case);
// nothing for an unknown code.
inline const char* LanguageCode(Language language) { return language == Language::English ? "en" : "ru"; }
std::optional<Language> LanguageOfCode(const std::string& code);

template <typename Char>
class BilingualText {
public:
    consteval BilingualText(const Char* russian, const Char* english) : russian_(russian), english_(english) {
        if (!russian || !russian[0] || !english || !english[0]) throw "a text needs both languages";
        for (const Char* c = english; *c; ++c)
            if (static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(*c)) > 0x7F)
                throw "an English text is ASCII";
    }

    // A text that reads the same to the speakers of both languages (the
    // languages' own names).
    static consteval BilingualText Same(const Char* text) { return BilingualText(text); }

    const Char* In(Language language) const { return language == Language::English ? english_ : russian_; }
    const Char* Get() const { return In(SpokenLanguage()); }
    operator const Char*() const { return Get(); }
    operator std::basic_string<Char>() const { return Get(); }

    friend std::basic_string<Char> operator+(const BilingualText& a, const std::basic_string<Char>& b) {
        return a.Get() + b;
    }
    friend std::basic_string<Char> operator+(const std::basic_string<Char>& a, const BilingualText& b) {
        return a + b.Get();
    }
    friend std::basic_string<Char>& operator+=(std::basic_string<Char>& a, const BilingualText& b) {
        return a += b.Get();
    }
    friend bool operator==(const std::basic_string<Char>& a, const BilingualText& b) { return a == b.Get(); }

private:
    consteval explicit BilingualText(const Char* text) : russian_(text), english_(text) {
        if (!text || !text[0]) throw "a text is not empty";
    }

    const Char* russian_;
    const Char* english_;
};

using Text = BilingualText<char>;      // code page 1251 / ASCII
using TextW = BilingualText<wchar_t>;  // UTF-16

}  // namespace tilerack
