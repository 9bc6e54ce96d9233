#include "panel/sharp_icons.h"

#include <algorithm>

namespace tilerack {

int SharpPictureSide(DpiScale scale, int storedWidth, int storedHeight) {
    if (scale.IsBase() || storedWidth <= 0 || storedWidth != storedHeight) return 0;
    return scale.Scale(storedWidth);
}

bool IsFileIconPicture(const TBitmap& stored, const TBitmap& madeNow) {
    return !stored.Empty() && stored.SamePixels(madeNow) && stored.palette.empty() && stored.xPelsPerMeter == 0 &&
           stored.yPelsPerMeter == 0;
}

std::vector<size_t> SharpRequestOrder(const std::vector<bool>& onScreen, const std::vector<SharpState>& states,
                                      bool everyItem) {
    std::vector<size_t> order;
    const size_t count = std::min(onScreen.size(), states.size());
    for (int pass = 0; pass < (everyItem ? 2 : 1); ++pass)
        for (size_t i = 0; i < count; ++i)
            if (states[i] == SharpState::Unasked && onScreen[i] == (pass == 0)) order.push_back(i);
    return order;
}

}  // namespace tilerack
