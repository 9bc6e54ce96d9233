#pragma once
// The items menu of the menu button: one owner-drawn entry per item, in list
// order, with the item's picture and its caption (its file name when the
// caption is empty), and the hint of the highlighted entry shown beside it.
// A separator is a separator line; a folder item a submenu of its contents.
// It reads the panel's list and keeps none of its own: an entry carries its
// item, which is looked up in the list before it is drawn or started.
#include <windows.h>

#include "common/dpi_scale.h"
#include "panel/folder_menu_win.h"
#include "panel/item_list.h"
#include "platform/handles.h"
#include "platform/menu_sink.h"

namespace tilerack {

// The owner window reflects its menus' messages to it (win::MenuSink).
class ItemsMenu final : public win::MenuSink {
public:
    explicit ItemsMenu(const ItemList& items) : items_(items) {}

    // Folder items show as submenus of their contents, read from `folders`
    // (which starts an entry chosen there).
    void ShowFolders(FolderMenu* folders) { folders_ = folders; }

    // Opens the menu at a screen point and waits for the choice: the item
    // chosen, or nothing.
    TShortCut* Choose(HWND owner, POINT at);
    // The display scale its entries are measured and drawn at: pictures
    // scaled from their 96-DPI size, the menu font of that scale.
    void SetScale(DpiScale scale);
    // win::MenuSink: its entries measured and drawn, the hint of the
    // highlighted one shown beside it and hidden as the menu closes.
    bool MeasureMenuEntry(HWND owner, MEASUREITEMSTRUCT& entry) override;
    bool DrawMenuEntry(const DRAWITEMSTRUCT& entry) override;
    void MenuEntryHighlighted(HWND owner, HMENU menu, UINT id, UINT flags) override;
    void MenuClosed(HWND owner) override;

private:
    TShortCut* Listed(ULONG_PTR entryData) const;
    void ShowHint(HWND owner, const TShortCut* item, RECT entry);

    const ItemList& items_;
    FolderMenu* folders_ = nullptr;
    HFONT Font() const;
    HWND hint_ = nullptr;  // owned by the panel's window, destroyed with it
    DpiScale scale_;
    win::UniqueFont font_;  // the menu font where the scale is not the system's
};

}  // namespace tilerack
