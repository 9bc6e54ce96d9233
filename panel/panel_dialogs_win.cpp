// The context-menu commands that open dialogs: new item, properties, settings.
#include <windows.h>

#include <algorithm>

#include "dialogs/sysdialog.h"
#include "dialogs/tunint.h"
#include "panel/item_insert.h"
#include "panel/sysmain.h"

namespace tilerack {

void TMainPanel::N1Click() {
    auto item = std::make_unique<TShortCut>();
    {
        PointerWatchSuspension dialogOpen(*this, PointerWatchSuspension::OnExit::Resume);
        if (!EditShortCut(*item, *this, hwnd_)) return;  // a cancelled new item is dropped
        const int at = InsertPosition(ButtonTopsOnScreen(), ClickPoint.y);
        TShortCut& added = *item;
        Items.insert(Items.begin() + at, std::move(item));
        AddItemButton(added);
    }
}

void TMainPanel::N3Click() {
    TItemButton* b = ClickedItemButton();
    if (!b || !b->item) return;
    const bool listed = std::any_of(Items.begin(), Items.end(), [&](const auto& i) { return i.get() == b->item; });
    if (!listed) return;
    PointerWatchSuspension dialogOpen(*this, PointerWatchSuspension::OnExit::Resume);
    EditShortCut(*b->item, *this, hwnd_);
}

void TMainPanel::N9Click() { ShowTuningDialog(*this, hwnd_); }

}  // namespace tilerack
