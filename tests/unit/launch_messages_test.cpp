#include "items/launch_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace tilerack {
namespace {

TEST(LaunchMessages, SuccessGivesNoMessage) {
    EXPECT_EQ(ShellResultMessage(33), "");
    EXPECT_EQ(ShellResultMessage(42), "");
    EXPECT_EQ(ShellResultMessage(0x7FFFFFFF), "");
}

TEST(LaunchMessages, EveryKnownCodeHasItsText) {
    const struct { int32_t code; const char* text; } table[] = {
        {0, "Мало памяти или других ресурсов. Перезагрузитесь или закройте другие программы."},
        {2, "Файл не найден."},
        {3, "Такого пути не существует."},
        {5, "В доступе отказано."},
        {8, "Не хватает памяти."},
        {11, "Эта прграмма либо несовместима с данной ОС, либо повреждена."},
        {26, "A sharing violation occurred."},
        {27, "Неверное имя файла."},
        {28, "The DDE transaction could not be completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
        {31, "С данным расширением не ассоциировано ни одной прграммы."},
        {32, "The specified dynamic-link library was not found."},
    };
    for (const auto& entry : table)
        EXPECT_EQ(ShellResultMessage(entry.code), entry.text) << "code " << entry.code;
}

TEST(LaunchMessages, TextsAreCodePage1251Bytes) {
    // "Файл не найден." spelled out in code page 1251.
    EXPECT_EQ(ShellResultMessage(2),
              "\xD4\xE0\xE9\xEB\x20\xED\xE5\x20\xED\xE0\xE9\xE4\xE5\xED\x2E");
}

TEST(LaunchMessages, OtherCodesGiveTheirNumber) {
    const std::string number = "\xCD\xEE\xEC\xE5\xF0 ";  // "Номер " in code page 1251
    EXPECT_EQ(ShellResultMessage(4), number + "4");
    EXPECT_EQ(ShellResultMessage(12), number + "12");
    EXPECT_EQ(ShellResultMessage(1), number + "1");
    EXPECT_EQ(ShellResultMessage(-1), number + "-1");
    EXPECT_EQ(ShellResultMessage(-2147483647 - 1), number + "-2147483648");
    for (int32_t code : {6, 7, 9, 10, 13, 20, 25})
        EXPECT_EQ(ShellResultMessage(code), number + std::to_string(code));
}

}  // namespace
}  // namespace tilerack
