#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items/shortcut.h"

namespace tilerack {
namespace {

// Counts notifications and checks that each names the item as its sender.
struct ChangeCounter {
    int count = 0;
    void Bind(TShortCut& item) {
        item.OnChange = [this, &item](TShortCut& sender) {
            EXPECT_EQ(&sender, &item);
            ++count;
        };
    }
};

TEST(ShortcutItem, NewItemHasDefaults) {
    TShortCut item;
    EXPECT_TRUE(item.TrackDrives);
    EXPECT_EQ(item.Params, "");
    EXPECT_EQ(item.FileName, "");
    EXPECT_EQ(item.Caption, "");
    EXPECT_EQ(item.WorkDir, "");
    EXPECT_EQ(item.Hint, "");
    EXPECT_EQ(item.Icon.Width(), 0);
    EXPECT_EQ(item.Icon.Height(), 0);
    EXPECT_EQ(item.Button, nullptr);
    EXPECT_FALSE(item.OnChange);
}

TEST(ShortcutItem, EachTextSetterFiresOnlyOnRealChange) {
    using Setter = void (TShortCut::*)(const std::string&);
    const std::vector<std::pair<Setter, std::string TShortCut::*>> fields = {
        {&TShortCut::SetParams, &TShortCut::Params},   {&TShortCut::SetFileName, &TShortCut::FileName},
        {&TShortCut::SetCaption, &TShortCut::Caption}, {&TShortCut::SetWorkDir, &TShortCut::WorkDir},
        {&TShortCut::SetHint, &TShortCut::Hint}};
    for (const auto& [setter, field] : fields) {
        TShortCut item;
        ChangeCounter changes;
        changes.Bind(item);
        (item.*setter)("Notepad");
        EXPECT_EQ(item.*field, "Notepad");
        EXPECT_EQ(changes.count, 1);
        (item.*setter)("Notepad");
        EXPECT_EQ(changes.count, 1) << "same value must stay silent";
        (item.*setter)("NOTEPAD");
        EXPECT_EQ(item.*field, "NOTEPAD");
        EXPECT_EQ(changes.count, 2) << "a change of letter case is a change";
        (item.*setter)("");
        EXPECT_EQ(changes.count, 3);
    }
}

TEST(ShortcutItem, TrackDrivesSetterFiresOnlyOnRealChange) {
    TShortCut item;
    ChangeCounter changes;
    changes.Bind(item);
    item.SetTrackDrives(true);
    EXPECT_EQ(changes.count, 0);
    item.SetTrackDrives(false);
    EXPECT_FALSE(item.TrackDrives);
    EXPECT_EQ(changes.count, 1);
    item.SetTrackDrives(false);
    EXPECT_EQ(changes.count, 1);
}

TEST(ShortcutItem, UnboundItemChangesSilently) {
    TShortCut item;
    item.SetCaption("Калькулятор");
    item.SetTrackDrives(false);
    item.Icon.SetSize(32, 32);
    item.DoChange();
    EXPECT_EQ(item.Caption, "Калькулятор");
    EXPECT_FALSE(item.TrackDrives);
    EXPECT_EQ(item.Icon.Width(), 32);
}

TEST(ShortcutItem, EveryIconModificationFiresOnce) {
    TShortCut item;
    ChangeCounter changes;
    changes.Bind(item);
    item.Icon.SetSize(32, 32);
    EXPECT_EQ(changes.count, 1);
    item.Icon.SetPixel(3, 4, Rgb(255, 0, 0));
    EXPECT_EQ(changes.count, 2);
    item.Icon.Fill(Rgb(0, 0, 255));
    EXPECT_EQ(changes.count, 3);
    item.Icon.Draw(1, 1, TBitmap(4, 4));
    EXPECT_EQ(changes.count, 4);
    const TBitmap same = item.Icon;
    item.Icon.Assign(same);
    EXPECT_EQ(changes.count, 5) << "assigning an image counts even when it is the same";
    {
        BitmapUpdate batch(item.Icon);
        item.Icon.SetPixel(0, 0, 0);
        item.Icon.SetPixel(1, 0, 0);
    }
    EXPECT_EQ(changes.count, 6) << "a grouped update is one change";
}

TEST(ShortcutItem, PaintingBeforeBindingFiresNothingLater) {
    TShortCut item;
    item.Icon.SetSize(32, 32);
    item.Icon.Fill(Rgb(1, 2, 3));
    ChangeCounter changes;
    changes.Bind(item);
    EXPECT_EQ(changes.count, 0);
    item.DoChange();
    EXPECT_EQ(changes.count, 1);
}

}  // namespace
}  // namespace tilerack
