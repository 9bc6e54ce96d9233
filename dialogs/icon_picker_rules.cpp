#include "dialogs/icon_picker_rules.h"

namespace tilerack {

std::vector<PickerEntry> PickerEntries(int imageCount) {
    std::vector<PickerEntry> entries;
    entries.push_back({kNewEntryCaption.Get(), imageCount > 0 ? imageCount - 1 : 0});
    for (int k = 0; k + 1 < imageCount; ++k) entries.push_back({std::to_string(k), k});
    return entries;
}

}  // namespace tilerack
