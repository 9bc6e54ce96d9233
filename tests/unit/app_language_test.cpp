#include "common/app_language.h"
#include "common/app_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace tilerack {
namespace {

// Restores the spoken language a test changed.
class SpokenLanguage : public ::testing::Test {
protected:
    void TearDown() override { SetSpokenLanguage(Language::Russian); }
};

TEST_F(SpokenLanguage, ATextReadsAsTheLanguageSpokenAtTheReadingAndComposesSo) {
    EXPECT_STREQ(kMenuExit, "Выход");
    const std::string russian = kHotKeyTakenHead + std::string("X") + kHotKeyTakenTail;
    SetSpokenLanguage(Language::English);
    EXPECT_STREQ(kMenuExit, "Exit");
    EXPECT_EQ(std::wstring(kScreenEntryPrimaryW), L", primary");
    const std::string english = kHotKeyTakenHead + std::string("X") + kHotKeyTakenTail;
    EXPECT_EQ(english, "The key combination X is already used by another program; the panel works without it.");
    EXPECT_NE(russian, english);
    // The languages' own names read alike in both.
    EXPECT_STREQ(kMenuLanguage.In(Language::English), kMenuLanguage.In(Language::Russian));
}

}  // namespace
}  // namespace tilerack
