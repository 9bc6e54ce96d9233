// Files opened with an item's program, the verb of a start, the digits on
// the strip and where a dragged file would go.
#include <gtest/gtest.h>

#include "items/open_with.h"
#include "panel/drop_arrivals.h"
#include "panel/drop_place.h"
#include "panel/number_keys.h"

namespace tilerack {
namespace {

TEST(OpenWith, ProgramsAreKnownByTheirExtensionQuotedOrNot) {
    for (const char* name : {"C:\\a.exe", "C:\\A.EXE", "\"C:\\Program Files\\b.Com\"", "x.bat", "run.CMD"})
        EXPECT_TRUE(NamesAProgram(name)) << name;
    for (const char* name : {"C:\\doc.txt", "C:\\exe", "C:\\dir.exe\\file", "C:\\a.exe.txt", "", "\""})
        EXPECT_FALSE(NamesAProgram(name)) << name;
}

TEST(OpenWith, TheItemsOwnParametersComeFirstThenEachFileQuoted) {
    const struct {
        const char* params;
        std::vector<std::string> files;
        const char* expected;
    } cases[] = {
        {"", {"C:\\a.txt"}, "\"C:\\a.txt\""},
        {"-n", {"C:\\my docs\\a.txt", "D:\\b.txt"}, "-n \"C:\\my docs\\a.txt\" \"D:\\b.txt\""},
        {"/x \"y\"", {"C:\\dir\\"}, "/x \"y\" \"C:\\dir\\\\\""},  // the closing quote stays a quote
        {"-p", {}, "-p"},
    };
    for (const auto& c : cases) EXPECT_EQ(OpenWithParameters(c.params, c.files), c.expected) << c.params;
}

TEST(OpenWith, OnlyControlWithShiftStartsAsAdministrator) {
    EXPECT_EQ(VerbForModifiers(true, true), LaunchVerb::RunAs);
    EXPECT_EQ(VerbForModifiers(true, false), LaunchVerb::Open);
    EXPECT_EQ(VerbForModifiers(false, true), LaunchVerb::Open);
    EXPECT_EQ(VerbForModifiers(false, false), LaunchVerb::Open);
}

TEST(NumberKeys, DigitsCountTheShownItemsPastSeparatorsAndZeroIsTheTenth) {
    // 14 entries, separators at 2 and 5; the strip scrolled to entry 1 shows 12.
    std::vector<bool> separators(14, false);
    separators[2] = separators[5] = true;
    const std::vector<int> numbered = NumberedItems(separators, 1, 12);
    EXPECT_EQ(numbered, (std::vector<int>{1, 3, 4, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(ItemForDigit(1, numbered), 1);
    EXPECT_EQ(ItemForDigit(3, numbered), 4);
    EXPECT_EQ(ItemForDigit(0, numbered), 12);
    EXPECT_EQ(DigitOf(12, numbered), 0);
    EXPECT_EQ(DigitOf(2, numbered), -1) << "a separator has no number";
    EXPECT_EQ(DigitOf(13, numbered), -1) << "past the tenth";
    // Fewer items than digits: the rest start nothing.
    const std::vector<int> few = NumberedItems({false, true, false}, 0, 3);
    EXPECT_EQ(ItemForDigit(2, few), 2);
    EXPECT_EQ(ItemForDigit(3, few), -1);
    EXPECT_EQ(ItemForDigit(0, few), -1);
}

TEST(DropPlace, TheMiddleOfAProgramOpensWithItAnyOtherRowIsTheNearerGap) {
    // A program, a separator (a quarter of a button), a document, at the scrolled strip's rows.
    const std::vector<StripEntrySpan> strip = {
        {12, 34, false, true}, {46, 8, true, false}, {54, 34, false, false}};
    const struct {
        int y;
        DropPlace place;
    } cases[] = {
        {0, {0, -1}},    // above the first
        {14, {0, -1}},   // the program's top quarter
        {21, {0, 0}},    // its middle half
        {37, {0, 0}},
        {38, {1, -1}},   // its bottom quarter
        {47, {1, -1}},   // the separator's top half
        {51, {2, -1}},   // its bottom half
        {71, {3, -1}},   // a document's middle is a gap, never "open with"
        {60, {2, -1}},
        {500, {3, -1}},  // below the last
    };
    for (const auto& c : cases) EXPECT_EQ(DropPlaceAt(c.y, strip), c.place) << "row " << c.y;
    EXPECT_EQ(DropPlaceAt(5, {}), (DropPlace{0, -1}));
}

TEST(DropArrivals, TheSameFilesByTheOtherWayAMomentLaterAreTheSameDrop) {
    using W = DropWay;
    const std::vector<std::string> a{"C:\\a.txt"}, ab{"C:\\a.txt", "C:\\b.txt"};
    const struct {
        W way;
        std::vector<std::string> files;
        uint64_t at;
        bool taken;
    } steps[] = {
        {W::DropTarget, a, 1000, true},
        {W::ShellDrop, a, 1200, false},   // its twin
        {W::ShellDrop, a, 1300, true},    // a drop of its own: one twin each
        {W::DropTarget, a, 1400, false},  // whichever way comes first
        {W::DropTarget, a, 1500, true},   // the same way twice: two drops
        {W::DropTarget, a, 1600, true},
        {W::ShellDrop, ab, 1700, true},   // other files
        {W::DropTarget, ab, 1700 + kTwinDropWindowMs + 1, true},  // too late to be a twin
        {W::ShellDrop, ab, 1800, true},   // a clock that went back is no twin
    };
    DropArrivals arrivals;
    int n = 0;
    for (const auto& s : steps) EXPECT_EQ(arrivals.TakeNew(s.way, s.files, s.at), s.taken) << "step " << n++;
}

}  // namespace
}  // namespace tilerack
