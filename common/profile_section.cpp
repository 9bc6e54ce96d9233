#include "common/profile_section.h"

#include <cstring>

namespace tilerack {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(const std::string& line, size_t keyLength, const char* key) {
    if (keyLength != std::strlen(key)) return false;
    for (size_t i = 0; i < keyLength; ++i)
        if (AsciiLower(line[i]) != AsciiLower(key[i])) return false;
    return true;
}

}  // namespace

std::optional<std::string> ProfileSection::Value(const char* key) const {
    for (const std::string& line : lines_) {
        const size_t equals = line.find('=');
        // A line of the key alone is the key's first line, without a value.
        if (equals == std::string::npos) {
            if (SameKey(line, line.size(), key)) return std::nullopt;
            continue;
        }
        if (!SameKey(line, equals, key)) continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

}  // namespace tilerack
