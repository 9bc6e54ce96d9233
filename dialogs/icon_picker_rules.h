#pragma once
// The icon picker's list entries and its browse dialog's filter.
#include <string>
#include <vector>

namespace tilerack {

// The picker's pictures are all of this size.
inline constexpr int kPickerIconSize = 32;
// Pending window messages run before every this many pictures or entries,
// starting with the first.
inline constexpr int kPickerMessageInterval = 20;

inline constexpr const char* kNewEntryCaption = "Новый";

struct PickerEntry {
    std::string caption;
    int imageIndex;
};

// The entries for a list of `imageCount` images: "Новый" showing the last
// image (image 0 for an empty list), then "0" ... "n-2" showing images 0 ...
// n-2, so that every image appears once and an entry's image index is the
// number in its caption.
std::vector<PickerEntry> PickerEntries(int imageCount);

// True for the 1st, 21st, 41st ... of a run of pictures or entries
// (`ordinal` counts from 0).
inline bool LetMessagesRunBefore(int ordinal) { return ordinal % kPickerMessageInterval == 0; }

// The browse dialog's filter: description and pattern pairs separated by
// vertical bars, as platform/common_dialogs.h takes it.
inline constexpr const char* kIconFileFilter =
    "Программы (*.exe)|*.exe|Библиотеки (*.dll)|*.dll|Файлы с иконками (*.dll, *.exe)|*.dll; *.exe|"
    "Все файлы (*.*)|*.*";

}  // namespace tilerack
