#pragma once
// The icon picker (TFormSelector): pictures of the icon collection "icons.dat"
// or the icons of a program or library, plus the "Новый" entry for a new glyph.
//
// Where each behaviour lives: mainselform_win.cpp (the window, its list
// view, browsing for a program); picker_image_list_win.h (the image lists and
// the pictures they keep); picker_pictures.h (a picture as shown at the
// display's scale and as a choice hands it back); icon_collection.h (reading
// "icons.dat"); icon_picker_rules.h (the list's entries); icon_choice_rule.h
// (what the item dialog does with a choice).
#include <windows.h>

#include <string>

#include "common/bitmap.h"
#include "dialogs/panel_host.h"

namespace tilerack {

// What the caller reads once the picker has closed.
struct IconChoice {
    int tag = -1;         // the chosen image's index, -1 when nothing was chosen
    int imageCount = 0;   // the number of images in the list shown at the end
    TBitmap chosen;       // the chosen picture at 32 x 32 (white where transparent)
};

// Creates the picker, shows it modally over `owner` and frees it.
IconChoice ChooseIcon(IPanelHost& panel, HWND owner);
// The same with the collection read from `collectionFile` instead of
// "icons.dat" beside the executable.
IconChoice ChooseIcon(IPanelHost& panel, HWND owner, const std::wstring& collectionFile);

}  // namespace tilerack
