#include "panel/button_strip.h"

namespace tilerack {

ButtonStrip::ButtonStrip() {
    for (TFlatButton* b : {&hide_, &menu_, &close_}) b->id = nextId_++;
}

ItemEntry& ButtonStrip::InsertItem(size_t index, std::unique_ptr<TShortCut> item) {
    ItemEntry& entry = items_.Insert(index, std::move(item));
    entry.button.id = nextId_++;
    Added(entry.button);
    OrderChanged();
    return entry;
}

bool ButtonStrip::MoveItem(const TShortCut* item, size_t to) {
    if (!items_.MoveTo(item, to)) return false;
    OrderChanged();
    return true;
}

bool ButtonStrip::RemoveItem(const TShortCut* item) {
    const std::optional<size_t> at = items_.IndexOf(item);
    if (!at) return false;
    Removing(items_.At(*at).button);
    items_.Remove(item);
    OrderChanged();
    return true;
}

std::vector<TFlatButton*> ButtonStrip::Buttons() const {
    std::vector<TFlatButton*> all;
    all.reserve(items_.Count() + 3);
    for (const auto& entry : items_) all.push_back(&entry->button);
    all.push_back(&hide_);
    all.push_back(&menu_);
    all.push_back(&close_);
    return all;
}

TFlatButton* ButtonStrip::Find(ButtonId id) const {
    if (id == kNoButton) return nullptr;
    for (TFlatButton* b : {&hide_, &menu_, &close_})
        if (b->id == id) return b;
    ItemEntry* entry = EntryOf(id);
    return entry ? &entry->button : nullptr;
}

TFlatButton* ButtonStrip::HitTest(int x, int y) const {
    // The strip's order backwards: the fixed buttons lie above the items.
    for (TFlatButton* b : {&close_, &menu_, &hide_})
        if (b->visible && b->bounds.Contains(x, y)) return b;
    for (size_t i = items_.Count(); i-- > 0;) {
        TFlatButton& b = items_.At(i).button;
        if (b.visible && b.bounds.Contains(x, y)) return &b;
    }
    return nullptr;
}

long ButtonStrip::PositionOf(ButtonId id) const {
    if (id == kNoButton) return 0;
    long position = 1;
    for (const TFlatButton* b : Buttons()) {
        if (b->id == id) return position;
        ++position;
    }
    return 0;
}

TFlatButton* ButtonStrip::AtPosition(long position) const {
    const long items = static_cast<long>(items_.Count());
    if (position >= 1 && position <= items) return &items_.At(static_cast<size_t>(position - 1)).button;
    TFlatButton* fixed[] = {&hide_, &menu_, &close_};
    if (position > items && position <= items + 3) return fixed[position - items - 1];
    return nullptr;
}

ItemEntry* ButtonStrip::EntryOf(ButtonId id) const {
    if (id == kNoButton) return nullptr;
    for (const auto& entry : items_)
        if (entry->button.id == id) return entry.get();
    return nullptr;
}

void ButtonStrip::Added(const TFlatButton& b) {
    for (StripObserver* o : observers_) o->ButtonAdded(b);
}

void ButtonStrip::Removing(const TFlatButton& b) {
    for (StripObserver* o : observers_) o->ButtonRemoving(b);
}

void ButtonStrip::OrderChanged() {
    for (StripObserver* o : observers_) o->OrderChanged();
}

TShortCut* ButtonStrip::ItemOf(ButtonId id) const {
    const ItemEntry* entry = EntryOf(id);
    return entry ? entry->item.get() : nullptr;
}

std::vector<int> ButtonStrip::ItemTops() const {
    std::vector<int> tops;
    tops.reserve(items_.Count());
    for (const auto& entry : items_) tops.push_back(entry->button.bounds.top);
    return tops;
}

std::vector<StripEntrySpan> ButtonStrip::EntrySpans() const {
    std::vector<StripEntrySpan> spans;
    spans.reserve(items_.Count());
    for (const auto& entry : items_) {
        const TItemButton& b = entry->button;
        spans.push_back(StripEntrySpan{b.bounds.top, b.bounds.height, b.separator, false});
    }
    return spans;
}

std::vector<bool> ButtonStrip::Separators() const {
    std::vector<bool> separators;
    separators.reserve(items_.Count());
    for (const auto& entry : items_) separators.push_back(entry->button.separator);
    return separators;
}

}  // namespace tilerack
