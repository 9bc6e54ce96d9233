#pragma once
// A folder item's menu of the folder's contents: a native pop-up menu beside
// its button, sub-folders first as submenus read only when they open, then
// the files, as folder_listing.h orders and cuts them, each with its shown
// name and its small icon from the system's image list. A chosen entry is
// started as an item is, in its folder. Folders are read off this thread
// (folder_reader_win.h): a slow one shows "Чтение…" until it answers, one that
// cannot be read a disabled entry saying so. It opens from a folder item's
// button: a click on the button's mark, or the keys (KeyboardUse). The items
// menu shows folder items as submenus of the same kind (Submenu, Run).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "panel/button_strip.h"
#include "panel/folder_reader_win.h"
#include "panel/panel_metrics.h"

namespace tilerack {

class FolderMenu {
public:
    struct Host {
        // Starts `file` through the shell as an item is started, with
        // `folder` as its working folder.
        std::function<void(const std::wstring& file, const std::wstring& folder)> StartFile;
        // The panel stands at the right edge: menus open on a button's left.
        std::function<bool()> OnRightSide;
        // The pointer watch held (false) while a menu is open; it stays
        // held once the menu has closed, as for the items menu.
        std::function<void(bool)> EnableTimerMouse;
    };

    // `metrics` are the panel's, read as a click is placed on a button.
    FolderMenu(const ButtonStrip& strip, const PanelMetrics& metrics, Host host)
        : strip_(strip), metrics_(metrics), host_(std::move(host)) {}
    FolderMenu(const FolderMenu&) = delete;
    FolderMenu& operator=(const FolderMenu&) = delete;

    // Folder listings are announced to `panel` with kFolderListingMessage.
    void Attach(HWND panel);

    // The menu of a folder item's button, beside it; false for any other
    // button.
    bool OpenBeside(const TFlatButton& button);
    // A pointer's click at the client point `at` on `button`: on a folder
    // item's mark its menu opens (true); elsewhere it is the item's click.
    bool OpenAtMark(const TFlatButton& button, Point at);

    // Opens the menu of `folder` beside `button` (a screen rectangle), on its
    // right, or on its left for a panel at the right edge; starts the chosen
    // entry once the menu has closed.
    void Open(const std::wstring& folder, RECT button, bool leftOfButton);

    // A menu holding folder submenus (the items menu) opens and closes: the
    // submenus and commands of one such menu at a time.
    void BeginSession();
    void EndSession();
    // An empty submenu for `folder`, filled as it opens; it belongs to the
    // menu it joins.
    HMENU Submenu(const std::wstring& folder);
    // A command chosen from such a menu: started, true; not a folder entry's, false.
    bool Run(UINT command);

    // The panel's menu messages: a submenu opening (filled), the icons
    // measured and drawn, a listing read. True when answered (with `result`).
    bool AnswerMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    static constexpr DWORD kQuickWait = 250;  // ms a read may take before "Чтение…" shows

private:
    struct Command {
        std::wstring file, folder;
    };
    struct Pending {
        HMENU menu = nullptr;
        std::wstring folder;
        uint64_t read = 0;  // asked, not yet shown
        bool filled = false;
    };

    UINT Track(HMENU menu, RECT button, bool leftOfButton);
    void SubmenuOpening(HMENU menu);
    void ListingRead(uint64_t id);
    void Fill(HMENU menu, const std::wstring& folder, const FolderRead& read);
    void AddEntry(HMENU menu, const std::wstring& folder, const FolderEntry& entry);
    UINT AddCommand(std::wstring file, std::wstring folder);
    bool Measure(MEASUREITEMSTRUCT& entry) const;
    bool Draw(const DRAWITEMSTRUCT& entry) const;

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    Host host_;
    HWND panel_ = nullptr;
    std::unique_ptr<FolderReader> reader_;
    std::vector<Command> commands_;
    std::vector<Pending> pending_;
    HIMAGELIST icons_ = nullptr;  // the system's small icons: not ours to destroy
    // The menu Open shows with "Чтение…": closed and opened again with the
    // contents once its read `rootRead_` has come.
    uint64_t rootRead_ = 0;
    bool reopen_ = false;
};

}  // namespace tilerack
