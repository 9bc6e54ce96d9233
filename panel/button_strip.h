#pragma once
// The strip: every windowless button of the panel, the three fixed ones and
// one per item, each under an identity that lasts as long as the button. It
// has one order, the items top to bottom, then the hide, menu and close
// buttons, which drawing (later ones on top), hit testing (the topmost
// first), the tooltips, the accessible children and the keyboard all use.
// Adding, moving or removing a button is one call here, and whoever keeps
// something per button (the pointer, the tooltips, the accessible object,
// the focus) hears of it from the strip.
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "panel/drop_place.h"
#include "panel/item_list.h"

namespace tilerack {

class StripObserver {
public:
    virtual ~StripObserver() = default;
    virtual void ButtonAdded(const TFlatButton& button) = 0;
    // Before the button goes.
    virtual void ButtonRemoving(const TFlatButton& button) = 0;
    // After a button came, went or moved.
    virtual void OrderChanged() = 0;
};

// Told only that the order changed (a button came, went or moved).
class OrderObserver final : public StripObserver {
public:
    explicit OrderObserver(std::function<void()> changed) : changed_(std::move(changed)) {}
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton&) override {}
    void OrderChanged() override { changed_(); }

private:
    std::function<void()> changed_;
};

class ButtonStrip {
public:
    ButtonStrip();
    ButtonStrip(const ButtonStrip&) = delete;
    ButtonStrip& operator=(const ButtonStrip&) = delete;

    // Told of every change from now on, in the order they were added.
    void Watch(StripObserver* observer) { observers_.push_back(observer); }

    TFlatButton& Hide() { return hide_; }
    const TFlatButton& Hide() const { return hide_; }
    TFlatButton& Menu() { return menu_; }
    const TFlatButton& Menu() const { return menu_; }
    TFlatButton& Close() { return close_; }
    bool IsFixed(const TFlatButton* b) const { return b == &hide_ || b == &menu_ || b == &close_; }
    const ItemList& Items() const { return items_; }

    // Takes the item in at `index` (at the end when past it) with its new button.
    ItemEntry& InsertItem(size_t index, std::unique_ptr<TShortCut> item);
    // Moves the item with its button to list index `to`; false, changing
    // nothing, when it is not listed, `to` is past the end or it stands there.
    bool MoveItem(const TShortCut* item, size_t to);
    // Removes the item with its button; false when it is not listed.
    bool RemoveItem(const TShortCut* item);
    // Every item goes at once, untold: the panel is closing or starting.
    void ClearItems() { items_.Clear(); }

    // The buttons in the strip's one order.
    std::vector<TFlatButton*> Buttons() const;
    // The button with this identity, or none.
    TFlatButton* Find(ButtonId id) const;
    // The topmost visible button at a client point, or none.
    TFlatButton* HitTest(int x, int y) const;
    // A button's place in the order from 1 (the accessible child id); 0 for
    // none. And the button at such a place.
    long PositionOf(ButtonId id) const;
    TFlatButton* AtPosition(long position) const;
    // The item entry of a button, or none (fixed buttons have none).
    ItemEntry* EntryOf(ButtonId id) const;
    // The item of a button, or none.
    TShortCut* ItemOf(ButtonId id) const;
    // The client row of each item button's top, in list order.
    std::vector<int> ItemTops() const;
    // Each entry's span as laid out now, in list order: its client rows and
    // whether it is a separator (drops and drags find their places on these).
    std::vector<StripEntrySpan> EntrySpans() const;
    // Which entries are separators, in list order (the strip's layout).
    std::vector<bool> Separators() const;
    // The first item the strip shows: 0 unless the keyboard or a drag scrolled it.
    int FirstShown() const { return firstShown_; }
    void SetFirstShown(int first) { firstShown_ = first; }

private:
    void Added(const TFlatButton& b);
    void Removing(const TFlatButton& b);
    void OrderChanged();

    ItemList items_;
    mutable TFlatButton hide_, menu_, close_;
    ButtonId nextId_ = 1;
    int firstShown_ = 0;
    std::vector<StripObserver*> observers_;
};

}  // namespace tilerack
