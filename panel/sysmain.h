#pragma once
// The panel window (MainPanel): the program's one main window, docked at a
// screen edge over the whole screen height, holding the strip of item
// buttons. Its callers create it, show it, destroy it, and the dialogs see it
// as their IPanelHost; everything else is its own.
//
// Where each behaviour lives (HandleMessage hands each message to a handler
// in the file of its concern):
//   sysmain_win.cpp         creation, start-up, the item file, settings, the
//                           display scale, the tray icon, shutdown, the
//                           message dispatch and a destroyed panel's answers
//   panel_strip_win.cpp     item buttons, their layout, the arrows, file
//                           icons
//   panel_docking_win.cpp   sliding in and out, the timers' ticks, the
//                           window's moves, sizes and minimising, and the
//                           screens the panel stands on and their changes
//   panel_commands_win.cpp  presses and the cursor over the strip, the
//                           context menu and its item commands, starting
//                           items, dropped files
//   panel_dialogs_win.cpp   the commands that open the dialogs
// and the collaborators it owns, each in a file of its own:
//   keyboard_use_win.h      the hot key, the keyboard focus, the keys on
//                           the strip (Ctrl+arrows move the focused item),
//                           type-to-find, giving the focus back
//   strip_accessibility_win.h  what assistive technology reads and asks
//   arrange_by_drag_win.h   dragging an item's button to a new place
//   sharp_icon_supply_win.h file icons at the scale's picture size
//   tray_presence_win.h     the notification area's icon and its lifts
//   strip_painter_win.h     the strip's painting: the background blended,
//                           each button's face measured, then drawn
//   strip_backdrop_win.h    the screen captured under the shown place
//   scale_follower_win.h    the scale's notices, put off while the panel
//                           places itself
//   button_strip.h          every button of the strip under a lasting
//                           identity, in one order, telling its observers
//                           of every change (portable)
//   item_list.h             the items with their buttons, one entry each
//   edge_dock_win.h         the screens, the docked place, frame size and
//                           outside moves
//   screen_dock.h           which screen, the shown and hidden places, the
//                           pointer zones' edge, the full-screen rule and
//                           the scale of the screen (portable)
//   pointer_router_win.h    the pointer over the windowless buttons
//   strip_tooltips_win.h    the tooltips of the strip
//   items_menu_win.h        the items menu, whose owner-drawn entries the
//                           window base reflects to it (platform/menu_sink.h)
//   pointer_watch.h         the decisions of the pointer watch (portable)
//   panel_metrics.h         every size of the panel at the screen's scale
//                           (portable)
//   button_face.h           where a shown button's picture, caption, edge
//                           and focus mark go (portable)
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/panel_settings.h"
#include "dialogs/panel_host.h"
#include "items/shortcut_file.h"
#include "panel/button_face.h"
#include "panel/button_strip.h"
#include "panel/edge_dock_win.h"
#include "panel/flat_button.h"
#include "panel/arrange_by_drag_win.h"
#include "panel/item_glyph.h"
#include "panel/item_list.h"
#include "panel/items_menu_win.h"
#include "panel/panel_metrics.h"
#include "panel/pointer_router_win.h"
#include "panel/panel_timers.h"
#include "panel/keyboard_use_win.h"
#include "panel/pointer_watch.h"
#include "panel/sharp_icon_supply_win.h"
#include "panel/strip_accessibility_win.h"
#include "panel/scale_follower_win.h"
#include "panel/strip_backdrop_win.h"
#include "panel/strip_painter_win.h"
#include "panel/strip_tooltips_win.h"
#include "panel/tray_presence_win.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/profile.h"
#include "platform/window_base.h"

namespace tilerack {

inline constexpr const wchar_t* kPanelClassName = L"TMainPanel";

class TMainPanel final : public win::WindowBase,
                         public IPanelHost,
                         private KeyboardUse::Host,
                         private StripAccessibility::Host,
                         private ArrangeByDrag::Host,
                         private SharpIconSupply::Host,
                         private StripPainter::Host,
                         private StripBackdrop::Host,
                         private ScaleFollower::Host {
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
    void EnableTimerMouse(bool enabled) override;
    int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) override;

private:
    // The message dispatch (sysmain_win.cpp): each message to its handler
    // below; a destroyed panel answers in one place, the messages
    // registered by name in another.
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT AnswerDestroyed(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT AnswerRegistered(UINT msg, WPARAM wp, LPARAM lp);

    // Start-up, settings and shutdown (sysmain_win.cpp).
    void FormCreate();
    void FormShow();
    void FormDestroy();
    std::wstring ItemFilePath() const;
    void LoadItems();
    void FinishLoadingItems();
    void AppendLoadedItem(std::unique_ptr<TShortCut> item);
    void ReportDamage(const ShortcutListLoad& load);
    void AdoptApplicationOwner();
    void TrayIconMessage(LPARAM mouseMessage);
    void OnEndSession(bool ending);
    void OnClose();
    void ApplyOnTop();
    void Invalidate() override;

    // The display scale (sysmain_win.cpp): every size of the panel follows
    // the scale of the screen it stands on (scale_follower_win.h has the
    // notices); the settings keep 96-DPI sizes.
    void ApplyDpi(int dpi);
    void ChangeDpi(int dpi) override;
    bool PlacingItself() const override { return dock_.Placing(); }
    void StandAtPlace() override;
    // The panel's width in 96-DPI pixels: the stored Width while the frame
    // still has the width it gives, else the frame's width unscaled.
    int LogicalWidth() const;

    // The strip and its background (panel_strip_win.cpp).
    void AddItem(size_t index, std::unique_ptr<TShortCut> item, bool layOut = true);
    void AddItemButton(ItemEntry& entry, bool layOut);
    void UpdateItemButton(TShortCut& item);
    void RemoveItem(const TShortCut& item);
    void LayoutButtons();
    // Moves an item to list index `to`: one operation on the list, the strip
    // laid out again.
    void MoveItemTo(const TShortCut& item, int to) override;
    // The first item the strip shows (0 unless the keyboard or a drag
    // scrolled it), how many items it has room for, and the strip scrolled
    // to start at item `first`.
    int FirstShown() const override { return firstShown_; }
    int FittingItems() const override;
    void ScrollStripTo(int first) override;
    void FormResize();
    void OnPaint();
    void FormPaint(HDC dc);
    // Captures the screen under the shown place while the panel is hidden.
    void CaptureBackground();
    StripBackdrop::ShownPlace WhereShown() override;
    void LoadArrowGlyphs();
    void SetSide(PanelSide side);
    TFlatButton* HitTest(POINT clientPoint) const { return strip_.HitTest(clientPoint.x, clientPoint.y); }
    // How a button is drawn: as the pointer leaves it, the dragged one pressed.
    ButtonLook DrawnLook(const TFlatButton& b) const override;
    // The screen y of each item button's top, in list order.
    std::vector<int> ButtonTopsOnScreen() const;

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
    void StartHideWatch() override;
    void HideByButton() override;
    void SButtonHideMouseMove();
    void TimerMouseTimer();
    bool FullScreenInFront();
    void Redock();
    void ChooseScreen(size_t index);
    void TimerButtonTimer();
    void EnableTimerButton();
    void OnTimer(UINT_PTR id);
    // The screens changed: read again, and the panel docked on its own.
    void ScreensChanged();
    void OnSettingChange(UINT action);
    void OnSize(UINT state);
    bool OnSysCommand(WPARAM command);
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnGetMinMaxInfo(MINMAXINFO& info);

    // Presses, menus and commands (panel_commands_win.cpp, panel_dialogs_win.cpp).
    void OnMouseMove(POINT p);
    void OnLeftDown(POINT p);
    void OnLeftUp(POINT p);
    // The hand over an item's button; true when the cursor was set.
    bool OnSetCursor(UINT hitTest);

    void FormMouseDown(const TFlatButton* sender, int button, POINT clientPoint);
    // The context menu for `sender` (or none) as a right press at
    // `clientPoint` opens it, shown at the screen point `menuAt`.
    void OpenContextMenu(const TFlatButton* sender, POINT clientPoint, POINT menuAt) override;
    void PopupMainAt(POINT screenPoint);
    void RunMainCommand(UINT command);
    TShortCut* ClickedItem() const;
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

    // What the keyboard, assistive technology, a drag and the sharp icons
    // ask of the panel (their Host interfaces; panel_docking_win.cpp,
    // panel_commands_win.cpp).
    void BringOutForKeyboard() override;
    bool CancelDrag() override;
    void NotifyAccessible(DWORD event, const TFlatButton* button) override { accessibility_.Notify(event, button); }
    bool PanelHidden() const override { return Hidden; }
    ButtonId KeyboardFocus() const override { return keyboard_.Focus(); }
    ButtonLook PointerLook(const TFlatButton& b) const override { return router_.LookOf(b); }
    void SelectItemButton(const TItemButton& button) override { keyboard_.Select(button); }
    void AbandonPointer() override { router_.Abandon(); }

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
    // The screen strip under the panel as last captured (backdrop_); the
    // panel colour is blended in as it is painted (painter_).
    TBitmap Background;
    // The button the last right press was on (or none), and where on the
    // screen: the item commands act on it, a new item goes in there.
    ButtonId ClickedControl = kNoButton;
    POINT ClickPoint{0, 0};
    bool itemCommandsEnabled_ = true;

    EdgeDock dock_;
    PointerWatch watch_;
    PointerRouter router_;
    StripTooltips tooltips_;
    ItemsMenu itemsMenu_;
    // The settings file holds a chosen screen ("Monitor").
    bool monitorStored_ = false;
    bool timerMouseOn_ = false;
    bool timerButtonOn_ = false;

    std::unique_ptr<win::SettingsFile> settingsFile_;
    // A long item file read in two steps: the file, open and barred to
    // writers, and its first step, until the rest is read (FinishLoadingItems).
    std::unique_ptr<win::FileReader> itemFileRest_;
    ShortcutListLoad itemFileHead_;
    // The item file could not be read whole: the list is never saved over it.
    bool itemsIncomplete_ = false;
    // Destroy has begun: from then on AnswerDestroyed answers every message.
    bool destroyed_ = false;
    bool itemsReleased_ = false;  // the items are gone with the panel: nothing to save

    // The first item the strip shows (0 unless the keyboard or a drag scrolled it).
    int firstShown_ = 0;

    // The capabilities beyond the window, each on its own state, each asking
    // the panel through its Host.
    KeyboardUse keyboard_{strip_, *this};
    StripAccessibility accessibility_{strip_, *this};
    ArrangeByDrag arrange_{strip_, metrics_, *this};
    SharpIconSupply sharpIcons_{Items, metrics_, settings_, *this};
    TrayPresence tray_;
    StripPainter painter_{strip_, metrics_, settings_, *this};
    StripBackdrop backdrop_{Background, metrics_, settings_, *this};
    ScaleFollower scale_{*this};
};

}  // namespace tilerack
