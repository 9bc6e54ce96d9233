// Sharp file icons: asked for the items on screen, taken in as they come.
#include "panel/sharp_icon_supply_win.h"

#include "items/shortcut.h"
#include "panel/sharp_icons.h"
#include "platform/dib.h"
#include "platform/window_messages.h"

namespace tilerack {

void SharpIconSupply::Start() {
    started_ = true;
    Request();
}

void SharpIconSupply::Request(bool everyItem) {
    if (!started_ || metrics_.scale.IsBase() || items_.Empty()) return;
    std::vector<bool> onScreen;
    std::vector<SharpState> states;
    onScreen.reserve(items_.Count());
    states.reserve(items_.Count());
    for (const auto& entry : items_) {
        onScreen.push_back(entry->button.visible);
        states.push_back(entry->button.sharpState);
    }
    const std::vector<size_t> order = SharpRequestOrder(onScreen, states, everyItem);
    if (order.empty()) return;
    if (!worker_) worker_ = std::make_unique<SharpIconWorker>(panel_, win::kSharpIconsMessage);
    const COLORREF colour = win::ToColorRef(settings_.color);
    for (size_t index : order) {
        ItemEntry& entry = items_.At(index);
        const TBitmap& stored = entry.item->Icon;
        const int side = SharpPictureSide(metrics_.scale, stored.Width(), stored.Height());
        if (side == 0 || entry.item->FileName.empty()) {
            entry.button.sharpState = SharpState::Kept;
            continue;
        }
        entry.button.sharpState = SharpState::Asked;
        entry.button.sharpJob = worker_->Ask({entry.item->FileName, stored, side, colour, entry.button.visible});
    }
}

void SharpIconSupply::Take() {
    if (!worker_) return;
    bool repaint = false;
    for (SharpIconWorker::Result& result : worker_->TakeResults()) {
        // Only for an item still listed, still waiting, with the picture and
        // the scale it was asked for.
        const TShortCut* item = nullptr;
        for (const auto& entry : items_)
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
    if (repaint) host_.Invalidate();
}

int SharpIconSupply::Waiting() const {
    if (metrics_.scale.IsBase()) return 0;
    int waiting = 0;
    for (const auto& entry : items_) {
        const SharpState state = entry->button.sharpState;
        waiting += entry->button.visible && (state == SharpState::Unasked || state == SharpState::Asked);
    }
    return waiting;
}

void SharpIconSupply::Forget() {
    if (worker_) worker_->DropWaitingJobs();
    for (const auto& entry : items_) entry->button.ForgetSharpPicture();
}

}  // namespace tilerack
