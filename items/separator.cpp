#include "items/separator.h"

namespace tilerack {

std::unique_ptr<TShortCut> MakeSeparator() {
    auto separator = std::make_unique<TShortCut>();
    separator->Caption = kSeparatorCaption;
    separator->TrackDrives = false;
    separator->Icon.SetSize(1, 1);
    return separator;
}

bool IsSeparator(const TShortCut& item) {
    return item.Caption == kSeparatorCaption && item.Params.empty() && item.FileName.empty() &&
           item.WorkDir.empty() && item.Hint.empty() && item.Icon.Width() == 1 && item.Icon.Height() == 1;
}

}  // namespace tilerack
