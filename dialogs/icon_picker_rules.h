#pragma once
// The icon picker's list entries (the new glyph's caption kNewEntryCaption and
// the browse dialog's filter kIconFileFilter are in common/app_texts.h).
#include <string>
#include <vector>

#include "common/app_texts.h"

namespace tilerack {

// The picker's pictures are all of this size.
inline constexpr int kPickerIconSize = 32;
// Pending window messages run before every this many pictures or entries,
// starting with the first.
inline constexpr int kPickerMessageInterval = 20;

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

}  // namespace tilerack
