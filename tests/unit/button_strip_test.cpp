#include "panel/button_strip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tilerack {
namespace {

std::string Order(const ButtonStrip& strip) {
    std::string order;
    for (const TFlatButton* b : strip.Buttons()) {
        if (const ItemEntry* entry = strip.EntryOf(b->id)) order += entry->item->Caption;
        else order += b->hint;
    }
    return order;
}

// What the collaborators of the strip hear, in order.
struct Listener : StripObserver {
    void ButtonAdded(const TFlatButton& b) override { heard.append(1, '+').append(std::to_string(b.id)); }
    void ButtonRemoving(const TFlatButton& b) override { heard.append(1, '-').append(std::to_string(b.id)); }
    void OrderChanged() override { heard += "."; }
    std::string heard;
};

struct StripWithItems : ::testing::Test {
    void SetUp() override {
        strip.Hide().hint = "H";
        strip.Menu().hint = "M";
        strip.Close().hint = "C";
        for (const char* c : {"a", "b", "c"}) Add(strip.Items().Count(), c);
        strip.Watch(&listener);
    }
    ItemEntry& Add(size_t at, const char* caption) {
        ItemEntry& entry = strip.InsertItem(at, std::make_unique<TShortCut>());
        entry.item->Caption = caption;
        return entry;
    }
    TShortCut* Item(size_t i) { return strip.Items().At(i).item.get(); }
    ButtonStrip strip;
    Listener listener;
};

TEST_F(StripWithItems, OneOrderItemsFirstThenHideMenuClose) {
    EXPECT_EQ(Order(strip), "abcHMC");
    EXPECT_EQ(strip.PositionOf(strip.Items().At(0).button.id), 1);
    EXPECT_EQ(strip.PositionOf(strip.Hide().id), 4);
    EXPECT_EQ(strip.PositionOf(strip.Close().id), 6);
    EXPECT_EQ(strip.PositionOf(kNoButton), 0);
    for (long p = 1; p <= 6; ++p) EXPECT_EQ(strip.PositionOf(strip.AtPosition(p)->id), p);
    EXPECT_EQ(strip.AtPosition(0), nullptr);
    EXPECT_EQ(strip.AtPosition(7), nullptr);
    EXPECT_TRUE(strip.IsFixed(&strip.Menu()));
    EXPECT_FALSE(strip.IsFixed(&strip.Items().At(0).button));
    EXPECT_EQ(strip.EntryOf(strip.Menu().id), nullptr);
}

TEST_F(StripWithItems, IdentitiesLastThroughMovesAndAreNeverReused) {
    const ButtonId a = strip.Items().At(0).button.id, c = strip.Items().At(2).button.id;
    EXPECT_TRUE(strip.MoveItem(Item(0), 2));
    EXPECT_EQ(Order(strip), "bcaHMC");
    EXPECT_EQ(strip.Find(a), &strip.Items().At(2).button);
    EXPECT_EQ(strip.PositionOf(a), 3);
    EXPECT_EQ(listener.heard, ".");
    EXPECT_TRUE(strip.MoveItem(Item(2), 0));
    EXPECT_EQ(Order(strip), "abcHMC");
    EXPECT_FALSE(strip.MoveItem(Item(0), 0)) << "where it stands";
    EXPECT_FALSE(strip.MoveItem(Item(0), 3)) << "past the end";
    EXPECT_EQ(listener.heard, "..");

    EXPECT_TRUE(strip.RemoveItem(Item(2)));
    EXPECT_EQ(listener.heard, "..-" + std::to_string(c) + ".");
    EXPECT_EQ(strip.Find(c), nullptr);
    Add(1, "d");
    EXPECT_EQ(Order(strip), "adbHMC");
    const ButtonId d = strip.Items().At(1).button.id;
    EXPECT_GT(d, c);
    EXPECT_EQ(listener.heard, "..-" + std::to_string(c) + ".+" + std::to_string(d) + ".");
    EXPECT_FALSE(strip.RemoveItem(nullptr));
}

TEST_F(StripWithItems, HitTestFindsTheTopmostVisibleButton) {
    for (size_t i = 0; i < 3; ++i) strip.Items().At(i).button.bounds = Rect{0, 12 + 34 * static_cast<int>(i), 60, 34};
    strip.Menu().bounds = Rect{36, 90, 24, 11};  // over the third item
    strip.Hide().bounds = Rect{0, 0, 49, 11};
    strip.Hide().visible = false;
    EXPECT_EQ(strip.HitTest(10, 20), &strip.Items().At(0).button);
    EXPECT_EQ(strip.HitTest(40, 95), &strip.Menu());
    EXPECT_EQ(strip.HitTest(10, 95), &strip.Items().At(2).button);
    EXPECT_EQ(strip.HitTest(10, 5), nullptr) << "the hidden hide bar";
    strip.Items().At(1).button.visible = false;
    EXPECT_EQ(strip.HitTest(10, 50), nullptr);
}

// The item commands find their item by the button of the last right press:
// a fixed button has none, and a removed item's button names nothing more.
// New items go in by the tops of the buttons in list order.
TEST_F(StripWithItems, ItemOfAButtonAndTheTopsFollowTheList) {
    for (size_t i = 0; i < 3; ++i) strip.Items().At(i).button.bounds.top = 10 * static_cast<int>(i);
    const ButtonId b = strip.Items().At(1).button.id;
    EXPECT_EQ(strip.ItemOf(b), Item(1));
    EXPECT_EQ(strip.ItemOf(strip.Hide().id), nullptr);
    EXPECT_EQ(strip.ItemOf(kNoButton), nullptr);
    ASSERT_TRUE(strip.MoveItem(Item(1), 0));
    EXPECT_EQ(strip.ItemTops(), (std::vector<int>{10, 0, 20}));
    ASSERT_TRUE(strip.RemoveItem(strip.ItemOf(b)));
    EXPECT_EQ(strip.ItemOf(b), nullptr);
    EXPECT_EQ(strip.ItemTops(), (std::vector<int>{0, 20}));
}

}  // namespace
}  // namespace tilerack
