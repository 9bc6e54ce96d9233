#pragma once
// "shorts.dat": a count followed by one record per item.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "items/shortcut.h"

namespace tilerack {

inline constexpr const char* kShortcutFileName = "shorts.dat";

// Receives the file's bytes piece by piece, in order.
using ByteSink = std::function<void(const uint8_t* data, size_t size)>;

// The whole file for the items in list order.
std::vector<uint8_t> SaveShortcutList(const std::vector<const TShortCut*>& items);
// The same bytes handed to `put` in pieces of about kShortcutFilePiece bytes
// (a piece ends after the record that reaches it), so a long list goes to the
// disk in a few writes without first being built whole in memory. A piece of
// 256 KB stays in the processor's cache between its filling and its write.
inline constexpr size_t kShortcutFilePiece = 256 * 1024;
void WriteShortcutList(const std::vector<const TShortCut*>& items, const ByteSink& put);

struct ShortcutListLoad {
    int loaded = 0;       // items handed to the caller
    std::string error;    // empty when the whole file was read
    bool Damaged() const { return !error.empty(); }
};

// Reads the file's bytes record by record. Each complete item is handed to
// `append` before the next record is read (the panel adds it to its list and
// makes its button). A damaged file stops the load at the damage: the items
// before it have been handed over, the error text says what was wrong, and
// nothing is thrown.
ShortcutListLoad LoadShortcutList(const std::vector<uint8_t>& bytes,
                                  const std::function<void(std::unique_ptr<TShortCut>)>& append);

}  // namespace tilerack
