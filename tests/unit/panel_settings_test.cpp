#include "panel/panel_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace tilerack {
namespace {

PanelSettings ReadFrom(const std::map<std::string, std::string>& ini) {
    return ReadPanelSettings([&](const char* key) -> std::optional<std::string> {
        auto it = ini.find(key);
        if (it == ini.end()) return std::nullopt;
        return it->second;
    });
}

TEST(SettingsValues, DecimalHexAndGarbage) {
    EXPECT_EQ(ParseSettingInt("300", 1), 300);
    EXPECT_EQ(ParseSettingInt("-17", 1), -17);
    EXPECT_EQ(ParseSettingInt("+5", 1), 5);
    EXPECT_EQ(ParseSettingInt("  42", 1), 42);
    EXPECT_EQ(ParseSettingInt("0x1E", 1), 30);
    EXPECT_EQ(ParseSettingInt("0X1e", 1), 30);
    EXPECT_EQ(ParseSettingInt("$FF", 1), 255);
    EXPECT_EQ(ParseSettingInt("0xFFFFFFFF", 1), -1);
    EXPECT_EQ(ParseSettingInt("2147483647", 1), 2147483647);
    EXPECT_EQ(ParseSettingInt("-2147483648", 1), INT32_MIN);
}

TEST(SettingsValues, UnreadableValuesGiveTheDefault) {
    EXPECT_EQ(ParseSettingInt("", 50), 50);
    EXPECT_EQ(ParseSettingInt("abc", 50), 50);
    EXPECT_EQ(ParseSettingInt("12abc", 50), 50);
    EXPECT_EQ(ParseSettingInt("0x", 50), 50);   // two characters: not hexadecimal, not a number
    EXPECT_EQ(ParseSettingInt("0xG1", 50), 50);
    EXPECT_EQ(ParseSettingInt("-", 50), 50);
    EXPECT_EQ(ParseSettingInt("2147483648", 50), 50);
    EXPECT_EQ(ParseSettingInt("99999999999999999999", 50), 50);
    EXPECT_EQ(ParseSettingInt("0x123456789", 50), 50);
    EXPECT_EQ(ParseSettingInt("1 2", 50), 50);
}

TEST(PanelSettingsRead, FirstRunDefaults) {
    const PanelSettings s = ReadFrom({});
    EXPECT_EQ(s.side, 0);
    EXPECT_EQ(s.width, 64);
    EXPECT_EQ(s.timeOut, 300);
    EXPECT_EQ(s.opacity, 50);
    EXPECT_EQ(s.color, 16048352);
    EXPECT_FALSE(s.onTop);
}

TEST(PanelSettingsRead, LowEightBitsOfSideAndOnTop) {
    EXPECT_FALSE(ReadFrom({{"OnTop", "256"}}).onTop);
    EXPECT_TRUE(ReadFrom({{"OnTop", "1"}}).onTop);
    EXPECT_TRUE(ReadFrom({{"OnTop", "-1"}}).onTop);
    EXPECT_EQ(ReadFrom({{"Side", "257"}}).side, 1);
    EXPECT_EQ(ReadFrom({{"Side", "1"}}).side, 1);
}

TEST(PanelSettingsRead, SidesWithoutAnEdgeDockLeft) {
    EXPECT_EQ(ReadFrom({{"Side", "2"}}).side, 0);
    EXPECT_EQ(ReadFrom({{"Side", "255"}}).side, 0);
    EXPECT_EQ(ReadFrom({{"Side", "-1"}}).side, 0);
}

TEST(PanelSettingsRead, WidthHasAMinimumOtherValuesAreNotChecked) {
    EXPECT_EQ(ReadFrom({{"Width", "10"}}).width, 24);
    EXPECT_EQ(ReadFrom({{"Width", "-5"}}).width, 24);
    EXPECT_EQ(ReadFrom({{"Width", "96"}}).width, 96);
    EXPECT_EQ(ReadFrom({{"Opacity", "0x1E"}}).opacity, 30);
    EXPECT_EQ(ReadFrom({{"Opacity", "letters"}}).opacity, 50);
    EXPECT_EQ(ReadFrom({{"Opacity", "250"}}).opacity, 250);
    EXPECT_EQ(ReadFrom({{"TimeOut", "-100"}}).timeOut, -100);
    EXPECT_EQ(ReadFrom({{"Color", ""}}).color, 16048352);
}

TEST(PanelSettingsWrite, KeysInOrderAsDecimal) {
    PanelSettings s;
    s.side = 1;
    s.width = 24;
    s.timeOut = -5;
    s.opacity = 30;
    s.color = 255;
    s.onTop = true;
    const auto values = PanelSettingsValues(s);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Side", "1"}, {"Width", "24"}, {"TimeOut", "-5"}, {"Opacity", "30"}, {"Color", "255"}, {"OnTop", "1"}};
    EXPECT_EQ(values, expected);
}

TEST(PanelSettingsWrite, WhatIsWrittenReadsBackTheSame) {
    PanelSettings s;
    s.side = 1;
    s.width = 77;
    s.timeOut = 1500;
    s.opacity = 0;
    s.color = 0x00123456;
    std::map<std::string, std::string> ini;
    for (const auto& [k, v] : PanelSettingsValues(s)) ini[k] = v;
    const PanelSettings back = ReadFrom(ini);
    EXPECT_EQ(back.side, s.side);
    EXPECT_EQ(back.width, s.width);
    EXPECT_EQ(back.timeOut, s.timeOut);
    EXPECT_EQ(back.opacity, s.opacity);
    EXPECT_EQ(back.color, s.color);
    EXPECT_EQ(back.onTop, s.onTop);
}

}  // namespace
}  // namespace tilerack
