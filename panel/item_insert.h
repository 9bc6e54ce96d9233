#pragma once
// Where a new item joins the list: before the first button whose top lies
// below the point of the press or drop.
#include <optional>
#include <string>
#include <vector>

namespace tilerack {

class TShortCut;

// `buttonTops` are the screen y of the item buttons' tops in list order.
int InsertPosition(const std::vector<int>& buttonTops, int pointY);
// A dropped file takes the place of the button under the pointer.
int DropPosition(const std::vector<int>& buttonTops, int pointY);

// Path parts with the backslash and the drive colon as separators: the folder
// part keeps its trailing separator; the name part is what follows it.
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);

// The texts of an item made from a dropped file, set through the item's
// setters in this order: caption and hint (the name part), working folder
// (the folder part), file (the whole path).
void DescribeDroppedFile(TShortCut& item, const std::string& path);

// How the file manager is asked to show an item's file: the item's file, or
// its working folder when the file is empty, selected in its folder.
struct FileManagerRequest {
    std::string params;  // "/select, " followed by the whole path
    std::string folder;  // the folder part, the working folder of the start
};
// Nothing when the folder part is shorter than two characters: there is no
// folder to show.
std::optional<FileManagerRequest> ShowFileRequest(const std::string& fileName, const std::string& workDir);

}  // namespace tilerack
