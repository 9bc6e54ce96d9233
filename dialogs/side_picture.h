#pragma once
// The pictures of the settings dialog's side buttons: a screen with the
// panel's strip at one edge and arrow heads pointing to it.
#include "common/bitmap.h"
#include "common/panel_settings.h"

namespace tilerack {

inline constexpr int kSidePictureSize = 64;
inline constexpr Color kSideStripColor = Rgb(0, 64, 224);

// The strip at the left edge with arrows pointing left; the right side's is
// its mirror image.
TBitmap DrawSidePicture(PanelSide side);

}  // namespace tilerack
