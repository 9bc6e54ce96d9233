#include "panel/type_to_find.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

const std::vector<std::string> kNames = {"Почта", "Калькулятор", "Корзина", "notes", "Nova", "Камера"};

TEST(TypeToFind, LettersTypedTogetherMakeOnePrefix) {
    TypeToFind find;
    EXPECT_EQ(find.Type('к', 1000, kNames, -1), 1);
    EXPECT_EQ(find.Type('о', 1300, kNames, 1), 2) << "\"ко\": the focused item no longer fits";
    EXPECT_EQ(find.Typed(), "ко");
    // Latin, whatever the case typed and stored.
    TypeToFind latin;
    EXPECT_EQ(latin.Type('N', 0, kNames, 0), 3);
    EXPECT_EQ(latin.Type('o', 200, kNames, 3), 3) << "a longer prefix that still fits keeps the focus";
    EXPECT_EQ(latin.Type('V', 400, kNames, 3), 4);
}

TEST(TypeToFind, ALongerPauseStartsAgain) {
    TypeToFind find;
    EXPECT_EQ(find.Type('к', 1000, kNames, -1), 1);
    EXPECT_EQ(find.Type('п', 2001, kNames, 1), 0) << "more than a second later: \"п\" alone";
    EXPECT_EQ(find.Typed(), "п");
    // The clock wrapping round is no pause.
    TypeToFind wrapping;
    wrapping.Type('к', 0xFFFFFF00u, kNames, -1);
    EXPECT_EQ(wrapping.Type('о', 0x10u, kNames, 1), 2);
}

TEST(TypeToFind, OneLetterRepeatedStepsThroughTheItemsWithIt) {
    TypeToFind find;
    int focus = 0;
    std::vector<int> seen;
    for (uint32_t t = 0; t < 4 * 300; t += 300) seen.push_back(focus = find.Type('К', t, kNames, focus));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 5, 1}));
}

TEST(TypeToFind, NoMatchLeavesTheFocusWhereItIs) {
    TypeToFind find;
    EXPECT_EQ(find.Type('я', 0, kNames, 2), 2);
    EXPECT_EQ(find.Type('я', 5000, kNames, -1), -1);
    EXPECT_EQ(find.Type('н', 9000, {}, -1), -1) << "no items at all";
    EXPECT_EQ(find.Type('к', 20000, kNames, 2), 5);
    EXPECT_EQ(find.Type('щ', 20100, kNames, 5), 5) << "\"кщ\" fits nothing";
}

TEST(TypeToFind, ItemsWithoutACaptionAreFoundByTheirFileName) {
    EXPECT_EQ(SearchName("", "C:\\Windows\\notepad.exe"), "notepad.exe");
    EXPECT_EQ(SearchName("Блокнот", "C:\\Windows\\notepad.exe"), "Блокнот");
    TypeToFind find;
    const std::vector<std::string> names = {SearchName("Почта", "C:\\a.exe"), SearchName("", "D:\\Tools\\calc.exe")};
    EXPECT_EQ(find.Type('c', 0, names, -1), 1);
}

TEST(LowerCp1251, CyrillicAndLatinCapitalsHaveTheirSmallLetters) {
    EXPECT_EQ(LowerCp1251('Я'), 'я');
    EXPECT_EQ(LowerCp1251('А'), 'а');
    EXPECT_EQ(LowerCp1251('Ё'), 'ё');
    EXPECT_EQ(LowerCp1251('Є'), 'є');
    EXPECT_EQ(LowerCp1251('І'), 'і');
    EXPECT_EQ(LowerCp1251('Z'), 'z');
    EXPECT_EQ(LowerCp1251('я'), 'я');
    EXPECT_EQ(LowerCp1251('1'), '1');
}

}  // namespace
}  // namespace tilerack
