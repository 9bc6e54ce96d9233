#include <gtest/gtest.h>

#include <map>

#include "common/panel_settings.h"
#include "panel/hot_key.h"
#include "panel/strip_focus.h"

namespace tilerack {
namespace {

PanelSettings ReadFrom(const std::map<std::string, std::string>& ini) {
    return ReadPanelSettings([&](const char* key) -> std::optional<std::string> {
        auto it = ini.find(key);
        if (it == ini.end()) return std::nullopt;
        return it->second;
    });
}

TEST(HotKeySetting, MissingOrUnreadableGivesCtrlAltShiftSpace) {
    EXPECT_EQ(ReadFrom({}).hotKey, 0x0720);
    EXPECT_EQ(ReadFrom({{"HotKey", "letters"}}).hotKey, 0x0720);
    EXPECT_EQ(ReadFrom({{"HotKey", "0"}}).hotKey, 0);
    EXPECT_EQ(ReadFrom({{"HotKey", "0x0678"}}).hotKey, 0x0678);
    EXPECT_EQ(ReadFrom({{"HotKey", "1656"}}).hotKey, 1656);
}

TEST(HotKeySetting, WrittenOnlyWhenItDiffersFromTheDefault) {
    PanelSettings s;
    auto keys = [](const PanelSettings& settings) {
        std::vector<std::string> names;
        for (const auto& [k, v] : PanelSettingsValues(settings)) names.push_back(k);
        return names;
    };
    const std::vector<std::string> six = {"Side", "Width", "TimeOut", "Opacity", "Color", "OnTop"};
    EXPECT_EQ(keys(s), six);
    s.hotKey = 0;
    auto values = PanelSettingsValues(s);
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(values.back(), std::make_pair(std::string("HotKey"), std::string("0")));
    s.hotKey = 0x0678;
    std::map<std::string, std::string> ini;
    for (const auto& [k, v] : PanelSettingsValues(s)) ini[k] = v;
    EXPECT_EQ(ReadFrom(ini).hotKey, 0x0678);
}

TEST(HotKeyValue, DecodesTheHotKeyControlLayout) {
    const auto chord = DecodeHotKey(0x0720);
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->virtualKey, 0x20);
    EXPECT_TRUE(chord->shift && chord->control && chord->alt);
    // MOD_ALT 1 | MOD_CONTROL 2 | MOD_SHIFT 4 from HOTKEYF_SHIFT 1 | CONTROL 2 | ALT 4,
    // each with MOD_NOREPEAT (0x4000): a held chord is one press.
    EXPECT_EQ(chord->RegisterModifiers(), 0x4007u);
    const auto shiftOnly = DecodeHotKey(0x0170);
    ASSERT_TRUE(shiftOnly);
    EXPECT_EQ(shiftOnly->RegisterModifiers(), 0x4004u);
    const auto altOnly = DecodeHotKey(0x044B);
    ASSERT_TRUE(altOnly);
    EXPECT_EQ(altOnly->RegisterModifiers(), 0x4001u);
    EXPECT_TRUE(DecodeHotKey(0x0A21)) << "the extended-key flag is allowed";
}

TEST(HotKeyValue, OffOrMalformedValuesGiveNoChord) {
    for (int32_t value : {0, -1, 0x0700, 0x10020, 0x1020, 0x7FFFFFFF}) EXPECT_FALSE(DecodeHotKey(value)) << value;
}

TEST(HotKeyValue, NamesReadAsTheUserTypesThem) {
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x0720)), "Ctrl+Alt+Shift+Пробел");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x0678)), "Ctrl+Alt+F9");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x044B)), "Alt+K");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x0235)), "Ctrl+5");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x0262)), "Ctrl+Num 2");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x0287)), "Ctrl+F24");
    EXPECT_EQ(HotKeyName(*DecodeHotKey(0x02E5)), "Ctrl+Клавиша 0xE5");
    EXPECT_EQ(HotKeyTakenMessage(*DecodeHotKey(0x0720)),
              "Сочетание клавиш Ctrl+Alt+Shift+Пробел уже занято другой программой; панель работает без него.");
}

TEST(StripFocus, MovesStopAtTheEnds) {
    EXPECT_EQ(MoveItemFocus(-1, FocusMove::Next, 5), 0);
    EXPECT_EQ(MoveItemFocus(-1, FocusMove::Previous, 5), 4);
    EXPECT_EQ(MoveItemFocus(0, FocusMove::Next, 5), 1);
    EXPECT_EQ(MoveItemFocus(4, FocusMove::Next, 5), 4);
    EXPECT_EQ(MoveItemFocus(0, FocusMove::Previous, 5), 0);
    EXPECT_EQ(MoveItemFocus(3, FocusMove::Previous, 5), 2);
    EXPECT_EQ(MoveItemFocus(3, FocusMove::First, 5), 0);
    EXPECT_EQ(MoveItemFocus(1, FocusMove::Last, 5), 4);
    EXPECT_EQ(MoveItemFocus(7, FocusMove::Next, 5), 0) << "a focus past a shortened list starts again";
    for (FocusMove m : {FocusMove::Previous, FocusMove::Next, FocusMove::First, FocusMove::Last})
        EXPECT_EQ(MoveItemFocus(0, m, 0), -1);
}

TEST(StripFocus, FittingCountFollowsTheLayoutRule) {
    for (int height : {0, 40, 47, 48, 49, 80, 600, 768, 1080}) {
        const std::vector<ItemSlot> slots = LayoutItemSlots(100, height);
        int visible = 0;
        for (const ItemSlot& s : slots) visible += s.visible ? 1 : 0;
        EXPECT_EQ(FittingItemCount(height), visible) << height;
    }
}

TEST(StripFocus, ScrollsJustEnoughToShowTheFocusedItem) {
    // 10 fit, 30 items.
    EXPECT_EQ(FirstShownFor(0, 5, 30, 10), 0);
    EXPECT_EQ(FirstShownFor(0, 10, 30, 10), 1);
    EXPECT_EQ(FirstShownFor(0, 29, 30, 10), 20);
    EXPECT_EQ(FirstShownFor(20, 19, 30, 10), 19);
    EXPECT_EQ(FirstShownFor(20, 0, 30, 10), 0);
    EXPECT_EQ(FirstShownFor(15, 20, 30, 10), 15);
    EXPECT_EQ(FirstShownFor(25, -1, 30, 10), 20) << "never past the last item at the bottom";
    EXPECT_EQ(FirstShownFor(5, 2, 8, 10), 0) << "a list that fits never scrolls";
    EXPECT_EQ(FirstShownFor(0, 3, 8, 0), 3) << "with no room the focused item comes first";
}

TEST(StripFocus, LayoutFromTheFirstItemIsTheUsualLayout) {
    for (int count : {0, 3, 40}) {
        const auto usual = LayoutItemSlots(count, 600);
        const auto from = LayoutItemSlotsFrom(count, 0, 600);
        ASSERT_EQ(usual.size(), from.size());
        for (size_t i = 0; i < usual.size(); ++i) {
            EXPECT_EQ(usual[i].top, from[i].top);
            EXPECT_EQ(usual[i].visible, from[i].visible);
        }
    }
}

TEST(StripFocus, ScrolledLayoutShowsTheWindowOfItems) {
    const int height = 600;
    const int fit = FittingItemCount(height);
    const auto slots = LayoutItemSlotsFrom(40, 12, height);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(slots[i].visible, i >= 12 && i < 12 + fit) << i;
    EXPECT_EQ(slots[12].top, kHideButtonHeight + 1);
    EXPECT_EQ(slots[13].top, kHideButtonHeight + 1 + kItemButtonHeight);
    EXPECT_LT(slots[11].top, kHideButtonHeight + 1);
}

}  // namespace
}  // namespace tilerack
