#pragma once
// Picture files (.bmp, .ico, .emf, .wmf) loaded for drawing at any size.
#include <windows.h>

#include <string>

#include "common/bitmap.h"
#include "common/picture_file_rules.h"
#include "platform/handles.h"

namespace tilerack::win {

class PictureFile {
public:
    // Loads `path` by its extension. Throws TError with the loader's message:
    // "Cannot open file %s", "Unknown picture file extension (.%s)", "Bitmap
    // image is not valid", "Icon image is not valid", "Metafile is not valid".
    explicit PictureFile(const std::wstring& path);

    PictureSize Size() const { return size_; }
    // Draws the picture scaled into `target` (right and bottom exclusive).
    void StretchDraw(HDC dc, const RECT& target) const;

private:
    PictureFormat format_;
    PictureSize size_;
    TBitmap bitmap_;
    UniqueIcon icon_;
    UniqueEnhMetafile metafile_;
};

// The picture of `path` drawn onto white, each side capped at 32, covering
// all but the last row and column, which stay white.
TBitmap LoadCappedPicture(const std::wstring& path);

}  // namespace tilerack::win
