#include "common/panel_settings.h"
#include "common/profile_section.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace tilerack {
namespace {

PanelSettings ReadFrom(const std::map<std::string, std::string>& ini) {
    return ReadPanelSettings([&](const char* key) -> std::optional<std::string> {
        auto it = ini.find(key);
        if (it == ini.end()) return std::nullopt;
        return it->second;
    });
}

// side, width, timeOut, opacity, color, onTop
std::tuple<int, int32_t, int32_t, int32_t, int32_t, bool> Fields(const PanelSettings& s) {
    return {static_cast<int>(s.side), s.width, s.timeOut, s.opacity, s.color, s.onTop};
}

TEST(SettingsValues, DecimalHexAndGarbage) {
    const std::pair<const char*, int32_t> cases[] = {{"300", 300}, {"-17", -17}, {"+5", 5}, {"  42", 42},
                                                     {"0x1E", 30}, {"0X1e", 30}, {"$FF", 255}, {"0xFFFFFFFF", -1},
                                                     {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseSettingInt(text, 1), value) << text;
}

TEST(SettingsValues, UnreadableValuesGiveTheDefault) {
    // "0x" has two characters: not hexadecimal, not a number.
    for (const char* text : {"", "abc", "12abc", "0x", "0xG1", "-", "2147483648", "99999999999999999999",
                             "0x123456789", "1 2"})
        EXPECT_EQ(ParseSettingInt(text, 50), 50) << text;
}

TEST(PanelSettingsRead, FirstRunDefaults) {
    EXPECT_EQ(Fields(ReadFrom({})), std::make_tuple(0, 64, 300, 50, 16048352, false));
}

TEST(PanelSettingsRead, LowEightBitsOfSideAndOnTop) {
    EXPECT_FALSE(ReadFrom({{"OnTop", "256"}}).onTop);
    EXPECT_TRUE(ReadFrom({{"OnTop", "1"}}).onTop);
    EXPECT_TRUE(ReadFrom({{"OnTop", "-1"}}).onTop);
    EXPECT_EQ(ReadFrom({{"Side", "257"}}).side, PanelSide::Right);
    EXPECT_EQ(ReadFrom({{"Side", "1"}}).side, PanelSide::Right);
}

TEST(PanelSettingsRead, SidesWithoutAnEdgeDockLeft) {
    EXPECT_EQ(ReadFrom({{"Side", "2"}}).side, PanelSide::Left);
    EXPECT_EQ(ReadFrom({{"Side", "255"}}).side, PanelSide::Left);
    EXPECT_EQ(ReadFrom({{"Side", "-1"}}).side, PanelSide::Left);
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
    s.side = PanelSide::Right;
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
    s.side = PanelSide::Right;
    s.width = 77;
    s.timeOut = 1500;
    s.opacity = 0;
    s.color = 0x00123456;
    s.onTop = true;
    std::map<std::string, std::string> ini;
    for (const auto& [k, v] : PanelSettingsValues(s)) ini[k] = v;
    EXPECT_EQ(Fields(ReadFrom(ini)), Fields(s));
}

TEST(PanelSettingsWrite, MonitorOnlyWhenItNamesAScreenAndKeptAsRead) {
    EXPECT_EQ(ReadFrom({}).monitor, "");
    PanelSettings s;
    for (const auto& value : PanelSettingsValues(s)) EXPECT_NE(value.first, "Monitor");
    // A value naming a screen that is not there is read and written back unchanged.
    const std::string stored = "\\\\.\\DISPLAY9,2000,-30,1024,768";
    s = ReadFrom({{"Monitor", stored}});
    EXPECT_EQ(s.monitor, stored);
    const auto values = PanelSettingsValues(s);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), std::make_pair(std::string("Monitor"), stored));
}

TEST(PanelSettingsWrite, DropOpensOnlyOnceChosenThenKeptEvenWhenOff) {
    PanelSettings s = ReadFrom({});
    EXPECT_FALSE(s.DropOpens());
    for (const auto& value : PanelSettingsValues(s)) EXPECT_NE(value.first, "DropOpens");
    for (const bool chosen : {true, false}) {
        s.dropOpens = chosen;
        std::map<std::string, std::string> ini;
        for (const auto& [k, v] : PanelSettingsValues(s)) ini[k] = v;
        EXPECT_EQ(ini["DropOpens"], chosen ? "1" : "0");
        EXPECT_EQ(ReadFrom(ini).dropOpens, std::optional<bool>(chosen));
    }
}

TEST(PanelSettingsLanguage, ReadByCodeAndWrittenOnlyOnceChosen) {
    const struct {
        std::optional<std::string> stored;
        std::optional<Language> read;
    } cases[] = {
        {std::nullopt, std::nullopt}, {"en", Language::English}, {" EN", Language::English},
        {"ru", Language::Russian},    {"de", std::nullopt},        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const PanelSettings s = c.stored ? ReadFrom({{"Language", *c.stored}}) : ReadFrom({});
        EXPECT_EQ(s.language, c.read) << c.stored.value_or("<missing>");
        const auto values = PanelSettingsValues(s);
        const bool written = values.back().first == "Language";
        EXPECT_EQ(written, c.read.has_value());
        if (written) EXPECT_EQ(values.back().second, *c.stored == "ru" ? "ru" : "en");
    }
}

// A section as the system hands it back, looked up as the system looks up
// one key at a time.
TEST(ProfileSectionLookUp, KeysMatchWithoutCaseAndTheFirstLineWins) {
    const ProfileSection section({"Side=1", "WIDTH=80", "width=120", "Opacity=", "Color=65280"});
    EXPECT_EQ(section.Value("Side"), "1");
    EXPECT_EQ(section.Value("side"), "1");
    EXPECT_EQ(section.Value("Width"), "80");
    EXPECT_EQ(section.Value("Opacity"), "");  // present and empty: not missing
    EXPECT_EQ(section.Value("OnTop"), std::nullopt);
    EXPECT_EQ(section.Value("Sid"), std::nullopt);     // no prefix match
    EXPECT_EQ(section.Value("Side=1"), std::nullopt);  // nor a match across the '='
    EXPECT_EQ(ProfileSection().Value("Side"), std::nullopt);
}

TEST(ProfileSectionLookUp, APairOfQuotesIsTakenOffTheValue) {
    const ProfileSection section({"a=\"80\"", "b='x y'", "c=\"80'", "d=\"", "e=\"\"", "f=say \"hi\"", "g=\\\\.\\DISPLAY2"});
    EXPECT_EQ(section.Value("a"), "80");
    EXPECT_EQ(section.Value("b"), "x y");
    EXPECT_EQ(section.Value("c"), "\"80'");  // not a pair
    EXPECT_EQ(section.Value("d"), "\"");
    EXPECT_EQ(section.Value("e"), "");
    EXPECT_EQ(section.Value("f"), "say \"hi\"");
    EXPECT_EQ(section.Value("g"), "\\\\.\\DISPLAY2");
}

TEST(ProfileSectionLookUp, AKeyLineWithoutValueHidesTheLinesAfterIt) {
    const ProfileSection section({"Width", "Width=80", "Side=1=2"});
    EXPECT_EQ(section.Value("Width"), std::nullopt);
    EXPECT_EQ(section.Value("Side"), "1=2");  // split at the first '='
}

TEST(PanelSettingsRead, FromAStoredSection) {
    const ProfileSection section({"SIDE=1", "Width=\"80\"", "TimeOut=0x10", "Monitor=\\\\.\\DISPLAY2", "HotKey=junk"});
    const PanelSettings s = ReadPanelSettings([&](const char* key) { return section.Value(key); });
    EXPECT_EQ(Fields(s), std::make_tuple(1, 80, 16, 50, 16048352, false));
    EXPECT_EQ(s.monitor, "\\\\.\\DISPLAY2");
    EXPECT_EQ(s.hotKey, kDefaultHotKey);
}

}  // namespace
}  // namespace tilerack
