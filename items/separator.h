#pragma once
// A separator: a thin line across the strip between groups of items. It is
// stored as an ordinary record of the item file, so every reader of the
// format keeps working: empty parameters, file, working folder and hint,
// the caption "-", and a picture of one pixel (the smallest image the
// record can hold). A record of that form reads back as a separator; any
// other record, one captioned "-" with a file included, is an item.
#include <memory>

#include "items/shortcut.h"

namespace tilerack {

inline constexpr const char* kSeparatorCaption = "-";

std::unique_ptr<TShortCut> MakeSeparator();
bool IsSeparator(const TShortCut& item);

}  // namespace tilerack
