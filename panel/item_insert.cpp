#include "panel/item_insert.h"

#include "items/shortcut.h"

namespace tilerack {

int InsertPosition(const std::vector<int>& buttonTops, int pointY) {
    for (size_t i = 0; i < buttonTops.size(); ++i)
        if (buttonTops[i] > pointY) return static_cast<int>(i);
    return static_cast<int>(buttonTops.size());
}

int DropPosition(const std::vector<int>& buttonTops, int pointY) {
    const int p = InsertPosition(buttonTops, pointY);
    return p > 0 ? p - 1 : p;
}

namespace {
size_t SeparatorEnd(const std::string& path) {
    const size_t at = path.find_last_of("\\:");
    return at == std::string::npos ? 0 : at + 1;
}
}  // namespace

std::string FolderPart(const std::string& path) { return path.substr(0, SeparatorEnd(path)); }
std::string NamePart(const std::string& path) { return path.substr(SeparatorEnd(path)); }

void DescribeDroppedFile(TShortCut& item, const std::string& path) {
    item.SetCaption(NamePart(path));
    item.SetHint(NamePart(path));
    item.SetWorkDir(FolderPart(path));
    item.SetFileName(path);
}

std::optional<FileManagerRequest> ShowFileRequest(const std::string& fileName, const std::string& workDir) {
    const std::string& path = fileName.empty() ? workDir : fileName;
    std::string folder = FolderPart(path);
    if (folder.size() < 2) return std::nullopt;
    return FileManagerRequest{"/select, " + path, std::move(folder)};
}

}  // namespace tilerack
