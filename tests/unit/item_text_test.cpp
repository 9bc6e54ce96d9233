// The program's texts carry every name a Windows file can have, and the item
// file stores a code page 1251 text exactly as it always did.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/item_text.h"
#include "items/shortcut_file.h"

namespace tilerack {
namespace {

const std::u16string kNames[] = {
    u"R\u00E9sum\u00E9.docx",                                   // accented Latin: no "best fit" to "Resume"
    u"\u8BB0\u4E8B\u672C.exe",                                  // Chinese
    u"\U0001F600 \u0441\u043C\u0430\u0439\u043B\u0438\u043A.exe",  // an emoji (a surrogate pair) and Cyrillic
    u"half\xD800.txt",                                          // a lone surrogate half, as NTFS allows
    u"\u0098 and \u00E9",                                        // U+0098, the marking byte's own character
};

TEST(ItemText, EveryCodePage1251TextIsStoredAndReadByteForByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    for (const std::string& text : {all, std::string("C:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\\a.exe"), std::string()}) {
        EXPECT_EQ(StoredText(text), text);
        EXPECT_EQ(TextOfStored(text), text);
    }
    // Every byte but the mark reads as its code page 1251 character and back.
    std::string withoutMark = all;
    withoutMark.erase(withoutMark.find(kForeignCharacterMark), 1);
    EXPECT_EQ(TextFromUtf16(TextToUtf16(withoutMark)), withoutMark);
    EXPECT_EQ(TextToUtf16("\xC0\xFF\xA8\xB8\x88\xB9"), u"\u0410\u044F\u0401\u0451\u20AC\u2116");
    // The marking byte before what code page 1251 holds itself marks nothing.
    EXPECT_EQ(StoredText("\x98\xD0\x9F"), "\x98\xD0\x9F");
    EXPECT_EQ(TextToUtf16("\x98\xD0\x9F"), u"\u0098\u0420\u045F");
}

TEST(ItemText, AnyOtherNameGoesThroughWholeAndIsStoredAsMarkedUtf8) {
    for (const std::u16string& name : kNames) {
        const std::string text = TextFromUtf16(name);
        EXPECT_EQ(TextToUtf16(text), name);
        const std::string stored = StoredText(text);
        EXPECT_EQ(stored.substr(0, 3), "\xEF\xBB\xBF");
        bool valid = false;
        EXPECT_EQ(TextOfStored(stored, &valid), text);
        EXPECT_TRUE(valid);
    }
    EXPECT_EQ(StoredText(TextFromUtf16(u"\u00E9")), "\xEF\xBB\xBF\xC3\xA9");
    // Joined and cut at ASCII as any text: a folder and a name make a path.
    const std::string path = TextFromUtf16(u"C:\\\u8BB0\\") + TextFromUtf16(kNames[2]);
    EXPECT_EQ(TextToUtf16(path), u"C:\\\u8BB0\\" + kNames[2]);
    EXPECT_EQ(TextToUtf16(path.substr(path.rfind('\\') + 1)), kNames[2]);
    // A marked text that code page 1251 holds reads as that code page's text.
    EXPECT_EQ(TextOfStored("\xEF\xBB\xBF\xD0\x9F\xD1\x8F"), "\xCF\xFF");
}

TEST(ItemText, BadUtf8BehindTheMarkReadsAsReplacementCharactersAndIsTold) {
    const struct {
        std::string stored;
        std::u16string read;
    } cases[] = {
        {"\xEF\xBB\xBF\xC3(", u"\uFFFD("},          // a lead byte without its follower
        {"\xEF\xBB\xBF\xE8\xAE", u"\uFFFD\uFFFD"},  // cut short at the end
        {"\xEF\xBB\xBF\xC0\xAF", u"\uFFFD\uFFFD"},  // an overlong slash
        {"\xEF\xBB\xBF\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
    };
    for (const auto& c : cases) {
        bool valid = true;
        EXPECT_EQ(TextToUtf16(TextOfStored(c.stored, &valid)), c.read);
        EXPECT_FALSE(valid);
    }
}

TEST(ItemText, RecordsOfEveryNameComeBackAndABadTextIsCountedNotFatal) {
    std::vector<std::unique_ptr<TShortCut>> items;
    for (const std::u16string& name : kNames) {
        auto item = std::make_unique<TShortCut>();
        item->FileName = TextFromUtf16(u"C:\\" + name);
        item->Caption = TextFromUtf16(name);
        item->Hint = TextFromUtf16(name + u"\r\n" + name);
        items.push_back(std::move(item));
    }
    std::vector<const TShortCut*> list;
    for (const auto& item : items) list.push_back(item.get());
    std::vector<uint8_t> bytes = SaveShortcutList(list);
    std::vector<std::unique_ptr<TShortCut>> read;
    const auto append = [&](std::unique_ptr<TShortCut> item) { read.push_back(std::move(item)); };
    ShortcutListLoad load = LoadShortcutList(bytes, append);
    ASSERT_EQ(read.size(), items.size());
    EXPECT_EQ(load.invalidTexts, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(read[i]->FileName, items[i]->FileName);
        EXPECT_EQ(read[i]->Caption, items[i]->Caption);
        EXPECT_EQ(read[i]->Hint, items[i]->Hint);
        EXPECT_EQ(read[i]->RecordSize(), items[i]->RecordSize());
    }
    // The first record's first text is its (empty) parameters: one made bad.
    const std::vector<uint8_t> bad = {1, 0, 0, 0, 5, 0, 0, 0, 0xEF, 0xBB, 0xBF, 0xFF, 'x'};
    bytes.erase(bytes.begin(), bytes.begin() + 8);
    bytes.insert(bytes.begin(), bad.begin(), bad.end());
    read.clear();
    load = LoadShortcutList(bytes, append);
    EXPECT_FALSE(load.Damaged()) << load.error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(load.invalidTexts, 1);
    EXPECT_EQ(TextToUtf16(read[0]->Params), u"\uFFFDx");
}

}  // namespace
}  // namespace tilerack
