#include "platform/dropped_files.h"

#include <algorithm>

namespace tilerack::win {

UINT DroppedFileCount(HDROP drop) { return DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); }

std::wstring DroppedFilePath(HDROP drop, UINT index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) return {};
    std::wstring path(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, index, path.data(), length + 1);
    path.resize(std::min(copied, length));
    return path;
}

std::vector<std::wstring> DroppedFilePaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DroppedFileCount(drop);
    for (UINT i = 0; i < count; ++i) paths.push_back(DroppedFilePath(drop, i));
    return paths;
}

}  // namespace tilerack::win
