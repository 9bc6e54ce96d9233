#pragma once
// Pictures designed at 96 DPI drawn at a display scale: the size scaled,
// the pixels filled in with the smoothing filter of covered_picture.h, and a
// see-through colour kept exact. At the base scale a picture is drawn pixel
// for pixel as it is.
#include "common/bitmap.h"
#include "common/dpi_scale.h"

namespace tilerack {

// Draws `picture` with its top-left corner at (x, y) in `target`, clipped, at
// scale.Scale(width) x scale.Scale(height). `keyed`: the pixels of the
// picture's lower-left colour are left out, and its edges blend with what
// lies under them instead of taking on the see-through colour.
void DrawPictureAtScale(TBitmap& target, int x, int y, const TBitmap& picture, DpiScale scale, bool keyed);

// An opaque picture made width x height with the smoothing filter; at its own
// size an exact copy of the pixels.
TBitmap ScaledSmoothly(const TBitmap& picture, int width, int height);

}  // namespace tilerack
