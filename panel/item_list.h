#pragma once
// The panel's items in list order, top to bottom, each in one entry with its
// button: moving or deleting an item moves or deletes its button with it, so
// the two can never fall out of step. The order is that of the strip, of the
// items menu and of the records in the item file.
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "items/shortcut.h"
#include "panel/flat_button.h"

namespace tilerack {

struct ItemEntry {
    explicit ItemEntry(std::unique_ptr<TShortCut> owned);
    ItemEntry(const ItemEntry&) = delete;
    ItemEntry& operator=(const ItemEntry&) = delete;

    std::unique_ptr<TShortCut> item;
    TItemButton button;  // item->Button names it; button.item names the item
};

class ItemList {
public:
    using Entries = std::vector<std::unique_ptr<ItemEntry>>;

    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    ItemEntry& At(size_t index) const { return *entries_[index]; }
    Entries::const_iterator begin() const { return entries_.begin(); }
    Entries::const_iterator end() const { return entries_.end(); }

    // Takes the item in at `index` (at the end when past it) together with a
    // new button, and links the two to each other.
    ItemEntry& Insert(size_t index, std::unique_ptr<TShortCut> item);
    ItemEntry& Append(std::unique_ptr<TShortCut> item) { return Insert(Count(), std::move(item)); }

    std::optional<size_t> IndexOf(const TShortCut* item) const;
    bool Contains(const TShortCut* item) const { return IndexOf(item).has_value(); }
    // The entry whose button this is; nothing for any other button.
    ItemEntry* EntryOf(const TFlatButton* button) const;

    // Swaps the item with its neighbour `delta` places down (up when
    // negative); false, changing nothing, when that place is outside the list.
    bool Move(const TShortCut* item, int delta);
    // Moves the item to index `to`, the items between shifting by one; false,
    // changing nothing, when it is not listed, `to` is past the end or the
    // item stands there already.
    bool MoveTo(const TShortCut* item, size_t to);
    // Removes the item with its button; false when it is not listed.
    bool Remove(const TShortCut* item);
    void Clear() { entries_.clear(); }

    // The items in order, for saving.
    std::vector<const TShortCut*> Items() const;

private:
    Entries entries_;
};

}  // namespace tilerack
