// Starting items: their own start, as administrator, with files.
#include "panel/item_starter_win.h"

#include <optional>

#include "common/app_texts.h"
#include "items/launcher.h"
#include "items/separator.h"
#include "panel/open_with_win.h"
#include "platform/text.h"

namespace tilerack {

void ItemStarter::Start(const TShortCut& item, LaunchVerb verb, const std::vector<std::string>& files) {
    host_.EnableTimerMouse(true);
    if (IsSeparator(item)) return;  // a separator starts nothing
    const std::string message = RunShortCut(item, verb, files);
    if (!message.empty())
        MessageBoxW(panel_, win::Widen(kErrorPrefix + message).c_str(), kAppTitleW, MB_OK);
}

// Ctrl+Shift held starts the item as administrator.
void ItemStarter::StartAsKeysSay(const TShortCut& item) {
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    Start(item, VerbForModifiers(control, shift), {});
}

void ItemStarter::StartFolderEntry(const std::wstring& file, const std::wstring& folder) {
    TShortCut entry;
    entry.FileName = win::Narrow(file);
    entry.WorkDir = win::Narrow(folder);
    StartAsKeysSay(entry);
}

PanelMenus::ItemStarts ItemStarter::ClickedItemStarts() const {
    using Starts = PanelMenus::ItemStarts;
    const TShortCut* item = host_.ClickedItem();
    if (!item || IsSeparator(*item)) return Starts::None;
    return StartsAProgram(*item) ? Starts::Program : Starts::Item;
}

void ItemStarter::RunClickedItemAsAdministrator() {
    if (const TShortCut* item = host_.ClickedItem()) Start(*item, LaunchVerb::RunAs, {});
}

void ItemStarter::OpenFileWithClickedItem() {
    if (!host_.ClickedItem()) return;
    // The panel stays in while the dialog is open, and until the pointer
    // watch is resumed.
    host_.EnableTimerMouse(false);
    const std::optional<std::string> file = ChooseFileToOpen(panel_);
    // The item may have gone while the dialog was open.
    const TShortCut* item = host_.ClickedItem();
    if (file && item) Start(*item, LaunchVerb::Open, {*file});
}

}  // namespace tilerack
