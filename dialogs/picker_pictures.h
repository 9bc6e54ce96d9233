#pragma once
// The pictures of the icon picker: each is kept at 32 x 32, shown in the
// list at the display's scale and handed back at 32 x 32 when chosen, so a
// choice never depends on the scale the list was shown at.
#include <optional>

#include "common/bitmap.h"

namespace tilerack {

// A picture as the picker keeps it: exactly 32 x 32 (others scaled to it).
TBitmap PickerSourcePicture(const TBitmap& picture);

// The kept picture as the list shows it, `size` x `size`, smoothed when
// larger. With `key`, the pixels of that colour are see-through: what is
// shown keeps the key exactly where see-through and never on a covered
// pixel, so a mask made from the key leaves no fringe of it.
TBitmap PickerShownPicture(const TBitmap& source, std::optional<Color> key, int size);

// What a choice hands back: the kept picture with its see-through pixels
// white, as a new picture without the source's stored header extras.
TBitmap PickerChosenPicture(const TBitmap& source, std::optional<Color> key);

}  // namespace tilerack
