#pragma once
// Loading a picture file into the item dialog's preview: which formats are
// read, the open dialog's filter, the size a picture shows at and how that
// size is capped.
#include <cstdint>
#include <string>
#include <vector>

#include "common/app_texts.h"

namespace tilerack {

// The picture formats the program reads; the open dialog offers them with
// the filter kOpenPictureFilter (common/app_texts.h).
enum class PictureFormat { Bitmap, Icon, EnhancedMetafile, Metafile };

// The format by the file name's extension, in any case. Throws TError
// "Unknown picture file extension (.%s)" for any other extension.
PictureFormat PictureFormatOf(const std::string& fileName);

struct PictureSize {
    int width = 0, height = 0;
    bool operator==(const PictureSize&) const = default;
};

// Each side capped at 32 on its own: 64 x 48 gives 32 x 32, 64 x 16 gives
// 32 x 16, 16 x 16 stays.
PictureSize CappedPictureSize(PictureSize picture);

// The image of an icon file that is shown: the one whose size is nearest to
// `preferred` pixels square (the larger one on a tie). Throws TError "Icon
// image is not valid" when the file is no icon file.
struct IconImageChoice {
    int index = 0;
    PictureSize size;
};
IconImageChoice ChooseIconImage(const std::vector<uint8_t>& file, int preferred);

// A placeable Windows metafile (the 22-byte header with its own bounds and
// units per inch): its size in pixels at 96 pixels per inch and the inch
// value. Throws TError "Metafile is not valid".
struct PlaceableMetafileHeader {
    PictureSize size;
    int unitsPerInch = 0;
    int width = 0, height = 0;  // of the bounds, in metafile units
};
inline constexpr size_t kPlaceableHeaderSize = 22;
PlaceableMetafileHeader ReadPlaceableMetafileHeader(const std::vector<uint8_t>& file);

}  // namespace tilerack
