#pragma once
// The icons of files: those a program, library or icon file holds, or the one
// that stands for the file's type.
#include <windows.h>

#include <string>

#include "common/bitmap.h"

namespace tilerack::win {

// With index -1: how many icons to take from the file (1 for a file with
// none of its own: its type's icon). Otherwise paints icon `index` of the
// file, or its type's icon, into `bitmap` at 32 x 32 (whatever the display
// scale) on
// `background`, and answers 1 or the icon handle's value like ExtractIcon.
int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index, COLORREF background);

// The first icon of the file, or its type's, as the file holds it at `side`
// pixels square (scaled by the system only where it holds no such size),
// painted on `background` as ExtractFileIcon paints it. False, leaving
// `bitmap` alone, when the file is not there or gives no icon. May wait on
// a slow drive: not for the user-interface thread.
bool ExtractFileIconSized(TBitmap& bitmap, const std::string& fileName, int side, COLORREF background);

}  // namespace tilerack::win
