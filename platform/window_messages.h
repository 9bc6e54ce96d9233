#pragma once
// The program's private window messages, named in one place so that no two
// can collide.
#include <windows.h>

namespace tilerack::win {

// The notification-area icon's callback (WM_APP + 1).
inline constexpr UINT kTrayCallbackMessage = 0x8001;
// Posted to the panel to pass its place on to the window system again.
inline constexpr UINT kResyncPlaceMessage = WM_APP + 2;
// Posted to the panel by its accessible object: carry out a button's default
// action (wParam: the child id) once the caller has had its answer.
inline constexpr UINT kAccessibleActionMessage = WM_APP + 3;
// Posted to the panel when its hot key is held by another program: say so
// once, from the message loop.
inline constexpr UINT kHotKeyTakenMessage = WM_APP + 4;
// Posted to the panel: take up a change of the display scale that was
// noticed inside its own move or re-layout.
inline constexpr UINT kPendingDpiMessage = WM_APP + 5;
// Posted to the panel by the worker that makes sharp file icons: results
// are waiting.
inline constexpr UINT kSharpIconsMessage = WM_APP + 6;
// Posted to the panel by itself when a second start of the program asked it
// to come out: it does, once that start has had its answer.
inline constexpr UINT kBringOutMessage = WM_APP + 7;
// Posted to the panel by the thread that makes dropped files' pictures:
// pictures are waiting.
inline constexpr UINT kDropPicturesMessage = WM_APP + 8;
// Posted to the panel at its start when it runs as administrator: say once,
// from the message loop, that the file manager's drops cannot reach it.
inline constexpr UINT kElevatedNoticeMessage = WM_APP + 9;
// Posted to the panel by a thread that read a folder for its menu: the
// read's id in lParam.
inline constexpr UINT kFolderListingMessage = WM_APP + 12;
// Sent to the panel by a benchmark: answered with the number of items on
// screen still waiting for their sharp picture (0 at 100 %).
inline UINT SharpIconsWaitingMessage() {
    static const UINT message = RegisterWindowMessageW(L"tilerack.SharpIconsWaiting");
    return message;
}
// Sent to the panel by a check from outside: answered with the number of
// times it wrote its item file in this run.
inline UINT ItemFileSavesMessage() {
    static const UINT message = RegisterWindowMessageW(L"tilerack.ItemFileSaves");
    return message;
}
// Posted to the application window: show the recorded failures.
inline constexpr UINT kShowErrorsMessage = WM_APP + 0x100;

// The panel answers this registered message with the number of
// WM_DPICHANGED notices it had (low word) and how deep they ever came inside
// one another (high word: 1 when none came inside the handling of another),
// so a check from outside can see that its moves never recurse.
inline UINT DpiNoticeCensusMessage() {
    static const UINT message = RegisterWindowMessageW(L"tilerack.DpiNoticeCensus");
    return message;
}

static_assert(kTrayCallbackMessage == WM_APP + 1);
static_assert(kTrayCallbackMessage != kResyncPlaceMessage && kResyncPlaceMessage != kShowErrorsMessage &&
              kTrayCallbackMessage != kShowErrorsMessage);
static_assert(kAccessibleActionMessage != kTrayCallbackMessage && kAccessibleActionMessage != kResyncPlaceMessage &&
              kAccessibleActionMessage != kShowErrorsMessage);

}  // namespace tilerack::win
