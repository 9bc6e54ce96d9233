#include "panel/flat_button.h"

#include <algorithm>

namespace tilerack {

int TFlatButton::ImageIndex() const {
    if (numGlyphs < 5) return 0;
    if (pressed && hot) return 2;
    return hot ? 0 : 4;
}

}  // namespace tilerack
