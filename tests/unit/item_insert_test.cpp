#include "panel/item_insert.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

TEST(ItemInsertPosition, NewItemGoesBeforeTheFirstButtonBelowThePress) {
    const std::vector<int> tops = {12, 46, 80};
    EXPECT_EQ(InsertPosition(tops, 0), 0);
    EXPECT_EQ(InsertPosition(tops, 20), 1);   // pressed on the first button
    EXPECT_EQ(InsertPosition(tops, 46), 2);   // a top equal to the press is not below it
    EXPECT_EQ(InsertPosition(tops, 500), 3);  // below the last top: appended
    EXPECT_EQ(InsertPosition({}, 100), 0);
}

TEST(ItemInsertPosition, DropTakesThePlaceOfTheButtonUnderThePointer) {
    const std::vector<int> tops = {12, 46, 80};
    EXPECT_EQ(DropPosition(tops, 5), 0);    // above the first button
    EXPECT_EQ(DropPosition(tops, 50), 1);   // on the second button
    EXPECT_EQ(DropPosition(tops, 500), 2);  // below the last top: before the last item
    EXPECT_EQ(DropPosition({}, 100), 0);
    EXPECT_EQ(DropPosition({12}, 300), 0);
}

TEST(PathParts, BackslashAndDriveColonSeparate) {
    EXPECT_EQ(FolderPart("C:\\Tools\\calc.exe"), "C:\\Tools\\");
    EXPECT_EQ(NamePart("C:\\Tools\\calc.exe"), "calc.exe");
    EXPECT_EQ(FolderPart("C:calc.exe"), "C:");
    EXPECT_EQ(NamePart("C:calc.exe"), "calc.exe");
    EXPECT_EQ(FolderPart("notepad.exe"), "");
    EXPECT_EQ(NamePart("notepad.exe"), "notepad.exe");
    EXPECT_EQ(FolderPart("C:\\Tools\\"), "C:\\Tools\\");
    EXPECT_EQ(NamePart("C:\\Tools\\"), "");
    EXPECT_EQ(NamePart("D:\\Документы\\отчёт.doc"), "отчёт.doc");
}

}  // namespace
}  // namespace tilerack
