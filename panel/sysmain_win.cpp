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
#include "common/random.h"
#include "items/shortcut_file.h"
#include "platform/application.h"
#include "platform/display_scale.h"
#include "platform/dib.h"
#include "platform/single_panel.h"
#include "platform/text.h"
#include "platform/window_messages.h"

namespace tilerack {

namespace {

constexpr DWORD kPanelStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_THICKFRAME;
constexpr DWORD kPanelExStyle = WS_EX_TOOLWINDOW;

win::Application& App() { return win::Application::Instance(); }

// The application's hidden window owns the panel: made right after the
// first show, when the panel's appearance no longer waits on it.
void AdoptApplicationOwner(HWND panel) {
    App().CreateHandle();
    if (App().Handle() && GetWindow(panel, GW_OWNER) != App().Handle())
        SetWindowLongPtrW(panel, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(App().Handle()));
}

// The frame's narrowest width, and a height that lets it stand past the
// screen's top and bottom: the system's limit (the screen's height and one
// border) would cut the window it is made with short of that, and the start
// would have to size it again.
void LimitTracking(MINMAXINFO& info, const PanelMetrics& metrics) {
    info.ptMinTrackSize.x = metrics.minWidth;
    const LONG docked = EdgeDock::FrameHeight(kPanelStyle, kPanelExStyle, metrics);
    info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, docked);
}

bool IsOnTop(HWND panel) { return (GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The window stays on top of the others, or not, as `onTop` says. Off the
// topmost band it moves unowned for a moment: Wine (10) keeps an owned window
// that stands right above its owner where it is, topmost, when asked below
// the topmost windows.
void ApplyOnTop(HWND panel, bool onTop) {
    if (IsOnTop(panel) == onTop) return;
    const HWND owner = onTop ? nullptr : GetWindow(panel, GW_OWNER);
    if (owner) SetWindowLongPtrW(panel, GWLP_HWNDPARENT, 0);
    SetWindowPos(panel, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (owner) SetWindowLongPtrW(panel, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

// A second start of the program for this item file asks the panel out (it
// comes out as the hot key brings it) and ends.
LRESULT AnswerCopyData(HWND panel, const COPYDATASTRUCT& data) {
    if (!win::IsBringOutRequest(data, ItemFileSession::Path())) return FALSE;
    PostMessageW(panel, win::kBringOutMessage, 0, 0);
    return TRUE;
}

// A move or size by the window manager that would take the panel off its
// edge is undone once it is over (EdgeDock tells them from its own).
void KeepDocked(EdgeDock& dock, PanelSide side, HWND panel, WINDOWPOS& pos) {
    if (dock.KeepDocked(side, pos)) PostMessageW(panel, win::kResyncPlaceMessage, 0, 0);
}

}  // namespace

TMainPanel::~TMainPanel() {
    drops_.Release();
    keyboard_.Release();
    accessibility_.Release();
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
    pointer_.Attach(hwnd_);
    keyboard_.Attach(hwnd_);
    accessibility_.Attach(hwnd_);
    sharpIcons_.Attach(hwnd_);
    painter_.Attach(hwnd_);
    scale_.Attach(hwnd_);
    menus_.Attach(hwnd_);
    folderMenu_.Attach(hwnd_);
    menus_.ShowFolders(&folderMenu_);
    tray_.Attach(hwnd_);
    language_.Attach(hwnd_);
    drops_.Attach(hwnd_);
    starts_.Attach(hwnd_);
    // Where the screen it stands on has a scale of its own, that one.
    if (const int dpi = win::WindowDpi(hwnd_); dpi != systemDpi) ApplyDpi(dpi);
    TimerButton.Enable(true);
    App().Guard([this] { FormCreate(); });
}

void TMainPanel::FormCreate() {
    SButtonHide.visible = false;
    SButtonMenu.visible = true;
    SButtonHide.onClick = [this] { HideByButton(); };
    SButtonClose.onClick = [this] { SButtonCloseClick(); };
    SButtonMenu.onClick = [this] { SButtonMenuClick(); };
    SButtonClose.glyph = MakeCloseCross();

    settings_ = settingsFile_.Read();
    language_.Speak(settings_.language.value_or(Language::Russian));
    dock_.SetChoice(settings_.monitor);
    // A chosen screen of another scale than the one the window was made on.
    if (const DockPlace place = dock_.Plan(settings_.side);
        dock_.Screens().size() > 1 && place.dpi != metrics_.scale.dpi)
        ApplyDpi(place.dpi);
    LoadArrowGlyphs();
    dock_.SetWidth(metrics_.scale.Scale(settings_.width));
    ApplyOnTop(hwnd_, settings_.onTop);
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

void TMainPanel::Show() {
    // The first background: taken before the window appears, so the screen
    // under the panel's place does not contain the panel itself.
    if (Background.Empty()) painter_.Capture();
    ShowWindow(hwnd_, SW_SHOW);
    FormShow();
    UpdateWindow(hwnd_);
    painter_.CaptureColumnsBeyond();
    App().Guard([this] { itemFile_.ReadRest(); });
    AdoptApplicationOwner(hwnd_);
    tray_.Add(metrics_.scale.dpi);
    if (dock_.ReadHiddenBars()) Redock();  // an auto-hide bar at the panel's edges
    keyboard_.RegisterHotKey(settings_.hotKey);
    drops_.TellIfElevated();
    painter_.FirstShowDone();
    sharpIcons_.Start();
}

void TMainPanel::FormShow() { SetHidden(false); }

void TMainPanel::CaptureAndRepaint() {
    painter_.Capture();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TMainPanel::Destroy() {
    if (lifetime_ != Lifetime::Running || !hwnd_) return;
    lifetime_ = Lifetime::Destroying;
    App().Guard([this] { FormDestroy(); });
    drops_.Release();
    keyboard_.Release();
    accessibility_.Release();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void TMainPanel::FormDestroy() {
    tray_.Remove();
    // A failed save ends here: its error is shown while the panel still
    // shows its items; they are freed with the panel.
    SaveAll();
    lifetime_ = Lifetime::ItemsReleased;
    strip_.ClearItems();
    Background = TBitmap();
}

// The items are saved even when the settings cannot be: losing the list for
// a settings file is never worth it.
void TMainPanel::SaveAll() {
    drops_.DeliverPictures(/*all=*/true);  // no placeholder is saved where a picture is on its way
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
    PanelSettings s = settings_;
    s.width = LogicalWidth();
    settingsFile_.Write(s);
}

// Windows ends the session without running the program's shutdown: save
// now, or the items changed since the start would be lost.
void TMainPanel::OnEndSession(bool ending) {
    if (ending) App().Guard([this] { SaveAll(); });
}

void TMainPanel::TrayIconMessage(LPARAM mouseMessage) {
    // A modal dialog of the panel is open (it disabled the panel): a menu or
    // a second dialog from the tray now would run inside its modal loop.
    if (!IsWindowEnabled(hwnd_)) return;
    switch (mouseMessage) {
    case WM_RBUTTONDOWN: {
        POINT p;
        GetCursorPos(&p);
        menus_.PopupMain(p);
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
    settings_.dropOpens = settings.dropOpens;
    if (settings.width != old.width) {
        settings_.width = settings.width;
        dock_.SetWidth(metrics_.scale.Scale(settings.width));
    }
    if (settings.side != old.side) SetSide(settings.side);
    if (settings.onTop != old.onTop) ApplyOnTop(hwnd_, settings_.onTop);
    if (settings.color != old.color) {
        // Icons are made on the panel colour: the old ones no longer match.
        sharpIcons_.Forget();
        sharpIcons_.Request();
    }
    if (settings.color != old.color || settings.opacity != old.opacity) {
        painter_.Reblend();
        Invalidate();
    }
}

bool TMainPanel::StaysOnTop() const { return IsOnTop(hwnd_); }

void TMainPanel::Invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

void TMainPanel::ApplyDpi(int dpi) {
    const DpiScale scale = DpiScale::Of(dpi);
    const DWORD style = hwnd_ ? GetWindowLongW(hwnd_, GWL_STYLE) : kPanelStyle;
    const DWORD exStyle = hwnd_ ? GetWindowLongW(hwnd_, GWL_EXSTYLE) : kPanelExStyle;
    metrics_ = PanelMetrics::For(scale, win::FrameBorder(style, exStyle, scale.dpi));
    dock_.SetMetrics(metrics_);
    painter_.FollowScale();
    menus_.SetScale(scale);
    pointer_.SetDpi(scale.dpi);
    for (const auto& entry : Items) entry->button.ForgetScaledImages();
    sharpIcons_.Forget();
}

// The panel keeps its width in 96-DPI pixels and lays everything out again
// at once where it stands: it stays shown or hidden as it was.
void TMainPanel::ChangeDpi(int dpi) {
    if (DpiScale::Of(dpi) == metrics_.scale) return;
    painter_.CaptureColumnsBeyond();  // before the first show the window covers none of them
    const int width = LogicalWidth();
    settings_.width = width;
    const int oldBackgroundLeft = painter_.BackgroundLeft();
    ApplyDpi(dpi);
    tray_.ChangeScale(metrics_.scale.dpi);
    const int pixels = std::max(metrics_.scale.Scale(width), metrics_.minWidth);
    // A shown panel needs its background at the new width now, and is about
    // to cover screen it has not captured: that part is taken before it grows.
    const bool shown = !Hidden && !Background.Empty();
    StripBackdrop::Held held;
    if (shown) held = painter_.HoldBackground(pixels, oldBackgroundLeft);
    // Sized and placed in one move: a hidden panel stays hidden.
    dock_.StandAtPlace(settings_.side, Hidden, pixels);
    FormResize();
    LayoutButtons();
    if (shown) painter_.RejoinBackground(held);
    dock_.StandAtPlace(settings_.side, Hidden);
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
    if (lifetime_ != Lifetime::Running) return AnswerDestroyed(msg, wp, lp);
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) pointer_.Relay(msg, wp, lp);
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (LRESULT answer = 0; folderMenu_.AnswerMenuMessage(msg, wp, lp, answer)) return answer;
    switch (msg) {
    // The tray icon and shutdown (this file); the scale (scale_follower_win.h).
    case win::kTrayCallbackMessage: TrayIconMessage(lp); return 0;
    // The screens are read again first: the notice may come before the display change's own.
    case WM_DPICHANGED: dock_.ForgetScreens(); scale_.OnDpiChanged(LOWORD(wp)); return 0;
    case win::kPendingDpiMessage: scale_.OnPendingDpi(); return 0;
    case WM_ENDSESSION: OnEndSession(wp != 0); return 0;
    case WM_CLOSE: App().Terminate(); return 0;  // saved and destroyed once the loop has ended
    case WM_COPYDATA: return AnswerCopyData(hwnd_, *reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case win::kBringOutMessage: keyboard_.HotKeyPressed(); return 0;
    // The look (panel_strip_win.cpp, strip_painter_win.h, sharp_icon_supply_win.h).
    case WM_ERASEBKGND: return 1;  // FormPaint covers every pixel
    case WM_PAINT: FormPaint(win::PaintScope(hwnd_).dc()); return 0;
    case win::kSharpIconsMessage: sharpIcons_.Take(); return 0;
    // The place, the screens and the timers (panel_docking_win.cpp).
    case WM_DISPLAYCHANGE: ScreensChanged(); break;
    case WM_SETTINGCHANGE: if (wp == SPI_SETWORKAREA) ScreensChanged(); break;
    case WM_SIZE: OnSize(static_cast<UINT>(wp)); return 0;
    // Minimising the panel minimises the application (OnSize).
    case WM_SYSCOMMAND: if ((wp & 0xFFF0) != SC_MINIMIZE) break; App().Minimize(); return 0;
    case WM_WINDOWPOSCHANGING: KeepDocked(dock_, settings_.side, hwnd_, *reinterpret_cast<WINDOWPOS*>(lp)); break;
    case win::kResyncPlaceMessage: dock_.Resync(); return 0;
    case WM_GETMINMAXINFO: LimitTracking(*reinterpret_cast<MINMAXINFO*>(lp), metrics_); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    // The pointer (strip_pointer_win.h), the context menu, drops (file_drops_win.h).
    case WM_MOUSEMOVE: pointer_.OnMouseMove(p); return 0;
    case WM_MOUSELEAVE: pointer_.OnLeave(); return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: pointer_.OnLeftDown(p); return 0;
    case WM_LBUTTONUP: pointer_.OnLeftUp(p); return 0;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: FormMouseDown(strip_.HitTest(p.x, p.y), VK_RBUTTON, p); return 0;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: FormMouseDown(strip_.HitTest(p.x, p.y), VK_MBUTTON, p); return 0;
    case WM_SETCURSOR: if (pointer_.OnSetCursor(LOWORD(lp))) return TRUE; break;
    case WM_CONTEXTMENU: return 0;  // opened on the press itself (FormMouseDown, KeyboardUse)
    case WM_DROPFILES: WMDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    case win::kDropPicturesMessage: drops_.DeliverPictures(/*all=*/false); return 0;
    case WM_CAPTURECHANGED: pointer_.OnCaptureChanged(reinterpret_cast<HWND>(lp)); return 0;
    case WM_CANCELMODE: pointer_.OnCancelMode(); break;
    // The keys (keyboard_use_win.h; Esc ends a drag first), assistive technology.
    case WM_HOTKEY: keyboard_.OnHotKey(static_cast<int>(wp)); return 0;
    case win::kHotKeyTakenMessage: keyboard_.OnHotKeyTaken(); return 0;
    case win::kElevatedNoticeMessage: drops_.OnElevatedNotice(); return 0;
    case WM_KEYDOWN:
        if ((wp == VK_ESCAPE && pointer_.CancelDrag()) || keyboard_.KeyPressed(static_cast<UINT>(wp), false)) return 0;
        break;
    case WM_SYSKEYDOWN: if (keyboard_.KeyPressed(static_cast<UINT>(wp), true)) return 0; break;
    case WM_CHAR: keyboard_.TypeToFindLetter(static_cast<wchar_t>(wp)); return 0;
    case WM_SETFOCUS: Invalidate(); break;  // the focus mark shows
    case WM_ACTIVATE: keyboard_.OnActivate(LOWORD(wp), reinterpret_cast<HWND>(lp)); break;
    case WM_GETOBJECT: return accessibility_.AnswerGetObject(wp, lp);
    case win::kAccessibleActionMessage: accessibility_.OnAction(static_cast<long>(wp)); return 0;
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
    case WM_PAINT: FormPaint(win::PaintScope(hwnd_).dc()); return 0;
    case WM_ENDSESSION:
        if (lifetime_ != Lifetime::ItemsReleased) OnEndSession(wp != 0);
        return 0;
    case WM_CLOSE:
    case WM_DPICHANGED: return 0;
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
    }
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
    if (msg == win::DpiNoticeCensusMessage()) return scale_.Census();
    if (msg == win::SharpIconsWaitingMessage()) return sharpIcons_.Waiting();
    if (msg == win::ItemFileSavesMessage()) return itemFile_.SaveCount();
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tilerack
