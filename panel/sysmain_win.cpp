// The panel window: creation, start-up, settings, the display scale, the
// tray icon, shutdown and the message dispatch.
#include "panel/sysmain.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "common/app_texts.h"
#include "common/errors.h"
#include "common/flag_scope.h"
#include "common/font_face.h"
#include "common/random.h"
#include "items/shortcut_file.h"
#include "panel/background_blend.h"
#include "platform/application.h"
#include "platform/display_scale.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/single_panel.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

constexpr DWORD kPanelStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_THICKFRAME;
constexpr DWORD kPanelExStyle = WS_EX_TOOLWINDOW;

win::Application& App() { return win::Application::Instance(); }

}  // namespace

TMainPanel::TMainPanel()
    : router_(strip_, [this] { Invalidate(); }), tooltips_(strip_), itemsMenu_(Items) {
    strip_.Watch(&router_);
    strip_.Watch(&tooltips_);
    strip_.Watch(this);
    // The items menu draws its entries and shows their hints.
    ReflectMenusTo(&itemsMenu_);
}

TMainPanel::~TMainPanel() {
    ReleaseKeyboardAndAccessibility();
    DestroyWindowNow();
}

void TMainPanel::Create() {
    RegisterWindowClass(kPanelClassName, CS_DBLCLKS, nullptr);
    // Made at its docked place at the left edge with the default width at
    // the system's scale: with the usual settings the start then moves and
    // sizes nothing (each move of a window costs a round trip to the display
    // server, and a resize a new layout of the frame). Owned by the
    // application window once that exists (AdoptApplicationOwner).
    const int systemDpi = win::SystemDpi();
    ApplyDpi(systemDpi);
    CreateWindowFor(kPanelExStyle, kPanelClassName, kAppTitleW, kPanelStyle, -dock_.FrameBorder(), -dock_.FrameBorder(),
                    metrics_.scale.Scale(kDefaultPanelWidth),
                    EdgeDock::FrameHeight(kPanelStyle, kPanelExStyle, metrics_), App().Handle());
    if (!hwnd_) throw TError(kCannotCreatePanelWindow);
    dock_.Attach(hwnd_);
    itemFile_.Attach(hwnd_);
    router_.Attach(hwnd_);
    tooltips_.Attach(hwnd_);
    // Where the screen it stands on has a scale of its own, that one.
    if (const int dpi = win::WindowDpi(hwnd_); dpi != systemDpi) ApplyDpi(dpi);
    EnableTimerButton();
    App().Guard([this] { FormCreate(); });
}

void TMainPanel::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize.x = metrics_.minWidth;
    // The docked frame stands past the screen's top and bottom: the system's
    // limit (the screen's height and one border) would cut the window it is
    // made with short of that, and the start would have to size it again.
    const LONG docked = EdgeDock::FrameHeight(kPanelStyle, kPanelExStyle, metrics_);
    info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, docked);
}

void TMainPanel::FormCreate() {
    SButtonHide.hint = kHintHide;
    SButtonClose.hint = kHintClose;
    SButtonMenu.hint = kHintMenu;
    SButtonHide.visible = false;
    SButtonMenu.visible = true;
    SButtonHide.onClick = [this] { HideByButton(); };
    SButtonClose.onClick = [this] { SButtonCloseClick(); };
    SButtonMenu.onClick = [this] { SButtonMenuClick(); };
    SButtonClose.glyph = MakeCloseCross();

    settingsFile_ = std::make_unique<win::SettingsFile>(win::ExeBaseName() + L".INI", kSettingsSection);
    const ProfileSection stored = settingsFile_->ReadSection();
    settings_ = ReadPanelSettings([&stored](const char* key) { return stored.Value(key); });
    monitorStored_ = !settings_.monitor.empty();
    dock_.SetChoice(settings_.monitor);
    // A chosen screen of another scale than the one the window was made on.
    if (const DockPlace place = dock_.Plan(settings_.side);
        dock_.Screens().size() > 1 && place.dpi != metrics_.scale.dpi)
        ApplyDpi(place.dpi);
    LoadArrowGlyphs();
    dock_.SetWidth(metrics_.scale.Scale(settings_.width));
    ApplyOnTop();
    // The tooltip control is made when the pointer first comes over the
    // panel (StripTooltips::Relay); the buttons' tools are added then.

    SYSTEMTIME now{};
    GetLocalTime(&now);
    ProgramRandom().Seed(TimeOfDaySeed(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));

    Background = TBitmap();
    App().OnMinimize = [this] { HidePanel(); };
    App().OnRestore = [this] { RestorePanel(); };
    strip_.ClearItems();
    FormResize();  // places the strip buttons and docks the panel at its edge
    LoadItems();
    EnableTimerMouse(true);
}

// The item file is read in two steps where it is long (item_file_session_win.h).
void TMainPanel::LoadItems() {
    // One more than the strip shows: enough to tell whether its arrows show.
    const int shown = FittingItemCount(dock_.Height(), SButtonHide.bounds.Bottom(), metrics_) + 1;
    std::string damage;
    if (!itemFile_.ReadAtStart(shown, damage)) return;
    SetHidden(true);
    CaptureBackground();
    LayoutButtons();
    if (!damage.empty()) throw TError(damage);
}

void TMainPanel::TakeReadItem(size_t index, std::unique_ptr<TShortCut> item) {
    AddItem(index, std::move(item), /*layOut=*/false);  // laid out once the step is read
}

void TMainPanel::Show() {
    // The first background: taken before the window appears, so the screen
    // under the panel's place does not contain the panel itself.
    if (Background.Empty()) CaptureUnderShownPlace();
    ShowWindow(hwnd_, SW_SHOW);
    FormShow();
    UpdateWindow(hwnd_);
    CaptureColumnsBeyond();
    App().Guard([this] { itemFile_.ReadRest(); });
    AdoptApplicationOwner();
    AddTrayIcon();
    RegisterPanelHotKey();
    shown_ = true;
    RequestSharpIcons();
}

// The application's hidden window owns the panel: made right after the
// first show, when the panel's appearance no longer waits on it.
void TMainPanel::AdoptApplicationOwner() {
    App().CreateHandle();
    if (App().Handle() && GetWindow(hwnd_, GW_OWNER) != App().Handle())
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(App().Handle()));
}

// Right after the first show: adding the icon waits on the shell, which the
// panel's appearance need not. Where the shell has no notification area of
// its own (Wine without one) the icon gets a window of its own at the screen's
// top-left corner, over the panel's first buttons. That window settles a moment
// after the icon is added (and up to 2 s later where the shell is still busy
// hiding it for an earlier icon) and comes out above the panel: the panel is
// lifted back above it at once, after half a second and after 2.5 s.
void TMainPanel::AddTrayIcon() {
    if (tray_.Registered()) return;
    LoadAppIcons();
    tray_.Add(hwnd_, appIcon_.get(), kAppTitleW);
    liftsLeft_ = 3;
    LiftAboveTrayStandIn();
}

// The program's icon at the sizes the panel's scale shows it: the
// notification area's small icon and the window's two.
void TMainPanel::LoadAppIcons() {
    appIcon_ = win::LoadAppIcon(win::SmallIconSize(metrics_.scale.dpi));
    windowIcons_.Apply(hwnd_, metrics_.scale.dpi);
}

void TMainPanel::LiftAboveTrayStandIn() {
    KillTimer(hwnd_, kTimerLiftId);
    if (liftsLeft_ <= 0) return;
    --liftsLeft_;
    if (IsWindowVisible(hwnd_)) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (liftsLeft_ > 0) SetTimer(hwnd_, kTimerLiftId, liftsLeft_ == 2 ? 500 : 2000, nullptr);
}

void TMainPanel::FormShow() { SetHidden(false); }

void TMainPanel::CaptureAndRepaint() {
    CaptureUnderShownPlace();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TMainPanel::Destroy() {
    if (destroyed_ || !hwnd_) return;
    destroyed_ = true;
    App().Guard([this] { FormDestroy(); });
    ReleaseKeyboardAndAccessibility();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void TMainPanel::FormDestroy() {
    tray_.Remove();
    // A failed save ends here: its error is shown while the panel still
    // shows its items; they are freed with the panel.
    SaveAll();
    itemsReleased_ = true;
    strip_.ClearItems();
    Background = TBitmap();
}

// The items are saved even when the settings cannot be: losing the list for
// a settings file is never worth it.
void TMainPanel::SaveAll() {
    std::string failures;
    try {
        SaveSettings();
    } catch (const std::exception& e) {
        failures = e.what();
    }
    try {
        itemFile_.Save();
    } catch (const std::exception& e) {
        failures += (failures.empty() ? "" : "\r\n") + std::string(e.what());
    }
    if (!failures.empty()) throw TError(failures);
}

void TMainPanel::SaveSettings() {
    if (!settingsFile_) throw TError(kSettingsFileNotOpen);
    PanelSettings s = settings_;
    s.width = LogicalWidth();
    for (const auto& [key, value] : PanelSettingsValues(s)) settingsFile_->Write(key.c_str(), value);
    // Back on the primary: the stored choice goes; a file that never had one
    // is left as it is.
    if (s.monitor.empty() && monitorStored_) settingsFile_->Remove(kMonitorKey);
    monitorStored_ = !s.monitor.empty();
}

// Windows ends the session without running the program's shutdown: save
// now, or the items changed since the start would be lost.
void TMainPanel::OnEndSession(bool ending) {
    if (ending) App().Guard([this] { SaveAll(); });
}

// Closing the main window ends the application; the panel is saved and
// destroyed once the message loop has ended.
void TMainPanel::OnClose() { App().Terminate(); }

void TMainPanel::TrayIconMessage(LPARAM mouseMessage) {
    // A modal dialog of the panel is open (it disabled the panel): a menu or
    // a second dialog from the tray now would run inside its modal loop.
    if (!IsWindowEnabled(hwnd_)) return;
    switch (mouseMessage) {
    case WM_RBUTTONDOWN: {
        POINT p;
        GetCursorPos(&p);
        PopupMainAt(p);
        break;
    }
    case WM_LBUTTONDBLCLK:
        SlideIn();
        break;
    }
}

void TMainPanel::ChangeSettings(const PanelSettings& settings) {
    const PanelSettings old = settings_;
    settings_.timeOut = settings.timeOut;
    settings_.opacity = settings.opacity;
    settings_.color = settings.color;
    settings_.onTop = settings.onTop;
    if (settings.width != old.width) {
        settings_.width = settings.width;
        dock_.SetWidth(metrics_.scale.Scale(settings.width));
    }
    if (settings.side != old.side) SetSide(settings.side);
    if (settings.onTop != old.onTop) ApplyOnTop();
    if (settings.color != old.color) {
        // Icons are made on the panel colour: the old ones no longer match.
        ForgetSharpIcons();
        RequestSharpIcons();
    }
    if (settings.color != old.color || settings.opacity != old.opacity) {
        ReblendBackground();
        Invalidate();
    }
}

bool TMainPanel::StaysOnTop() const { return (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Off the topmost band the panel moves unowned for a moment: Wine (10)
// keeps an owned window that stands right above its owner where it is,
// topmost, when asked below the topmost windows.
void TMainPanel::ApplyOnTop() {
    if (StaysOnTop() == settings_.onTop) return;
    const HWND owner = settings_.onTop ? nullptr : GetWindow(hwnd_, GW_OWNER);
    if (owner) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, 0);
    SetWindowPos(hwnd_, settings_.onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (owner) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void TMainPanel::Invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

void TMainPanel::ApplyDpi(int dpi) {
    const DpiScale scale = DpiScale::Of(dpi);
    const DWORD style = hwnd_ ? GetWindowLongW(hwnd_, GWL_STYLE) : kPanelStyle;
    const DWORD exStyle = hwnd_ ? GetWindowLongW(hwnd_, GWL_EXSTYLE) : kPanelExStyle;
    metrics_ = PanelMetrics::For(scale, win::FrameBorder(style, exStyle, scale.dpi));
    dock_.SetMetrics(metrics_);
    font_ = win::MakeFont(win::Widen(FontFaceForDpi(kPanelFontFace, scale.dpi)), metrics_.fontHeight, RUSSIAN_CHARSET);
    itemsMenu_.SetScale(scale);
    tooltips_.SetDpi(scale.dpi);
    for (const auto& entry : Items) entry->button.ForgetScaledImages();
    ForgetSharpIcons();
}

// WM_DPICHANGED: the panel's screen took another scale (or the panel went
// to a screen of another). The suggested rectangle is not taken: the panel
// docks itself. The notices are counted, and how deep inside one another
// they came, for the tests to read.
void TMainPanel::OnDpiChanged(int dpi) {
    ++dpiNotices_;
    dpiDeepest_ = std::max(dpiDeepest_, ++dpiNesting_);
    DpiNotice(dpi);
    --dpiNesting_;
}

// A notice that comes inside the panel's own move or re-layout (the system
// sends it from within SetWindowPos) is taken up once that is done: a
// re-layout never sets off another one.
void TMainPanel::DpiNotice(int dpi) {
    pendingDpi_ = dpi;
    if (dock_.Placing() || changingDpi_) {
        if (!dpiPosted_) dpiPosted_ = PostMessageW(hwnd_, win::kPendingDpiMessage, 0, 0) != 0;
        return;
    }
    while (pendingDpi_ != 0) {
        const int next = std::exchange(pendingDpi_, 0);
        ChangeDpi(next);
    }
}

// The notice put off by DpiNotice.
void TMainPanel::OnPendingDpi() {
    dpiPosted_ = false;
    if (pendingDpi_ == 0) return;
    DpiNotice(pendingDpi_);
    // The system gave the frame the border of the screen it moved onto: it
    // stands at its place again with that border.
    if (Hidden)
        dock_.MoveToHidden(settings_.side);
    else
        dock_.Dock(settings_.side);
}

// The panel keeps its width in 96-DPI pixels and lays everything out again
// at once where it stands: it stays shown or hidden as it was.
void TMainPanel::ChangeDpi(int dpi) {
    if (DpiScale::Of(dpi) == metrics_.scale) return;
    const FlagScope changing(changingDpi_), keepPlace(keepPlace_);
    CaptureColumnsBeyond();  // before the first show the window covers none of them
    const int width = LogicalWidth();
    settings_.width = width;
    const int oldBackgroundLeft = BackgroundLeft();
    ApplyDpi(dpi);
    if (tray_.Registered()) {
        LoadAppIcons();
        tray_.ChangeIcon(appIcon_.get());
    }
    const int pixels = std::max(metrics_.scale.Scale(width), metrics_.minWidth);
    // A shown panel needs its background at the new width now, and is about
    // to cover screen it has not captured: that part is taken before it grows.
    const bool shown = !Hidden && !Background.Empty();
    TBitmap screen, kept;
    const int extra = metrics_.captureExtra;
    const int edge = dock_.ClientEdge(settings_.side), top = dock_.ClientTop(settings_.side);
    const int screenLeft = settings_.side == PanelSide::Right ? edge - pixels - extra : edge;
    if (shown) {
        win::CaptureScreen(screenLeft, top, pixels + 2 * extra, dock_.Height() + extra, screen);
        kept = Background;  // as captured: the resize pads it with black columns
    }
    // Sized and placed in one move: a hidden panel stays hidden.
    if (Hidden)
        dock_.MoveToHidden(settings_.side, pixels);
    else
        dock_.Dock(settings_.side, pixels);
    FormResize();
    LayoutButtons();
    if (shown) {
        Background = JoinCaptures({{&screen, screenLeft},
                                   {&besideBackground_, oldBackgroundLeft - besideBackground_.Width()},
                                   {&kept, oldBackgroundLeft}},
                                  BackgroundLeft(), dock_.Width() + extra, dock_.Height());
        if (!besideBackground_.Empty())
            besideBackground_ = JoinCaptures({{&screen, screenLeft}}, BackgroundLeft() - extra, extra, dock_.Height());
        ReblendBackground();
    }
    // Where it stands at the new size: a hidden panel stays hidden.
    if (Hidden)
        dock_.MoveToHidden(settings_.side);
    else
        dock_.Dock(settings_.side);
    // Painted before the notice returns: the frame's old picture, at its old
    // scale, is not left on the screen meanwhile.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

int TMainPanel::LogicalWidth() const {
    const int pixels = dock_.Width();
    return pixels == metrics_.scale.Scale(settings_.width) ? settings_.width : metrics_.scale.Unscale(pixels);
}

// Each message goes to the handler of its concern, in the file of that
// concern (sysmain.h has the map). A case that returns answers the message;
// one that breaks leaves it to the system's default as well. The menus'
// messages reach the items menu through the window base (ReflectMenusTo).
LRESULT TMainPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (destroyed_) return AnswerDestroyed(msg, wp, lp);
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) tooltips_.Relay(msg, wp, lp);
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    // The tray icon, the display scale and shutdown (this file).
    case win::kTrayCallbackMessage: TrayIconMessage(lp); return 0;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wp)); return 0;
    case win::kPendingDpiMessage: OnPendingDpi(); return 0;
    case WM_ENDSESSION: OnEndSession(wp != 0); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_COPYDATA: return AnswerCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case win::kBringOutMessage: HotKeyPressed(); return 0;
    // The look (panel_strip_win.cpp, panel_sharp_icons_win.cpp).
    case WM_ERASEBKGND: return 1;  // FormPaint covers every pixel
    case WM_PAINT: OnPaint(); return 0;
    case win::kSharpIconsMessage: TakeSharpIcons(); return 0;
    // The place, the screens and the timers (panel_docking_win.cpp).
    case WM_DISPLAYCHANGE: ScreensChanged(); break;
    case WM_SETTINGCHANGE: OnSettingChange(static_cast<UINT>(wp)); break;
    case WM_SIZE: OnSize(static_cast<UINT>(wp)); return 0;
    case WM_SYSCOMMAND: if (OnSysCommand(wp)) return 0; break;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lp)); break;
    case win::kResyncPlaceMessage: dock_.Resync(); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    // The pointer, the context menu and dropped files (panel_commands_win.cpp).
    case WM_MOUSEMOVE: OnMouseMove(p); return 0;
    case WM_MOUSELEAVE: router_.Leave(); return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: OnLeftDown(p); return 0;
    case WM_LBUTTONUP: OnLeftUp(p); return 0;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: FormMouseDown(HitTest(p), VK_RBUTTON, p); return 0;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: FormMouseDown(HitTest(p), VK_MBUTTON, p); return 0;
    case WM_SETCURSOR: if (OnSetCursor(LOWORD(lp))) return TRUE; break;
    case WM_CONTEXTMENU: return 0;  // opened on the press itself (FormMouseDown, KeyPressed)
    case WM_DROPFILES: WMDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    // A drag of an item's button (panel_arrange_win.cpp).
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lp)); return 0;
    case WM_CANCELMODE: CancelDrag(); break;
    // The keyboard and assistive technology (panel_keyboard_win.cpp).
    case WM_HOTKEY: OnHotKey(static_cast<int>(wp)); return 0;
    case win::kHotKeyTakenMessage: OnHotKeyTaken(); return 0;
    case WM_KEYDOWN: if (KeyPressed(static_cast<UINT>(wp), false)) return 0; break;
    case WM_SYSKEYDOWN: if (KeyPressed(static_cast<UINT>(wp), true)) return 0; break;
    case WM_CHAR: TypeToFindLetter(static_cast<wchar_t>(wp)); return 0;
    case WM_SETFOCUS: Invalidate(); break;  // the focus mark shows
    case WM_ACTIVATE: OnActivate(LOWORD(wp), reinterpret_cast<HWND>(lp)); break;
    case WM_GETOBJECT: return AnswerGetObject(wp, lp);
    case win::kAccessibleActionMessage: OnAccessibleAction(static_cast<long>(wp)); return 0;
    default: return AnswerRegistered(msg, wp, lp);
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// Once Destroy has begun the panel starts and moves nothing more. It still
// paints what it holds (the error of a failed last save is shown over it),
// and it neither closes a second time nor takes the place a new scale
// suggests. The session ending while that error shows saves once more, as
// long as the panel still holds its items; everything else is the system's
// default.
LRESULT TMainPanel::AnswerDestroyed(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ENDSESSION:
        if (!itemsReleased_) OnEndSession(wp != 0);
        return 0;
    case WM_CLOSE:
    case WM_DPICHANGED: return 0;
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

// A second start of the program for this item file asks the panel out (it
// comes out as the hot key brings it) and ends.
LRESULT TMainPanel::AnswerCopyData(const COPYDATASTRUCT& data) {
    if (!win::IsBringOutRequest(data, ItemFileSession::Path())) return FALSE;
    PostMessageW(hwnd_, win::kBringOutMessage, 0, 0);
    return TRUE;
}

// The messages registered by name, which have no constant to switch on: the
// shell's restart, and what the tests ask of the running panel.
LRESULT TMainPanel::AnswerRegistered(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == win::TrayIcon::TaskbarCreatedMessage()) {
        tray_.Readd();
        return 0;
    }
    if (msg == win::HandleCensusMessage() && wp <= static_cast<WPARAM>(win::HandleKind::Other))
        return win::HandleCensus::Live(static_cast<win::HandleKind>(wp));
    if (msg == win::DpiNoticeCensusMessage()) return MAKELRESULT(dpiNotices_, dpiDeepest_);
    if (msg == win::SharpIconsWaitingMessage()) return SharpIconsWaiting();
    if (msg == win::ItemFileSavesMessage()) return itemFile_.SaveCount();
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tilerack
