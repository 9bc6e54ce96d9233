#pragma once
// The pictures of the settings dialog's side buttons: a screen with the
// panel's strip at one edge and arrow heads pointing to it.
#include "common/bitmap.h"

namespace tilerack {

inline constexpr int kSidePictureSize = 64;
inline constexpr Color kSideStripColor = Rgb(0, 64, 224);

// Side 0: the strip at the left edge, arrows pointing left; side 1 is its
// mirror image.
TBitmap DrawSidePicture(int side);

}  // namespace tilerack
