#pragma once
// The panel window (MainPanel): the program's one main window, docked at a
// screen edge over the whole screen height, holding the strip of item
// buttons. Its callers create it, show it, destroy it, and the dialogs see it
// as their IPanelHost; everything else is its own.
//
// Where each behaviour lives. HandleMessage (sysmain_win.cpp) hands each
// message to a handler in the panel's file of its concern or to the
// collaborator that owns it; each collaborator's header names its parts.
//   sysmain_win.cpp         creation, start-up, settings, the display scale,
//                           the tray icon, shutdown, the dispatch
//   panel_wiring_win.cpp    each collaborator's Host bound to the panel
//   panel_strip_win.cpp     item buttons, their layout, the arrows, file icons
//   panel_docking_win.cpp   sliding in and out, the timers' ticks, sizes,
//                           minimising, the screens the panel stands on
//   panel_commands_win.cpp  presses, the context menu's item commands
//   panel_dialogs_win.cpp   the commands that open the dialogs
// Its collaborators, each with its own state, bound to it through the Host
// it declares:
//   keyboard_use_win.h      the hot key, the keys on the strip (Ctrl+arrows
//                           move the focused item), type-to-find, the focus
//   strip_accessibility_win.h  what assistive technology reads and asks
//   strip_pointer_win.h     the pointer on the strip: hot and pressed
//                           buttons, tooltips, drags that arrange items
//   strip_painter_win.h     the strip's painting and the background captured
//                           under it
//   sharp_icon_supply_win.h file icons at the scale's picture size
//   scale_follower_win.h    the scale's notices
//   menus_win.h             the context menu and the items menu
//   language_switch_win.h   the language spoken, the texts shown told again
//   folder_menu_win.h       a folder item's menu, opened from its mark or keys
//   item_starter_win.h      every start of an item: a click, as administrator,
//                           with files, a folder menu's entry
//   tray_presence_win.h     the notification area's icon and its lifts
//   file_drops_win.h        files dragged from the shell: the drop target,
//                           the mark, the drop inserted or opened with a program
//   item_file_session_win.h the item file: its reads, the saves of the
//                           list's changes
//   settings_store_win.h    the settings file
//   edge_dock_win.h         the screens, the docked place, the frame's size
//   window_timer_win.h      TimerMouse (with the pointer watch) and TimerButton
//   button_strip.h          every button under a lasting identity, in one
//                           order, telling its observers of each change
#include <windows.h>

#include <memory>
#include <string>

#include "common/bitmap.h"
#include "common/panel_settings.h"
#include "dialogs/panel_host.h"
#include "items/shortcut_file.h"
#include "panel/button_strip.h"
#include "panel/edge_dock_win.h"
#include "panel/file_drops_win.h"
#include "panel/folder_menu_win.h"
#include "panel/item_file_session_win.h"
#include "panel/item_starter_win.h"
#include "panel/keyboard_use_win.h"
#include "panel/language_switch_win.h"
#include "panel/menus_win.h"
#include "panel/panel_metrics.h"
#include "panel/scale_follower_win.h"
#include "panel/settings_store_win.h"
#include "panel/sharp_icon_supply_win.h"
#include "panel/strip_accessibility_win.h"
#include "panel/strip_painter_win.h"
#include "panel/strip_pointer_win.h"
#include "panel/tray_presence_win.h"
#include "panel/window_timer_win.h"
#include "platform/window_base.h"

namespace tilerack {

inline constexpr const wchar_t* kPanelClassName = L"TMainPanel";

class TMainPanel final : public win::WindowBase, public IPanelHost {
public:
    TMainPanel();
    ~TMainPanel() override;

    // Creates the window and runs FormCreate (the settings, the item file).
    void Create();
    // The first show: the panel appears at its edge, then gets its owner and
    // its tray icon.
    void Show();
    // Saves the settings and the items and destroys the window.
    void Destroy();

    // Captures the screen under the panel's shown place, blends it and paints
    // the whole panel at once: the pointer watch's show without the slide
    // (the show-sequence benchmark times it).
    void CaptureAndRepaint();

    // IPanelHost: what the dialogs see of the panel.
    const PanelSettings& Settings() const override { return settings_; }
    void ChangeSettings(const PanelSettings& settings) override;
    bool StaysOnTop() const override;
    void SaveAll() override;
    void EnableTimerMouse(bool enabled) override { TimerMouse.Enable(enabled); }
    int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) override;

private:
    // Each collaborator's Host bound to the panel (panel_wiring_win.cpp).
    struct Wiring;

    // The message dispatch (sysmain_win.cpp): each message to its handler
    // below or to the collaborator of its concern; a destroyed panel answers
    // in one place, the messages registered by name in another.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT AnswerDestroyed(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT AnswerRegistered(UINT msg, WPARAM wp, LPARAM lp);
    void OnTimer(UINT_PTR id);

    // Start-up, settings and shutdown (sysmain_win.cpp).
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void LoadItems();
    // Writes the settings (SaveAll, and a choice made in the settings dialog
    // or the screens' menu, kept at once).
    void SaveSettings();
    void TrayIconMessage(LPARAM mouseMessage);
    void OnEndSession(bool ending);
    void Invalidate();

    // The display scale (sysmain_win.cpp): every size of the panel follows
    // the scale of the screen it stands on; the settings keep 96-DPI sizes.
    void ApplyDpi(int dpi);
    // Everything laid out again at `dpi` where the panel stands.
    void ChangeDpi(int dpi);
    // The panel's width in 96-DPI pixels: the stored Width while the frame
    // still has the width it gives, else the frame's width unscaled.
    int LogicalWidth() const;

    // The strip (panel_strip_win.cpp).
    void AddItemButton(ItemEntry& entry, bool layOut);
    void UpdateItemButton(TShortCut& item);
    void LayoutButtons();
    // Moves an item to list index `to`: one operation on the list, the strip
    // laid out again.
    void MoveItemTo(const TShortCut& item, int to);
    // The strip's entries by height in the room they have, and the strip
    // scrolled to start at entry `first`.
    StripRows Rows() const;
    void ScrollStripTo(int first);
    void FormResize();
    void FormPaint(HDC dc);
    // Captures the screen under the shown place while the panel is hidden.
    void CaptureBackground();
    void LoadArrowGlyphs();
    void SetSide(PanelSide side);

    // Docking and the pointer watch (panel_docking_win.cpp). Hidden is
    // written by SetHidden alone.
    void SetHidden(bool hidden);
    void PlaceAtEdge();
    void SlideIn();
    void SlideOut();
    // The edge's (and the hot key's) show: CaptureBackground, SlideIn, PlaceAtEdge.
    void ShowSequence();
    void HidePanel();
    void RestorePanel();
    void StartHideWatch();
    void HideByButton();
    void SButtonHideMouseMove();
    void TimerMouseTimer();
    void TimerButtonTimer();
    // The screens changed, or the user chose another: the panel stands on
    // its screen again, at that screen's scale.
    void Redock();
    // A screen came or went, or a bar moved: read again, and docked anew.
    void ScreensChanged();
    void ChooseScreen(size_t index);
    void OnSize(UINT state);

    // Presses, menus and commands (panel_commands_win.cpp, panel_dialogs_win.cpp);
    // starting items is starts_'s, dropped files drops_'s.
    void FormMouseDown(const TFlatButton* sender, int button, POINT clientPoint);
    // The context menu for `sender` (or none) as a right press at
    // `clientPoint` opens it, shown at the screen point `menuAt`.
    void OpenContextMenu(const TFlatButton* sender, POINT clientPoint, POINT menuAt);
    // A new item (or separator) joins the list where the last right press was.
    void InsertAtClick(std::unique_ptr<TShortCut> item);
    void MoveClickedItem(int delta);
    void DeleteClickedItem();
    void ShowClickedItemFile();
    void ItemClick(TShortCut& item);
    void SButtonMenuClick();
    void SButtonCloseClick();
    void WMDropFiles(HDROP drop);
    void N1Click();
    void N3Click();
    void N9Click();

    // The settings: Side, Width, TimeOut, Opacity, Color and OnTop as one
    // value, changed only through ChangeSettings. Width is in 96-DPI pixels.
    PanelSettings settings_;
    // The sizes at the scale of the screen the panel stands on.
    PanelMetrics metrics_;
    // True while the panel counts as slid off the screen.
    bool Hidden = false;
    // Every button of the panel; Items, the items in list order with their
    // buttons, and the three fixed buttons are the strip's.
    ButtonStrip strip_;
    const ItemList& Items = strip_.Items();
    TFlatButton& SButtonHide = strip_.Hide();
    TFlatButton& SButtonClose = strip_.Close();
    TFlatButton& SButtonMenu = strip_.Menu();
    // The screen strip under the panel as last captured; the panel colour is
    // blended in as it is painted (painter_ does both).
    TBitmap Background;
    // The button the last right press was on (or none), and where on the
    // screen: the item commands act on it, a new item goes in there.
    ButtonId ClickedControl = kNoButton;
    POINT ClickPoint{0, 0};

    EdgeDock dock_;
    PointerWatchTimer TimerMouse{hwnd_};
    WindowTimer TimerButton{hwnd_, kTimerButtonId, kTimerButtonInterval};
    SettingsStore settingsFile_;
    // The item file: its reads, the saves of the list's changes (every new
    // order of the strip is one).
    ItemFileSession itemFile_;
    // Once Destroy has begun AnswerDestroyed answers every message; once the
    // items are gone with the panel there is nothing left to save.
    enum class Lifetime : uint8_t { Running, Destroying, ItemsReleased };
    Lifetime lifetime_ = Lifetime::Running;

    // The capabilities beyond the window, each on its own state, each bound
    // to the panel through the Host it declares (Wiring).
    StripPointer pointer_;
    KeyboardUse keyboard_;
    StripAccessibility accessibility_;
    SharpIconSupply sharpIcons_;
    StripPainter painter_;
    ScaleFollower scale_;
    FolderMenu folderMenu_;
    PanelMenus menus_;
    TrayPresence tray_;
    LanguageSwitch language_;
    FileDrops drops_;
    ItemStarter starts_;
};

}  // namespace tilerack
