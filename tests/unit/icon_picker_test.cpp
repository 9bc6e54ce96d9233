#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialogs/icon_choice_rule.h"
#include "dialogs/icon_picker_rules.h"
#include "dialogs/path_quoting.h"

namespace tilerack {
namespace {

struct Expected {
    std::string caption;
    int image;
};

void ExpectEntries(int imageCount, const std::vector<Expected>& expected) {
    const std::vector<PickerEntry> entries = PickerEntries(imageCount);
    ASSERT_EQ(entries.size(), expected.size()) << imageCount << " images";
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].caption, expected[i].caption) << imageCount << " images, entry " << i;
        EXPECT_EQ(entries[i].imageIndex, expected[i].image) << imageCount << " images, entry " << i;
    }
}

TEST(IconPickerEntries, NewEntryShowsTheLastImageAndNumbersShowTheirOwn) {
    ExpectEntries(0, {{"Новый", 0}});
    ExpectEntries(1, {{"Новый", 0}});
    ExpectEntries(2, {{"Новый", 1}, {"0", 0}});
    ExpectEntries(5, {{"Новый", 4}, {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}});
}

TEST(IconPickerEntries, EveryImageOfALongListAppearsExactlyOnce) {
    const std::vector<PickerEntry> entries = PickerEntries(1000);
    ASSERT_EQ(entries.size(), 1000u);
    std::set<int> images;
    for (const PickerEntry& e : entries) images.insert(e.imageIndex);
    EXPECT_EQ(images.size(), 1000u);
    EXPECT_EQ(*images.begin(), 0);
    EXPECT_EQ(*images.rbegin(), 999);
    EXPECT_EQ(entries.back().caption, "998");
}

TEST(IconPickerEntries, MessagesRunBeforeEveryTwentiethStartingWithTheFirst) {
    std::vector<int> before;
    for (int i = 0; i < 61; ++i)
        if (LetMessagesRunBefore(i)) before.push_back(i);
    EXPECT_EQ(before, (std::vector<int>{0, 20, 40, 60}));
}

TEST(IconChoiceRule, LastImageMeansNewGlyphNoneMeansUnchangedOthersThePicture) {
    EXPECT_EQ(IconChoiceActionFor(4, 5), IconChoiceAction::NewGlyph);
    EXPECT_EQ(IconChoiceActionFor(0, 1), IconChoiceAction::NewGlyph);  // a fresh picker's only entry
    EXPECT_EQ(IconChoiceActionFor(0, 5), IconChoiceAction::UsePicture);
    EXPECT_EQ(IconChoiceActionFor(3, 5), IconChoiceAction::UsePicture);
    EXPECT_EQ(IconChoiceActionFor(-1, 5), IconChoiceAction::Unchanged);
    // With no images the last index is -1 too: closing still changes nothing.
    EXPECT_EQ(IconChoiceActionFor(-1, 0), IconChoiceAction::Unchanged);
    // An index the list does not hold has no picture to take.
    EXPECT_EQ(IconChoiceActionFor(5, 5), IconChoiceAction::Unchanged);
    EXPECT_EQ(IconChoiceActionFor(-2, 5), IconChoiceAction::Unchanged);
}

TEST(IconPickerFileName, ExistingFileIsTakenWholeOtherwiseTheFirstElement) {
    const std::set<std::string> files = {R"(C:\Program Files\app.exe)", R"(C:\lib.dll)"};
    const auto exists = [&](const std::string& name) { return files.count(name) > 0; };
    // A name with spaces that exists stands as it is.
    EXPECT_EQ(EditFileName(R"(C:\Program Files\app.exe)", exists), R"(C:\Program Files\app.exe)");
    // Quoted: taken whole, without the quotes, whatever follows.
    EXPECT_EQ(EditFileName(R"("C:\Program Files\app.exe")", exists), R"(C:\Program Files\app.exe)");
    EXPECT_EQ(EditFileName(R"("C:\Program Files\app.exe" -x)", exists), R"(C:\Program Files\app.exe)");
    // Unquoted: up to the first space.
    EXPECT_EQ(EditFileName(R"(C:\lib.dll -param)", exists), R"(C:\lib.dll)");
    EXPECT_EQ(EditFileName(R"(C:\Program Files\missing.exe)", exists), R"(C:\Program)");
    EXPECT_EQ(EditFileName(R"(  C:\lib.dll)", exists), R"(C:\lib.dll)");
    // A missing closing quote: the rest of the text.
    EXPECT_EQ(EditFileName(R"("C:\Program Files\app.exe)", exists), R"(C:\Program Files\app.exe)");
    EXPECT_EQ(EditFileName("", exists), "");
    EXPECT_EQ(EditFileName("   ", exists), "");
}

TEST(PathQuoting, NamesWithASpaceAreQuotedOnce) {
    EXPECT_EQ(QuoteIfSpaced(R"(C:\Program Files\app.exe)"), R"("C:\Program Files\app.exe")");
    EXPECT_EQ(QuoteIfSpaced(R"(C:\windows\notepad.exe)"), R"(C:\windows\notepad.exe)");
    EXPECT_EQ(QuoteIfSpaced(R"("C:\Program Files\app.exe")"), R"("C:\Program Files\app.exe")");
    EXPECT_EQ(QuoteIfSpaced(""), "");
    // Round trip through the edit's rule for a name that is not there yet.
    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(EditFileName(QuoteIfSpaced(R"(D:\My Icons\set one.dll)"), none), R"(D:\My Icons\set one.dll)");
}

}  // namespace
}  // namespace tilerack
