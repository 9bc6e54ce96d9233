#pragma once
// What the item dialog does with the icon picker's answer.

namespace tilerack {

enum class IconChoiceAction {
    Unchanged,   // nothing was chosen: the preview stays as it was
    NewGlyph,    // the "Новый" entry (the list's last image): paint a new glyph
    UsePicture,  // take the picker's chosen picture
};

// `tag` is the chosen image index (-1 for none), `imageCount` the number of
// images in the list the picker showed last. No choice always leaves the
// preview alone, even for an empty list, where the last index is also -1.
IconChoiceAction IconChoiceActionFor(int tag, int imageCount);

}  // namespace tilerack
