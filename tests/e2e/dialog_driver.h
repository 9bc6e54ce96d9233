// Driving the program's dialogs from outside: finding their controls,
// reading and setting texts, pressing buttons, answering the file dialog,
// reading list views, the way a user does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_harness.h"

namespace e2e {

// The first child control of `parent` of the class (any case) whose text is
// `text` (any text when empty); the `nth` such control, counting from 0.
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text = {}, int nth = 0);
// The first child control of the class whose text starts with `prefix`.
HWND ChildStartingWith(HWND parent, const std::wstring& className, const std::wstring& prefix);
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
// A control's text read with WM_GETTEXT (works across processes).
std::wstring ControlText(HWND control);
void SetControlText(HWND control, const std::wstring& text);
// Presses a button as a click does (BM_CLICK, posted: the dialog may go modal).
void PressButton(HWND button);
// The same for the button of `dialog` with `text`; false, with a failure recorded, without one.
bool PressButton(HWND dialog, const std::wstring& text);
// A real left click on the control's centre, once the pointer stands over its window there.
void ClickCentre(HWND control);
// Gives `control` the keyboard focus with a real click on it, then types
// `text` as key input (line breaks as Enter).
void ClickAndType(HWND control, const std::wstring& text);

// Chooses `path` in an open-file dialog of `pid` and confirms it.
bool AnswerOpenFileDialog(DWORD pid, const std::wstring& path);

// A list view of another process, read through memory lent in that process.
std::vector<std::wstring> ListViewTexts(HWND list);
// An entry's rectangle (LVIR_ICON) in the list view's client coordinates.
RECT ListViewItemRect(HWND list, int index);

// Right-clicks the panel at `clientPoint`, chooses `entry` and returns the
// dialog of `className` it opens, or nullptr with a failure recorded.
HWND OpenDialogFromPanel(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry,
                         const std::wstring& className);

}  // namespace e2e
