// The context-menu commands that open dialogs: new item, properties, settings.
#include <windows.h>

#include "dialogs/sysdialog.h"
#include "dialogs/tunint.h"
#include "panel/item_insert.h"
#include "panel/sysmain.h"

namespace tilerack {

void TMainPanel::N1Click() {
    auto item = std::make_unique<TShortCut>();
    PointerWatchSuspension dialogOpen(*this, PointerWatchSuspension::OnExit::Resume);
    if (!EditShortCut(*item, *this, hwnd_)) return;  // a cancelled new item is dropped
    InsertAtClick(std::move(item));
}

void TMainPanel::N3Click() {
    TShortCut* item = strip_.ItemOf(ClickedControl);
    if (!item) return;
    PointerWatchSuspension dialogOpen(*this, PointerWatchSuspension::OnExit::Resume);
    EditShortCut(*item, *this, hwnd_);
}

// The settings chosen are written as the dialog closes.
void TMainPanel::N9Click() {
    ShowTuningDialog(*this, hwnd_);
    SaveSettings();
}

}  // namespace tilerack
