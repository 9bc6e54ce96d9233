#pragma once
// Where a new item joins the list: before the first button whose top lies
// below the point of the press or drop.
#include <string>
#include <vector>

namespace tilerack {

// `buttonTops` are the screen y of the item buttons' tops in list order.
int InsertPosition(const std::vector<int>& buttonTops, int pointY);
// A dropped file takes the place of the button under the pointer.
int DropPosition(const std::vector<int>& buttonTops, int pointY);

// Path parts with the backslash and the drive colon as separators: the folder
// part keeps its trailing separator; the name part is what follows it.
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);

}  // namespace tilerack
