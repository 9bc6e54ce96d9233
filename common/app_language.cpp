#include "common/app_language.h"

#include <cctype>

namespace tilerack {

std::optional<Language> LanguageOfCode(const std::string& code) {
    std::string lower;
    for (const char c : code)
        if (c != ' ') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "ru") return Language::Russian;
    if (lower == "en") return Language::English;
    return std::nullopt;
}

}  // namespace tilerack
