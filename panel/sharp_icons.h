#pragma once
// Sharp file icons at scales above 100 %. An item whose stored picture is
// exactly its file's icon as the panel makes it now (32 x 32 on the panel
// colour) is drawn from the file's own icon at the scale's picture size
// instead of from the stored picture enlarged and smoothed. The pictures are
// made away from the user-interface thread and only when first needed: the
// items on screen first, then, once the items menu opens, the rest.
// Everything else (a picture chosen or loaded by the user, a generated
// glyph, a file whose icon has changed or is gone) keeps its stored picture.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bitmap.h"
#include "common/dpi_scale.h"

namespace tilerack {

// The side of the sharp picture of a stored picture `storedSide` pixels
// square at `scale`: the side it is drawn at there. 0 at 100 %, where the
// stored picture is drawn as it is, and for a picture that is not square.
int SharpPictureSide(DpiScale scale, int storedWidth, int storedHeight);

// True when the stored picture is the file's icon as the panel makes it
// now: the same size and every pixel the same, with nothing of a loaded
// picture about it (no colour table, no resolution). Anything less is the
// user's own picture and is never replaced.
bool IsFileIconPicture(const TBitmap& stored, const TBitmap& madeNow);

// Where an item's sharp picture stands.
enum class SharpState : uint8_t {
    Unasked,  // not asked for at this scale, colour and picture
    Asked,    // on its way from the worker
    Sharp,    // made: drawn in place of the stored picture
    Kept,     // the stored picture stays (not the file's icon, or no file)
};

// The list indexes of the items to ask for now, in the order to ask: the
// items on screen from the top down, then, when `everyItem` (the items
// menu, which shows them all), the others from the top down. Only items
// not asked for yet. `onScreen` and `states` are by list index.
std::vector<size_t> SharpRequestOrder(const std::vector<bool>& onScreen, const std::vector<SharpState>& states,
                                      bool everyItem);

}  // namespace tilerack
