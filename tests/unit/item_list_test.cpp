#include "panel/item_list.h"

#include <gtest/gtest.h>

#include <string>

namespace tilerack {
namespace {

std::unique_ptr<TShortCut> Named(const std::string& caption) {
    auto item = std::make_unique<TShortCut>();
    item->Caption = caption;
    return item;
}

std::string Order(const ItemList& list) {
    std::string order;
    for (const auto& entry : list) {
        // Every entry's item and button name each other, whatever happened before.
        EXPECT_EQ(entry->item->Button, &entry->button);
        EXPECT_EQ(entry->button.item, entry->item.get());
        order += entry->item->Caption;
    }
    return order;
}

TEST(ItemList, InsertedItemsAndTheirButtonsNameEachOther) {
    ItemList list;
    list.Append(Named("a"));
    list.Append(Named("c"));
    ItemEntry& b = list.Insert(1, Named("b"));
    list.Insert(99, Named("d"));  // past the end: appended
    EXPECT_EQ(Order(list), "abcd");
    EXPECT_EQ(list.EntryOf(&b.button), &b);
    EXPECT_EQ(list.IndexOf(b.item.get()), 1u);
}

TEST(ItemList, ButtonsStayWhereTheyAreWhileTheListGrows) {
    ItemList list;
    TShortCut* first = list.Append(Named("a")).item.get();
    TItemButton* button = first->Button;
    for (int i = 0; i < 100; ++i) list.Insert(0, Named("x"));
    EXPECT_EQ(first->Button, button);
    EXPECT_EQ(list.EntryOf(button)->item.get(), first);
}

TEST(ItemList, MovingAnItemMovesItsButtonWithIt) {
    ItemList list;
    for (const char* c : {"a", "b", "c"}) list.Append(Named(c));
    TShortCut* b = list.At(1).item.get();
    EXPECT_TRUE(list.Move(b, -1));
    EXPECT_EQ(Order(list), "bac");
    EXPECT_FALSE(list.Move(b, -1)) << "already first";
    EXPECT_TRUE(list.Move(b, +1));
    EXPECT_TRUE(list.Move(b, +1));
    EXPECT_EQ(Order(list), "acb");
    EXPECT_FALSE(list.Move(b, +1)) << "already last";
    EXPECT_EQ(Order(list), "acb");
}

TEST(ItemList, RemovingAnItemRemovesItsButtonAndNothingElse) {
    ItemList list;
    for (const char* c : {"a", "b", "c"}) list.Append(Named(c));
    TShortCut* b = list.At(1).item.get();
    const TItemButton* buttonOfB = b->Button;
    EXPECT_TRUE(list.Remove(b));
    EXPECT_EQ(Order(list), "ac");
    EXPECT_EQ(list.EntryOf(buttonOfB), nullptr);

    TShortCut stranger;
    TFlatButton stripButton;
    EXPECT_FALSE(list.Remove(&stranger));
    EXPECT_FALSE(list.Move(&stranger, 1));
    EXPECT_FALSE(list.Move(nullptr, 1));
    EXPECT_EQ(list.EntryOf(&stripButton), nullptr);
    EXPECT_EQ(list.EntryOf(nullptr), nullptr);
    EXPECT_EQ(Order(list), "ac");
}

TEST(ItemList, ItemsForSavingComeInListOrder) {
    ItemList list;
    for (const char* c : {"a", "b"}) list.Append(Named(c));
    list.Move(list.At(0).item.get(), 1);
    const std::vector<const TShortCut*> items = list.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->Caption, "b");
    EXPECT_EQ(items[1]->Caption, "a");
}

TEST(ItemListMoveTo, MovesOneItemAndShiftsThoseBetween) {
    ItemList list;
    for (const char* c : {"a", "b", "c", "d"}) list.Append(Named(c));
    auto order = [&] {
        std::string s;
        for (const auto& e : list) s += e->item->Caption;
        return s;
    };
    EXPECT_TRUE(list.MoveTo(list.At(0).item.get(), 2));
    EXPECT_EQ(order(), "bcad");
    EXPECT_TRUE(list.MoveTo(list.At(3).item.get(), 0));
    EXPECT_EQ(order(), "dbca");
    EXPECT_FALSE(list.MoveTo(list.At(1).item.get(), 4));
    EXPECT_EQ(order(), "dbca");
}

}  // namespace
}  // namespace tilerack
