#pragma once
// One section of a settings file, read in one go: the "key=value" lines the
// system hands back for a whole section, looked up as the system looks up a
// single key. Reading a section is one visit to the file; reading key by key
// is one visit per key, each a file look-up of its own.
#include <optional>
#include <string>
#include <vector>

namespace tilerack {

class ProfileSection {
public:
    ProfileSection() = default;
    // `lines` as the system returns a section: one "key=value" per line, keys
    // and values already trimmed. A line without '=' holds no value.
    explicit ProfileSection(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // The value of the first line whose key matches `key` regardless of case
    // (ASCII); a value wrapped in a pair of the same quote marks comes without
    // them. Nothing when no line has that key, or its first line has no '='.
    std::optional<std::string> Value(const char* key) const;

private:
    std::vector<std::string> lines_;
};

}  // namespace tilerack
