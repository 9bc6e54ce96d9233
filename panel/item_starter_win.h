#pragma once
// Every start of an item: a click or Enter (Ctrl+Shift held starts it as
// administrator), the items menu, the context menu's "as administrator" and
// "open a file with" entries, files dropped onto a program's item, and an
// entry chosen from a folder's menu (started as an item is, in its folder).
// A separator starts nothing; the shell's refusal is shown in a message box.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "items/open_with.h"
#include "items/shortcut.h"
#include "panel/menus_win.h"

namespace tilerack {

class ItemStarter {
public:
    struct Host {
        // The item the last right press was on, or none.
        std::function<const TShortCut*()> ClickedItem;
        // The pointer watch resumed (true) as an item starts, held (false)
        // while the file dialog is open.
        std::function<void(bool)> EnableTimerMouse;
    };

    explicit ItemStarter(Host host) : host_(std::move(host)) {}

    // Message boxes and the file dialog are owned by `panel`.
    void Attach(HWND panel) { panel_ = panel; }

    void Start(const TShortCut& item, LaunchVerb verb, const std::vector<std::string>& files);
    // Started as the modifier keys held now say.
    void StartAsKeysSay(const TShortCut& item);
    // An entry of a folder's menu: `file` started in `folder`.
    void StartFolderEntry(const std::wstring& file, const std::wstring& folder);

    // The context menu's entries for the clicked item, and their commands.
    PanelMenus::ItemStarts ClickedItemStarts() const;
    void RunClickedItemAsAdministrator();
    void OpenFileWithClickedItem();

private:
    Host host_;
    HWND panel_ = nullptr;
};

}  // namespace tilerack
