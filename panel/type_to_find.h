#pragma once
// Finding an item by typing on the focused panel: the letters typed within a
// second of each other make one prefix, and the focus moves to the next item
// whose name starts with it (case does not matter, code page 1251); the same
// letter typed again and again steps through the items that start with it.
// When nothing matches, the focus stays where it is.
#include <cstdint>
#include <string>
#include <vector>

namespace tilerack {

// The lower-case form of a code page 1251 character (Latin and Cyrillic).
char LowerCp1251(char c);

// The name an item is found by: its caption, or the name part of its file
// when it has none.
std::string SearchName(const std::string& caption, const std::string& fileName);

class TypeToFind {
public:
    // Letters further apart than this start a new prefix.
    static constexpr uint32_t kPauseMs = 1000;

    // `letter` typed at `timeMs` (a millisecond clock that may wrap) with the
    // focus on item `current` (-1 for none) among `names`: the item to focus.
    int Type(char letter, uint32_t timeMs, const std::vector<std::string>& names, int current);
    // The prefix typed so far.
    const std::string& Typed() const { return typed_; }

private:
    std::string typed_;
    uint32_t lastTime_ = 0;
};

}  // namespace tilerack
