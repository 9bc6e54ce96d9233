#include "panel/item_list.h"

#include <algorithm>
#include <utility>

namespace tilerack {

ItemEntry::ItemEntry(std::unique_ptr<TShortCut> owned) : item(std::move(owned)) {
    button.item = item.get();
    item->Button = &button;
}

ItemEntry& ItemList::Insert(size_t index, std::unique_ptr<TShortCut> item) {
    index = std::min(index, entries_.size());
    auto entry = std::make_unique<ItemEntry>(std::move(item));
    ItemEntry& added = *entry;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    return added;
}

std::optional<size_t> ItemList::IndexOf(const TShortCut* item) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->item.get() == item) return i;
    return std::nullopt;
}

ItemEntry* ItemList::EntryOf(const TFlatButton* button) const {
    for (const auto& entry : entries_)
        if (&entry->button == button) return entry.get();
    return nullptr;
}

bool ItemList::Move(const TShortCut* item, int delta) {
    const std::optional<size_t> from = IndexOf(item);
    if (!from) return false;
    const long to = static_cast<long>(*from) + delta;
    if (to < 0 || to >= static_cast<long>(entries_.size())) return false;
    return MoveTo(item, static_cast<size_t>(to));
}

bool ItemList::MoveTo(const TShortCut* item, size_t to) {
    const std::optional<size_t> from = IndexOf(item);
    if (!from || to >= entries_.size() || to == *from) return false;
    const auto at = [this](size_t i) { return entries_.begin() + static_cast<std::ptrdiff_t>(i); };
    if (to < *from)
        std::rotate(at(to), at(*from), at(*from + 1));
    else
        std::rotate(at(*from), at(*from + 1), at(to + 1));
    return true;
}

bool ItemList::Remove(const TShortCut* item) {
    const std::optional<size_t> at = IndexOf(item);
    if (!at) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*at));
    return true;
}

std::vector<const TShortCut*> ItemList::Items() const {
    std::vector<const TShortCut*> items;
    items.reserve(entries_.size());
    for (const auto& entry : entries_) items.push_back(entry->item.get());
    return items;
}

}  // namespace tilerack
