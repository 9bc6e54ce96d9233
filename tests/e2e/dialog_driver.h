// Driving the program's context menu and dialogs from outside: finding the
// dialog windows and their controls, reading and setting texts, pressing
// buttons and typing, the way a user does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_harness.h"

namespace e2e {

// The entries of the panel's context menu in keyboard order (separators are
// skipped by the arrow keys).
enum class MainMenuEntry { NewItem, MoveUp, MoveDown, Delete, ShowFile, Properties, Settings, Exit };

// Right-clicks the panel at `clientPoint` (panel client coordinates) and
// chooses `entry` by the keyboard; false (with a recorded failure) when the
// menu did not open or did not close.
bool ChooseFromContextMenu(const PanelProcess& panel, HWND window, POINT clientPoint, MainMenuEntry entry);

// A visible top-level window of `pid` of the class (any case), or nullptr.
HWND FindTopWindow(DWORD pid, const std::wstring& className);
// The same, waiting up to `timeout` for it.
HWND WaitForTopWindow(DWORD pid, const std::wstring& className, std::chrono::milliseconds timeout = 10s);
// The file-open or folder dialog (#32770 with the given title part, or any).
HWND WaitForCommonDialog(DWORD pid, std::chrono::milliseconds timeout = 10s);

// The first child control of `parent` of the class (any case) whose text is
// `text` (any text when empty); the `nth` such control, counting from 0.
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text = {}, int nth = 0);
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
// A control's text read with WM_GETTEXT (works across processes).
std::wstring ControlText(HWND control);
void SetControlText(HWND control, const std::wstring& text);
// Presses a button as a click does (BM_CLICK, posted: the dialog may go modal).
void PressButton(HWND button);
// A control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control);

// Gives `control` the keyboard focus with a real click on it, then types
// `text` as key input (line breaks as Enter).
void ClickAndType(HWND control, const std::wstring& text);
void PressKey(WORD virtualKey);
// Types `text` as key input into whatever has the focus (line breaks as Enter).
void TypeText(const std::wstring& text);

// Chooses `path` in an open-file dialog of `pid` and confirms it.
bool AnswerOpenFileDialog(DWORD pid, const std::wstring& path);

}  // namespace e2e

namespace e2e {

// A list view of another process, read through memory lent in that process.
std::vector<std::wstring> ListViewTexts(HWND list);
// An entry's rectangle (LVIR_ICON) in the list view's client coordinates.
RECT ListViewItemRect(HWND list, int index);
// Two real left clicks at a screen point, within the double-click time.
void DoubleClickAt(int x, int y);

}  // namespace e2e
