#pragma once
// The files of a shell drop: the drop handle, released with DragFinish when
// its owner goes, and the full paths it carries, however long.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/handles.h"

namespace tilerack::win {

using UniqueDrop = UniqueHandle<HDROP, &DragFinish>;

UINT DroppedFileCount(HDROP drop);
// The whole path of file `index`, read into a buffer of its own length.
std::wstring DroppedFilePath(HDROP drop, UINT index);
// Every path of the drop, in its order.
std::vector<std::wstring> DroppedFilePaths(HDROP drop);

}  // namespace tilerack::win
