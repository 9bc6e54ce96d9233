#pragma once
// The panel's two menus. The context menu, PopupMain: its entries in their
// order, each bound to its handler; the item commands greyed unless the last
// right press was on an item's button; with two screens or more, a submenu
// of the screens with the one the panel stands on checked, after the
// languages' submenu with the one spoken checked. While it is open
// the pointer watch is suspended, and it stays so once it closes; the chosen
// entry's handler runs after the menu has closed. And the items menu,
// PopupMenuDyn (items_menu_win.h), one entry per item.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "common/app_language.h"
#include "common/screen.h"
#include "panel/items_menu_win.h"

namespace tilerack {

class PanelMenus {
public:
    // The handlers of the entries and what the menu asks of the panel.
    // The entries of the item the last right press was on: its start as
    // administrator, and for a program the files to open with it; none for
    // no item.
    enum class ItemStarts { None, Item, Program };
    struct Host {
        std::function<void()> N1Click, N10Click, N11Click, N4Click, N12Click, N3Click, N9Click, N7Click;
        // The clicked item started as administrator; files chosen to open
        // with its program.
        std::function<void()> RunAsAdministratorClick, OpenFileWithClick;
        std::function<ItemStarts()> ClickedItemStarts;
        // "Добавить разделитель": a separator where the right press was.
        std::function<void()> AddSeparatorClick;
        std::function<void(bool)> EnableTimerMouse;
        // The screens, and the index of the one the panel stands on.
        std::function<const std::vector<Screen>&()> Screens;
        std::function<int()> CurrentScreen;
        std::function<void(size_t)> ChooseScreen;
        // The panel speaks another language from now on.
        std::function<void(Language)> ChooseLanguage;
    };

    PanelMenus(const ItemList& items, Host host) : host_(std::move(host)), itemsMenu_(items) {}

    void Attach(HWND panel) { panel_ = panel; }
    // The items menu shows folder items as submenus of their contents.
    void ShowFolders(FolderMenu* folders) { itemsMenu_.ShowFolders(folders); }
    // The display scale the items menu measures and draws its entries at.
    void SetScale(DpiScale scale) { itemsMenu_.SetScale(scale); }
    // The items menu's owner-drawn entries (the window base reflects its
    // menu messages to it).
    win::MenuSink* Sink() { return &itemsMenu_; }
    // The item commands ("Поднять" ... "Свойства...") enabled or greyed,
    // from now until the next call.
    void EnableItemCommands(bool enabled) { itemCommands_ = enabled; }
    // Opens the context menu at a screen point and runs the chosen entry's handler.
    void PopupMain(POINT at);
    // Opens the items menu at a screen point: the item chosen, or nothing.
    TShortCut* ChooseItem(POINT at) { return itemsMenu_.Choose(panel_, at); }

private:
    void Run(UINT command);
    // The languages' submenu, the menu's from then on.
    void AppendLanguages(HMENU menu);

    Host host_;
    HWND panel_ = nullptr;
    bool itemCommands_ = true;
    ItemsMenu itemsMenu_;
};

}  // namespace tilerack
