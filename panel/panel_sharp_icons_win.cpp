// Sharp file icons at scales above 100 % (panel/sharp_icons.h): the panel
// shows at once with the stored pictures; the worker makes the sharp ones
// and they replace the stored ones as they come in.
#include "panel/sharp_icons.h"
#include "panel/sysmain.h"
#include "platform/dib.h"
#include "platform/window_messages.h"

namespace tilerack {

void TMainPanel::RequestSharpIcons(bool everyItem) {
    if (!shown_ || metrics_.scale.IsBase() || Items.Empty()) return;
    std::vector<bool> onScreen;
    std::vector<SharpState> states;
    onScreen.reserve(Items.Count());
    states.reserve(Items.Count());
    for (const auto& entry : Items) {
        onScreen.push_back(entry->button.visible);
        states.push_back(entry->button.sharpState);
    }
    const std::vector<size_t> order = SharpRequestOrder(onScreen, states, everyItem);
    if (order.empty()) return;
    if (!sharpIcons_) sharpIcons_ = std::make_unique<SharpIconWorker>(hwnd_, win::kSharpIconsMessage);
    const COLORREF colour = win::ToColorRef(settings_.color);
    for (size_t index : order) {
        ItemEntry& entry = Items.At(index);
        const TBitmap& stored = entry.item->Icon;
        const int side = SharpPictureSide(metrics_.scale, stored.Width(), stored.Height());
        if (side == 0 || entry.item->FileName.empty()) {
            entry.button.sharpState = SharpState::Kept;
            continue;
        }
        entry.button.sharpState = SharpState::Asked;
        entry.button.sharpJob = sharpIcons_->Ask({entry.item->FileName, stored, side, colour, entry.button.visible});
    }
}

void TMainPanel::TakeSharpIcons() {
    if (!sharpIcons_) return;
    bool repaint = false;
    for (SharpIconWorker::Result& result : sharpIcons_->TakeResults()) {
        // Only for an item still listed, still waiting, with the picture and
        // the scale it was asked for.
        const TShortCut* item = nullptr;
        for (const auto& entry : Items)
            if (entry->button.sharpJob == result.id) item = entry->item.get();
        if (!item || !item->Button) continue;
        TItemButton& b = *item->Button;
        if (b.sharpState != SharpState::Asked || !item->Icon.SamePixels(result.stored) ||
            SharpPictureSide(metrics_.scale, item->Icon.Width(), item->Icon.Height()) != result.side)
            continue;
        b.sharpState = result.sharp.Empty() ? SharpState::Kept : SharpState::Sharp;
        b.sharp = std::move(result.sharp);
        repaint = repaint || (b.visible && b.sharpState == SharpState::Sharp);
    }
    if (repaint) Invalidate();
}

int TMainPanel::SharpIconsWaiting() const {
    if (metrics_.scale.IsBase()) return 0;
    int waiting = 0;
    for (const auto& entry : Items) {
        const SharpState state = entry->button.sharpState;
        waiting += entry->button.visible && (state == SharpState::Unasked || state == SharpState::Asked);
    }
    return waiting;
}

void TMainPanel::ForgetSharpIcons() {
    if (sharpIcons_) sharpIcons_->DropWaitingJobs();
    for (const auto& entry : Items) entry->button.ForgetSharpPicture();
}

}  // namespace tilerack
