#include "dialogs/icon_choice_rule.h"

namespace tilerack {

IconChoiceAction IconChoiceActionFor(int tag, int imageCount) {
    if (tag < 0 || tag >= imageCount) return IconChoiceAction::Unchanged;
    if (tag == imageCount - 1) return IconChoiceAction::NewGlyph;
    return IconChoiceAction::UsePicture;
}

}  // namespace tilerack
