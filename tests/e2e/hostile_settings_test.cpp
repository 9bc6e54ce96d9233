// A settings file with absurd contents: very long lines, binary bytes, ten
// thousand keys, values beyond 32 bits. The program starts with the defaults
// where a value is unusable, and writes a file the next start reads right.
#include "e2e_harness.h"

namespace e2e {
namespace {

using HostileSettings = PanelTest;

TEST_F(HostileSettings, AbsurdFileGivesDefaultsWhereUnusableAndIsWrittenBackClean) {
    std::vector<std::string> lines;
    for (int i = 0; i < 10000; ++i) lines.push_back("Key" + std::to_string(i) + "=" + std::to_string(i * 7919));
    lines.push_back("Side=" + std::string(100000, '1'));        // far past any buffer
    lines.push_back("Width=99999999999");                         // beyond 32 bits
    lines.push_back(std::string("TimeOut=\x01\x02\x7F\xFF\xFE binary", 17));
    lines.push_back("Opacity=0x1E");                              // usable: 30
    lines.push_back("Color=$FFFFFFFFF");                          // nine hex digits
    lines.push_back("OnTop=256");                                 // low 8 bits: false
    lines.push_back(std::string("\xFF\xFE\x01garbage without a key\x02", 25));
    WriteSettings(lines);

    // The delay is the default one: the pointer rests over the panel, so it
    // stays where it starts.
    const HWND window = StartPanel(
        {.expect = PanelState::Visible, .pointer = RestingSpotOverPanel(Side::Left), .windowTimeout = 30s});
    ASSERT_NE(window, nullptr) << "the panel did not start on the absurd settings";
    EXPECT_TRUE(ReachesShown(window, Side::Left, 64));
    EXPECT_EQ(PanelWidth(window), 64);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(FindMessageBox(Pid())) << "a message for the settings file";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close());

    EXPECT_EQ(SavedSetting(L"Side"), L"0");
    EXPECT_EQ(SavedSetting(L"Width"), L"64");
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"300");
    EXPECT_EQ(SavedSetting(L"Opacity"), L"30");
    EXPECT_EQ(SavedSetting(L"Color"), L"16048352");
    EXPECT_EQ(SavedSetting(L"OnTop"), L"0");

    // The next start reads what was written.
    const HWND second = StartPanel({.expect = PanelState::Visible, .windowTimeout = 30s});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(PanelWidth(second), 64);
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Opacity"), L"30");
}

}  // namespace
}  // namespace e2e
