#include "panel/item_insert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items/shortcut.h"
#include "panel/strip_layout.h"

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

// A strip whose buttons stack as the panel lays them out, on a window whose
// client area starts `windowTop` pixels down the screen; items are inserted
// one after another at the same pointer height, the tops laid out anew after
// each, as the panel does for the files of one drop or repeated new items.
class StripModel {
public:
    explicit StripModel(std::vector<std::string> names, int windowTop = -3)
        : names_(std::move(names)), windowTop_(windowTop) {}

    std::vector<int> Tops() const {
        std::vector<int> tops;
        for (const ItemSlot& slot : LayoutItemSlots(static_cast<int>(names_.size()), 772))
            tops.push_back(slot.top + windowTop_);
        return tops;
    }
    void Drop(const std::vector<std::string>& files, int pointerY) {
        for (const std::string& file : files) names_.insert(names_.begin() + DropPosition(Tops(), pointerY), file);
    }
    void AddNew(const std::string& name, int pressY) {
        names_.insert(names_.begin() + InsertPosition(Tops(), pressY), name);
    }
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
    int windowTop_;
};

TEST(ItemInsertSequence, ThreeFilesDroppedAtOneSpotEndAsAGroupInReverseOrder) {
    StripModel strip({"X", "Y", "Z"});
    const int onY = strip.Tops()[1] + 10;
    strip.Drop({"a", "b", "c"}, onY);
    EXPECT_EQ(strip.Names(), (std::vector<std::string>{"X", "c", "b", "a", "Y", "Z"}));
}

TEST(ItemInsertSequence, DropsOnAnEmptyPanelAndBelowTheLastTop) {
    StripModel empty({});
    empty.Drop({"only"}, 400);
    EXPECT_EQ(empty.Names(), (std::vector<std::string>{"only"}));

    // Over the place where the first button appears, each file of a group
    // goes before the one dropped before it: reverse order.
    StripModel onFirstSlot({});
    onFirstSlot.Drop({"a", "b", "c"}, 20);  // the first slot spans 9 to 42 on the screen
    EXPECT_EQ(onFirstSlot.Names(), (std::vector<std::string>{"c", "b", "a"}));

    // Far below it, every file after the first goes before the last item,
    // which stays the first file dropped.
    StripModel farBelow({});
    farBelow.Drop({"a", "b", "c"}, 400);
    EXPECT_EQ(farBelow.Names(), (std::vector<std::string>{"b", "c", "a"}));

    StripModel below({"X", "Y"});
    below.Drop({"n"}, below.Tops().back() + 200);
    EXPECT_EQ(below.Names(), (std::vector<std::string>{"X", "n", "Y"}));

    StripModel above({"X", "Y"});
    above.Drop({"n"}, above.Tops().front() - 5);
    EXPECT_EQ(above.Names(), (std::vector<std::string>{"n", "X", "Y"}));
}

TEST(ItemInsertSequence, NewItemsLandBelowThePressedButtonOrAtTheEnd) {
    StripModel strip({"X", "Y"});
    strip.AddNew("n1", strip.Tops()[0] + 5);  // pressed on X
    EXPECT_EQ(strip.Names(), (std::vector<std::string>{"X", "n1", "Y"}));
    strip.AddNew("n2", strip.Tops().back() + 1);  // just below the last top
    EXPECT_EQ(strip.Names(), (std::vector<std::string>{"X", "n1", "Y", "n2"}));
    strip.AddNew("n0", strip.Tops()[0] - 1);  // above the first button
    EXPECT_EQ(strip.Names(), (std::vector<std::string>{"n0", "X", "n1", "Y", "n2"}));

    StripModel empty({});
    empty.AddNew("first", 0);
    EXPECT_EQ(empty.Names(), (std::vector<std::string>{"first"}));
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
    EXPECT_EQ(FolderPart("\\\\server\\share\\a.txt"), "\\\\server\\share\\");
}

TEST(DroppedFileItem, TakesCaptionHintFolderAndFileFromThePathInOrder) {
    TShortCut item;
    std::vector<std::string> seen;  // the field each notification found changed
    TShortCut before;
    item.OnChange = [&](TShortCut& sender) {
        if (sender.Caption != before.Caption) seen.push_back("caption");
        if (sender.Hint != before.Hint) seen.push_back("hint");
        if (sender.WorkDir != before.WorkDir) seen.push_back("workdir");
        if (sender.FileName != before.FileName) seen.push_back("file");
        before.Caption = sender.Caption;
        before.Hint = sender.Hint;
        before.WorkDir = sender.WorkDir;
        before.FileName = sender.FileName;
    };
    DescribeDroppedFile(item, "C:\\Tools\\calc.exe");
    EXPECT_EQ(item.Caption, "calc.exe");
    EXPECT_EQ(item.Hint, "calc.exe");
    EXPECT_EQ(item.WorkDir, "C:\\Tools\\");
    EXPECT_EQ(item.FileName, "C:\\Tools\\calc.exe");
    EXPECT_EQ(item.Params, "");
    EXPECT_TRUE(item.TrackDrives);
    EXPECT_EQ(seen, (std::vector<std::string>{"caption", "hint", "workdir", "file"}));
}

TEST(DroppedFileItem, KeepsAPathLongerThan255CharactersWhole) {
    const std::string folder = "Z:\\scratch\\" + std::string(250, 'd') + "\\";
    const std::string path = folder + "файл.txt";
    TShortCut item;
    DescribeDroppedFile(item, path);
    EXPECT_EQ(item.FileName, path);
    EXPECT_EQ(item.WorkDir, folder);
    EXPECT_EQ(item.Caption, "файл.txt");
}

TEST(ShowFileRequest, SelectsTheFileOrTheWorkingFolderInItsFolder) {
    const auto file = ShowFileRequest("C:\\Tools\\calc.exe", "D:\\Other\\");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->params, "/select, C:\\Tools\\calc.exe");
    EXPECT_EQ(file->folder, "C:\\Tools\\");

    const auto folder = ShowFileRequest("", "C:\\Tools\\");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->params, "/select, C:\\Tools\\");
    EXPECT_EQ(folder->folder, "C:\\Tools\\");

    const auto drive = ShowFileRequest("C:calc.exe", "");
    ASSERT_TRUE(drive);  // "C:" is two characters: enough
    EXPECT_EQ(drive->folder, "C:");
}

TEST(ShowFileRequest, NoFolderPartMeansPathNotSet) {
    EXPECT_FALSE(ShowFileRequest("notepad.exe", "C:\\Tools\\"));  // the file decides, not the folder
    EXPECT_FALSE(ShowFileRequest("\\calc.exe", ""));               // a folder part of one character
    EXPECT_FALSE(ShowFileRequest("", ""));
    EXPECT_FALSE(ShowFileRequest("", "Tools"));
}

}  // namespace
}  // namespace tilerack
