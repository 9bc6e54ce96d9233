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
//   panel_strip_win.cpp     item buttons, their layout, painting (each
//                           button's face measured, then drawn), the screen
//                           capture under the panel, the arrows, file icons
//   panel_docking_win.cpp   sliding in and out, the timers' ticks, the
//                           window's moves, sizes and minimising, and the
//                           screens the panel stands on and their changes
//   panel_commands_win.cpp  presses and the cursor over the strip, the
//                           context menu and its item commands, starting
//                           items, dropped files
//   panel_dialogs_win.cpp   the commands that open the dialogs
//   panel_keyboard_win.cpp  the hot key, the keys on the strip (focus,
//                           scrolling, starting, the context menu, Esc,
//                           moving the focused item, type-to-find), the
//                           activation leaving the panel, and what
//                           assistive technology reads of the strip and asks
//   panel_arrange_win.cpp   dragging an item's button to a new place: the
//                           press, the drag distance, the mark, scrolling
//                           near the strip's ends, the drop, a lost capture
//   panel_sharp_icons_win.cpp  file icons at the scale's picture size
//                           (sharp_icons.h), made by sharp_icon_worker_win.h
// and the collaborators it owns, each in a file of its own:
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
//   item_drag.h             the drag of an item, the gap under the pointer,
//                           scrolling near the ends (portable)
//   type_to_find.h          finding an item by typing (portable)
//   hot_key_win.h           the system-wide hot key (hot_key.h: its value
//                           and name, portable)
//   strip_focus.h           the keyboard focus's moves and the strip's
//                           scrolling to it (portable)
//   strip_accessible_win.h  the accessible object of the strip
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
#include "panel/drop_pictures_win.h"
#include "panel/edge_dock_win.h"
#include "panel/flat_button.h"
#include "panel/hot_key_win.h"
#include "panel/item_drag.h"
#include "panel/item_file_session_win.h"
#include "panel/item_glyph.h"
#include "panel/item_list.h"
#include "panel/items_menu_win.h"
#include "panel/panel_metrics.h"
#include "panel/pointer_router_win.h"
#include "panel/pointer_watch.h"
#include "panel/sharp_icon_worker_win.h"
#include "panel/strip_focus.h"
#include "panel/strip_accessible_win.h"
#include "panel/strip_tooltips_win.h"
#include "panel/type_to_find.h"
#include "platform/app_icon.h"
#include "platform/com_ptr.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/profile.h"
#include "platform/tray.h"
#include "platform/window_base.h"

namespace tilerack {

inline constexpr const wchar_t* kPanelClassName = L"TMainPanel";
// The panel's window timers: the pointer watch, the strip buttons' reveal and
// the lifts above a stand-in notification area, the strip's scrolling while
// a drag rests near its top or bottom.
inline constexpr UINT_PTR kTimerMouseId = 1;
inline constexpr UINT_PTR kTimerButtonId = 2;
inline constexpr UINT_PTR kTimerLiftId = 3;
inline constexpr UINT_PTR kTimerDragScrollId = 4;
inline constexpr UINT kDragScrollInterval = 150;  // ms

class TMainPanel final : public win::WindowBase,
                         public IPanelHost,
                         private AccessibleStripHost,
                         private ItemFileHost,
                         private StripObserver {
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
    LRESULT AnswerCopyData(const COPYDATASTRUCT& data);

    // Start-up, settings and shutdown (sysmain_win.cpp).
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void LoadItems();
    void SaveSettings();
    // ItemFileHost: the item file session's view of the list.
    void TakeReadItem(size_t index, std::unique_ptr<TShortCut> item) override;
    void ItemsRead() override { LayoutButtons(); }
    std::vector<const TShortCut*> ItemsToSave() const override { return Items.Items(); }
    bool ListInMotion() const override { return drag_.Dragging() || dropPictures_.Waiting(); }
    void AdoptApplicationOwner();
    void AddTrayIcon();
    void LoadAppIcons();
    void LiftAboveTrayStandIn();
    void TrayIconMessage(LPARAM mouseMessage);
    void OnEndSession(bool ending);
    void OnClose();
    void ApplyOnTop();
    void Invalidate();

    // The display scale (sysmain_win.cpp): every size of the panel follows
    // the scale of the screen it stands on; the settings keep 96-DPI sizes.
    void ApplyDpi(int dpi);
    void OnDpiChanged(int dpi);
    void OnPendingDpi();
    void DpiNotice(int dpi);
    void ChangeDpi(int dpi);
    // The panel's width in 96-DPI pixels: the stored Width while the frame
    // still has the width it gives, else the frame's width unscaled.
    int LogicalWidth() const;

    // The strip and its background (panel_strip_win.cpp).
    void AddItem(size_t index, std::unique_ptr<TShortCut> item, bool layOut = true);
    void AddItemButton(ItemEntry& entry, bool layOut);
    void UpdateItemButton(TShortCut& item);
    void RemoveItem(const TShortCut& item);
    void LayoutButtons();
    // The strip scrolled to start at item `first`.
    void ScrollStripTo(int first);
    void FormResize();
    void OnPaint();
    // Measures where each shown button's parts go, then draws them.
    void FormPaint(HDC dc);
    std::vector<PlacedButton> MeasureStrip(HDC dc, Extent client) const;
    void DrawStrip(HDC dc, PixelRows pixels, const std::vector<PlacedButton>& placed) const;
    // Captures the screen under the shown place while the panel is hidden.
    void CaptureBackground();
    // The same whether hidden or not: the panel does not stand there now.
    void CaptureUnderShownPlace();
    // Reads the columns of Background past the frame's far side that the
    // capture before the first show left black.
    void CaptureColumnsBeyond();
    // The screen column under the client area's left edge, where the capture starts.
    int BackgroundLeft();
    void ReblendBackground();
    void LoadArrowGlyphs();
    void SetSide(PanelSide side);
    TFlatButton* HitTest(POINT clientPoint) const { return strip_.HitTest(clientPoint.x, clientPoint.y); }
    // StripObserver: assistive technology, the last right press and the
    // keyboard focus follow the strip's buttons.
    void ButtonAdded(const TFlatButton& button) override;
    void ButtonRemoving(const TFlatButton& button) override;
    void OrderChanged() override;
    // The screen y of each item button's top, in list order.
    std::vector<int> ButtonTopsOnScreen() const;

    // Sharp file icons above 100 % (panel_sharp_icons_win.cpp): asked for
    // once the panel has shown, for the items on screen (all of them with
    // `everyItem`, for the items menu), and taken in as they come.
    void RequestSharpIcons(bool everyItem = false);
    void TakeSharpIcons();
    // Every item back to its stored picture (the scale or the colour changed).
    void ForgetSharpIcons();
    // Items on screen whose sharp picture is not in yet.
    int SharpIconsWaiting() const;

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

    // Arranging items by dragging their buttons (panel_arrange_win.cpp).
    void PressForDrag(const TFlatButton* over, POINT p);
    // A move of the pressed pointer; true when a drag is on (the move is its).
    bool DragMove(POINT p);
    // The button came up: true when it ended a drag (no click then).
    bool DragRelease(POINT p);
    // Esc, a lost capture: a drag under way ends without a move.
    void CancelDrag();
    void OnCaptureChanged(HWND gaining);
    bool DragOn() const { return drag_.Dragging(); }
    // The gap of the strip nearest to client row `y`.
    int GapAt(int y) const;
    void DragScrollTick();
    void PaintDragMark(HDC dc) const;
    // How a button is drawn: as the pointer leaves it, the dragged one pressed.
    ButtonLook DrawnLook(const TFlatButton& b) const;
    // The item of the focused button moved within the list; the focus stays on it.
    void MoveFocusedItem(FocusMove move);
    void TypeToFindLetter(wchar_t letter);
    // Moves an item to list index `to`: one operation on the list, the strip
    // laid out again.
    void MoveItemTo(const TShortCut& item, int to);
    void FormMouseDown(const TFlatButton* sender, int button, POINT clientPoint);
    // The context menu for `sender` (or none) as a right press at
    // `clientPoint` opens it, shown at the screen point `menuAt`.
    void OpenContextMenu(const TFlatButton* sender, POINT clientPoint, POINT menuAt);
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

    // The keyboard and assistive technology (panel_keyboard_win.cpp).
    void RegisterPanelHotKey();
    void ReleaseKeyboardAndAccessibility();
    void HotKeyPressed();
    void OnHotKey(int id);
    void OnHotKeyTaken();
    void OnActivate(UINT state, HWND other);
    void OnAccessibleAction(long id);
    bool KeyPressed(UINT key, bool system);
    void MoveKeyboardFocus(FocusMove move);
    void FocusItemButton(const TItemButton* button);
    TItemButton* KeyboardFocusButton() const;
    int FocusedItemIndex() const;
    void KeyboardContextMenu();
    void HideByKeyboard();
    void KeyboardFocusLeft(HWND activated);
    void EndKeyboardUse();
    void ScrollToFocus();
    LRESULT AnswerGetObject(WPARAM wp, LPARAM lp);
    // Tells assistive technology of a change of `button` (none: of the strip).
    void NotifyAccessible(DWORD event, const TFlatButton* button);
    long AccessibleIdOf(const TFlatButton* button) const;
    TFlatButton* AccessibleButtonOf(long id) const;
    // AccessibleStripHost
    HWND AccessibleWindow() const override { return hwnd_; }
    std::wstring AccessibleName() const override;
    long AccessibleChildCount() const override;
    bool AccessibleChild(long id, AccessibleButton& out) const override;
    long AccessibleFocus() const override;
    long AccessibleHitTest(POINT screen) const override;
    bool AccessibleDoDefaultAction(long id) override;
    bool AccessibleSelect(long id) override;

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
    // blended in as it is painted.
    TBitmap Background;
    // The screen columns just left of Background on the right side, captured with it.
    TBitmap besideBackground_;
    // Columns of Background the panel colour is blended into as it is
    // painted: the whole capture; columns added by a widening stay as they are
    // until the next capture or a change of colour or opacity.
    int blendedColumns_ = 0;
    // The canvases of the captures under the panel and of its paints, kept
    // from one show and one paint to the next.
    win::KeptCanvas captureCanvas_;
    win::KeptCanvas paintCanvas_;
    // The button the last right press was on (or none), and where on the
    // screen: the item commands act on it, a new item goes in there.
    ButtonId ClickedControl = kNoButton;
    POINT ClickPoint{0, 0};
    bool itemCommandsEnabled_ = true;

    ItemGlyphPainter glyphPainter_;
    win::UniqueFont font_;

    EdgeDock dock_;
    PointerWatch watch_;
    PointerRouter router_;
    StripTooltips tooltips_;
    ItemsMenu itemsMenu_;
    // A re-layout at a new scale: FormResize leaves the panel where it stands.
    bool keepPlace_ = false;
    bool changingDpi_ = false;
    // A scale noticed inside the panel's own move or re-layout, still to be
    // taken up (0: none), and whether the message that takes it up is posted.
    int pendingDpi_ = 0;
    bool dpiPosted_ = false;
    // The WM_DPICHANGED notices so far and how deep inside one another they came.
    int dpiNotices_ = 0, dpiNesting_ = 0, dpiDeepest_ = 0;
    // The settings file holds a chosen screen ("Monitor").
    bool monitorStored_ = false;
    // A press on an item's button and the drag it may become.
    ItemDrag drag_;
    TypeToFind typeToFind_;
    bool timerMouseOn_ = false;
    bool timerButtonOn_ = false;

    std::unique_ptr<SharpIconWorker> sharpIcons_;  // made at the first request
    DropPictures dropPictures_;                    // dropped files' pictures, made off this thread
    bool shown_ = false;                          // the first show is done
    bool columnsBeyondPending_ = false;           // see CaptureColumnsBeyond

    win::WindowIcons windowIcons_;
    win::TrayIcon tray_;
    int liftsLeft_ = 0;  // lifts above a stand-in notification area still to come
    std::unique_ptr<win::SettingsFile> settingsFile_;
    // The item file: its reads, the saves of the list's changes.
    ItemFileSession itemFile_{*this};
    // Destroy has begun: from then on AnswerDestroyed answers every message.
    bool destroyed_ = false;
    bool itemsReleased_ = false;  // the items are gone with the panel: nothing to save

    // The keyboard: the hot key, the item button with the keyboard focus
    // (drawn with a focus mark while the panel has the focus), whether the
    // panel is in keyboard use (shown by the hot key or a key pressed on it:
    // the pointer watch does not hide it then until Esc or the focus leaves),
    // the window to give the focus back to, and the first item the strip
    // shows (0 unless the keyboard scrolled it).
    PanelHotKey hotKey_;
    ButtonId keyboardFocus_ = kNoButton;
    bool keyboardUse_ = false;
    HWND focusReturn_ = nullptr;
    int firstShown_ = 0;
    // Made at the first WM_GETOBJECT; cut off when the panel is destroyed.
    win::ComPtr<StripAccessible> accessible_;
};

}  // namespace tilerack
