#include "items/separator.h"

#include <gtest/gtest.h>

#include "items/shortcut_file.h"

namespace tilerack {
namespace {

std::vector<std::unique_ptr<TShortCut>> RoundTrip(const TShortCut& item, std::vector<uint8_t>* bytes = nullptr) {
    const std::vector<uint8_t> saved = SaveShortcutList({&item});
    if (bytes) *bytes = saved;
    std::vector<std::unique_ptr<TShortCut>> read;
    LoadShortcutList(saved, [&](std::unique_ptr<TShortCut> i) { read.push_back(std::move(i)); });
    return read;
}

TEST(Separator, IsAnOrdinaryRecordOfItsOwnFormThatReadsBackAsASeparator) {
    std::vector<uint8_t> bytes;
    const auto read = RoundTrip(*MakeSeparator(), &bytes);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_TRUE(IsSeparator(*read[0]));
    // The count, five texts (only the caption "-"), the flag, the slot and a
    // one-pixel picture: 54 bytes of headers and one padded row.
    ASSERT_EQ(bytes.size(), 4u + 5 * 4 + 1 + 1 + 4 + 58);
    EXPECT_EQ(bytes[4 + 4 + 4 + 4], '-');
    EXPECT_EQ(bytes[4 + 5 * 4 + 1 + 1 + 4], 'B');
}

TEST(Separator, AnyOtherRecordIsAnItem) {
    const auto variant = [](void (*change)(TShortCut&)) {
        auto item = MakeSeparator();
        change(*item);
        return RoundTrip(*item);
    };
    void (*changes[])(TShortCut&) = {
        [](TShortCut& i) { i.FileName = "C:\\tool.exe"; },  // an item captioned "-"
        [](TShortCut& i) { i.Params = "-x"; },
        [](TShortCut& i) { i.WorkDir = "C:\\"; },
        [](TShortCut& i) { i.Hint = "-"; },
        [](TShortCut& i) { i.Caption = "--"; },
        [](TShortCut& i) { i.Icon.SetSize(32, 32); },
    };
    for (auto change : changes) {
        const auto read = variant(change);
        ASSERT_EQ(read.size(), 1u);
        EXPECT_FALSE(IsSeparator(*read[0]));
    }
}

}  // namespace
}  // namespace tilerack
