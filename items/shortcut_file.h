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
    int32_t count = 0;    // the records the file says it holds
    int invalidTexts = 0; // items with a text whose UTF-8 is not valid (read with U+FFFD)
    // The file's bytes up to the end of the last item handed over; 0 while
    // the count itself is still to be read.
    size_t consumed = 0;
    bool Damaged() const { return !error.empty(); }
    bool Complete() const { return Damaged() || (consumed != 0 && loaded >= count); }
};

using ShortcutAppend = std::function<void(std::unique_ptr<TShortCut>)>;

// Reads the file's bytes record by record. Each complete item is handed to
// `append` before the next record is read (the panel adds it to its list and
// makes its button). A damaged file stops the load at the damage: the items
// before it have been handed over, the error text says what was wrong, and
// nothing is thrown.
ShortcutListLoad LoadShortcutList(const std::vector<uint8_t>& bytes, const ShortcutAppend& append);

// A long list in two steps, so the panel shows before all of it is read.
// `head` holds the file's first bytes (at least its count, never the whole
// file): at most `limit` items are read from it, and only records that end
// before it does. A record it cuts off, or one it cannot read, is left to
// the second step; the head alone never finds the file damaged.
ShortcutListLoad LoadShortcutListHead(const std::vector<uint8_t>& head, int limit, const ShortcutAppend& append);
// The second step: `rest` holds the file's bytes from `head.consumed` to its
// end. The items and the error come out as the whole file's load gives them.
ShortcutListLoad LoadShortcutListRest(ShortcutListLoad head, const std::vector<uint8_t>& rest,
                                      const ShortcutAppend& append);

// The file's bytes from `offset`, `count` of them.
using ByteRangeReader = std::function<std::vector<uint8_t>(uint64_t offset, uint64_t count)>;

// The first step of a file of `size` bytes read through `read`: only as far
// as the first `shown` items need. It reads a first piece of `firstPiece`
// bytes and, while the items read fall short of `shown` (longer records than
// expected), pieces of twice the size after them. A file no longer than two
// first pieces, or a remainder no longer than the next piece, is read to
// its end. Either the load is complete, or `shown` items are loaded and
// LoadShortcutListRest reads the rest from `consumed` on.
ShortcutListLoad LoadShortcutListStart(uint64_t size, int shown, uint64_t firstPiece, const ByteRangeReader& read,
                                       const ShortcutAppend& append);

}  // namespace tilerack
