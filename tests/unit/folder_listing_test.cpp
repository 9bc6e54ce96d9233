#include "panel/folder_listing.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

FolderEntry File(const wchar_t* name) { return FolderEntry{name, name, false, -1}; }
FolderEntry Folder(const wchar_t* name) { return FolderEntry{name, name, true, -1}; }

std::vector<std::wstring> Shown(const FolderListing& listing) {
    std::vector<std::wstring> names;
    for (const FolderEntry& e : listing.entries) names.push_back((e.folder ? L"/" : L"") + e.display);
    return names;
}

TEST(FolderListing, FoldersComeFirstThenFilesEachInTheLogicalOrder) {
    const FolderListing listing = ArrangeFolderListing(
        {File(L"file10.txt"), Folder(L"b"), File(L"File2.txt"), Folder(L"A10"), File(L"file1.txt"), Folder(L"a9"),
         File(L"Zeta"), File(L"alpha")},
        LogicalNameOrder);
    EXPECT_EQ(Shown(listing), (std::vector<std::wstring>{L"/a9", L"/A10", L"/b", L"alpha", L"file1.txt", L"File2.txt",
                                                         L"file10.txt", L"Zeta"}));
    EXPECT_FALSE(listing.more);
}

TEST(FolderListing, SortsByTheShownName) {
    // Extensions hidden: "c.doc" shows as "a" and comes before "b.txt" shown as "b".
    FolderEntry b{L"b.txt", L"b", false, -1}, a{L"c.doc", L"a", false, -1};
    EXPECT_EQ(ArrangeFolderListing({b, a}, LogicalNameOrder).entries[0].name, L"c.doc");
}

TEST(FolderListing, KeepsTheFirstFiveHundredAndTellsOfTheRest) {
    for (size_t count : {size_t{499}, size_t{500}, size_t{501}, size_t{2000}}) {
        std::vector<FolderEntry> entries;
        for (size_t i = count; i-- > 0;) entries.push_back(File((L"f" + std::to_wstring(i)).c_str()));
        entries.push_back(Folder(L"zz"));
        const FolderListing listing = ArrangeFolderListing(entries, LogicalNameOrder);
        ASSERT_EQ(listing.entries.size(), std::min<size_t>(count + 1, 500)) << count;
        EXPECT_EQ(listing.more, count + 1 > 500) << count;
        EXPECT_EQ(listing.entries[0].display, L"zz");
        EXPECT_EQ(listing.entries[1].display, L"f0");
        EXPECT_EQ(listing.entries.back().display, L"f" + std::to_wstring(std::min<size_t>(count, 499) - 1));
    }
}

TEST(FolderListing, NumbersCompareByValueAndCaseDoesNotMatter) {
    struct Case {
        const wchar_t *a, *b;
        int sign;
    } cases[] = {{L"a2", L"a10", -1}, {L"a10", L"a2", 1}, {L"ABC", L"abc", 0},    {L"a", L"ab", -1},
                 {L"x01", L"x1", 1},  {L"2x", L"10", -1}, {L"v1.9", L"v1.10", -1}, {L"", L"a", -1}};
    for (const Case& c : cases) {
        const int got = LogicalNameOrder(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << std::wstring(c.a).size() << " " << std::wstring(c.b).size();
    }
}

TEST(FolderListing, HiddenAndProtectedEntriesShowAsTheFileManagerSetsIt) {
    constexpr uint32_t kHidden = 0x2, kSystem = 0x4, kReadOnly = 0x1;
    struct Case {
        uint32_t attributes;
        bool showHidden, showProtected, shown;
    } cases[] = {{kReadOnly, false, false, true},         {kSystem, false, false, true},
                 {kHidden, false, false, false},          {kHidden, true, false, true},
                 {kHidden | kSystem, true, false, false}, {kHidden | kSystem, true, true, true},
                 {kHidden | kSystem, false, true, false}};
    for (const Case& c : cases)
        EXPECT_EQ(ShownInFileManager(c.attributes, c.showHidden, c.showProtected), c.shown) << c.attributes;
}

}  // namespace
}  // namespace tilerack
