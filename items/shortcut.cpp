#include "items/shortcut.h"

namespace tilerack {

TShortCut::TShortCut() {
    Icon.SetSize(0, 0);
    Icon.OnChange = [this] { IconChanged(); };
}

void TShortCut::SetText(std::string& field, const std::string& value) {
    if (field == value) return;
    field = value;
    DoChange();
}

void TShortCut::SetTrackDrives(bool value) {
    if (TrackDrives == value) return;
    TrackDrives = value;
    DoChange();
}

}  // namespace tilerack
