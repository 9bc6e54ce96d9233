#pragma once
// The panel window: the program's one main window, docked at a screen edge,
// holding the strip of item buttons.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/panel_host.h"
#include "items/shortcut.h"
#include "panel/flat_button.h"
#include "common/panel_settings.h"
#include "panel/pointer_watch.h"
#include "platform/handles.h"
#include "platform/profile.h"
#include "platform/tray.h"
#include "platform/window_base.h"

namespace tilerack {

class TMainPanel : public win::WindowBase, public IPanelHost {
public:
    TMainPanel();
    ~TMainPanel() override;
    TMainPanel(const TMainPanel&) = delete;
    TMainPanel& operator=(const TMainPanel&) = delete;

    // Creates the window and runs FormCreate; Show runs the first show.
    void Create();
    void Show();
    // Closing: the settings and items are saved, the window destroyed.
    void Destroy();

    // Shared state of the panel.
    int MouseX = 0;
    int WaitTime = 0;
    bool Hidden = false;
    std::vector<std::unique_ptr<TShortCut>> Items;
    // The screen strip under the panel as last captured; the panel colour is
    // blended in as it is painted.
    TBitmap Background;
    TFlatButton* ClickedControl = nullptr;
    bool FirstShow = true;
    POINT ClickPoint{0, 0};
    double GlyphGain = 1.07;
    TBitmap MenuGlyph;
    TBitmap HideGlyph;

    TFlatButton SButtonHide;
    TFlatButton SButtonClose;
    TFlatButton SButtonMenu;

    // Start-up, settings and shutdown.
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void SaveAll() override;
    void TrayIconMessage(LPARAM mouseMessage);
    void AddTrayIcon();
    void LiftAboveTrayStandIn();
    void AdoptApplicationOwner();

    // The strip and its background.
    // `layOut` false leaves the layout to the caller, who adds many at once.
    TItemButton* AddItemButton(TShortCut& item, bool layOut = true);
    void UpdateItemButton(TShortCut& item);
    void LayoutButtons();
    void FormResize();
    void FormPaint(HDC dc);
    void CaptureBackground();
    void LoadArrowGlyphs();
    void SetSide(int side);
    int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) override;

    // The settings: Side, Width, TimeOut, Opacity, Color and OnTop as one
    // value, changed only through ChangeSettings.
    const PanelSettings& Settings() const override { return settings_; }
    void ChangeSettings(const PanelSettings& settings) override;
    bool StaysOnTop() const override;

    // Docking and the pointer watch.
    void PlaceAtEdge();
    void SlideIn();
    void SlideOut();
    void HidePanel();
    void RestorePanel();
    void StartHideWatch();
    void HideByButton();
    void SButtonHideMouseMove();
    void TimerMouseTimer();
    void TimerButtonTimer();
    void EnableTimerMouse(bool enabled) override;
    void EnableTimerButton() override;

    // Mouse, menus and commands.
    void FormMouseDown(TFlatButton* sender, int button, POINT clientPoint);
    void ItemClick(TShortCut& item);
    void SButtonMenuClick();
    void SButtonCloseClick();
    void WMDropFiles(HDROP drop);
    void N1Click();
    void N3Click();
    void N9Click();

    // Window geometry.
    RECT Bounds() const;
    RECT ClientBounds() const;
    int Left() const;
    int ScreenWidth();
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetWidth(int width);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::wstring ItemFilePath() const;
    void LoadItems();
    void SetLeft(int left);
    // The panel's own moves; an outside one (a window manager's) is told apart.
    void SetBounds(int left, int top, int width, int height, UINT flags);
    void KeepDocked(WINDOWPOS& pos);
    void ApplyOnTop();
    void ReblendBackground();
    void Invalidate();

    // Pointer routing to the windowless buttons.
    TFlatButton* HitTest(POINT clientPoint);
    void OnMouseMove(POINT p);
    void OnMouseLeave();
    void OnLeftDown(POINT p);
    void OnLeftUp(POINT p);
    std::vector<TFlatButton*> AllButtons();

    // Tooltips of the buttons. The control is made when the pointer first
    // moves over the panel and is fed the panel's pointer messages.
    void CreateTooltips();
    void RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp);
    void SyncTooltip(TFlatButton& button);
    void RemoveTooltip(TFlatButton& button);

    // Menus.
    LRESULT HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp);
    void ShowMenuHint(const TShortCut* item, RECT entry);
    void PopupMainAt(POINT screenPoint);
    void RunMainCommand(UINT command);
    void MoveClickedItem(int delta);
    void DeleteClickedItem();
    void ShowClickedItemFile();
    TItemButton* ClickedItemButton() const;
    // The screen y of each item button's top, in list order.
    std::vector<int> ButtonTopsOnScreen() const;
    void DeleteItemButton(TItemButton* button);

    PanelSettings settings_;
    // Columns of Background the panel colour is blended into as it is
    // painted: the whole capture; columns added by a widening stay as they are
    // until the next capture or a change of colour or opacity.
    int blendedColumns_ = 0;
    int screenWidth_ = 0;  // SM_CXSCREEN, forgotten at WM_DISPLAYCHANGE
    ItemGlyphPainter glyphPainter_;
    HWND tooltip_ = nullptr;
    HWND menuHint_ = nullptr;
    win::UniqueFont font_;
    win::UniqueIcon appIcon_;
    win::TrayIcon tray_;
    std::unique_ptr<win::SettingsFile> settingsFile_;
    std::vector<std::unique_ptr<TItemButton>> buttons_;
    PointerWatch watch_;
    bool timerMouseOn_ = false;
    bool timerButtonOn_ = false;
    TFlatButton* hotControl_ = nullptr;
    TFlatButton* pressedControl_ = nullptr;
    bool trackingLeave_ = false;
    int lastClientWidth_ = 0;
    int liftsLeft_ = 0;  // lifts above a stand-in notification area still to come
    uint32_t nextToolId_ = 1;
    bool menuItemsEnabled_ = true;
    bool destroyed_ = false;
    bool placing_ = false;  // inside SetBounds
    std::vector<TShortCut*> menuItems_;  // the items of the open items menu
    friend struct PanelMenus;
};

// The one panel of the program.
extern TMainPanel* MainPanel;

inline constexpr UINT_PTR kTimerMouseId = 1;
inline constexpr UINT_PTR kTimerButtonId = 2;
inline constexpr UINT_PTR kTimerLiftId = 3;  // see AddTrayIcon
// Posted to pass the panel's place on to the window system again (KeepDocked).
inline constexpr UINT kResyncPlaceMessage = WM_APP + 2;  // WM_APP + 1 is the tray callback
inline constexpr const wchar_t* kPanelClassName = L"TMainPanel";

}  // namespace tilerack
