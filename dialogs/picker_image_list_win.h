#pragma once
// One image list of the icon picker: the images its list view shows, at the
// display's scale, together with the 32 x 32 pictures they were made from. A
// choice is answered from those pictures, never read back out of the shown
// images.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <vector>

#include "common/bitmap.h"
#include "platform/handles.h"

namespace tilerack {

class PickerImageList {
public:
    // Images `shownSize` pixels square; throws TError when the list cannot
    // be made.
    explicit PickerImageList(int shownSize);

    HIMAGELIST Handle() const { return list_.get(); }
    int Count() const { return ImageList_GetImageCount(list_.get()); }

    // Adds the picture opaque, or with its pixels of `key` see-through. An
    // empty picture adds nothing.
    void Add(const TBitmap& picture, std::optional<Color> key = std::nullopt);
    void RemoveAll();
    // The same images made again `shownSize` pixels square from their
    // pictures (a new display scale); a handle taken before is gone.
    void Resize(int shownSize);
    // Image `index` as a choice hands it back: 32 x 32, white where
    // see-through; all white for an index the list does not hold.
    TBitmap Chosen(int index) const;

private:
    bool AddShown(const TBitmap& source, std::optional<Color> key);

    struct Source {
        TBitmap picture;
        std::optional<Color> key;
    };
    win::UniqueHandle<HIMAGELIST, &ImageList_Destroy> list_;
    std::vector<Source> sources_;  // one per image, in the list's order
    int shownSize_;
};

}  // namespace tilerack
