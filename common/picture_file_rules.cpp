#include "common/picture_file_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "common/byte_stream.h"
#include "common/errors.h"

namespace tilerack {

namespace {
constexpr int kPictureCap = 32;
}  // namespace

PictureFormat PictureFormatOf(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("\\/:");
    const size_t dot = fileName.find_last_of('.');
    const std::string extension =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : fileName.substr(dot + 1);
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "bmp") return PictureFormat::Bitmap;
    if (lower == "ico") return PictureFormat::Icon;
    if (lower == "emf") return PictureFormat::EnhancedMetafile;
    if (lower == "wmf") return PictureFormat::Metafile;
    throw TError(UnknownPictureExtension(extension));
}

PictureSize CappedPictureSize(PictureSize picture) {
    return {std::min(picture.width, kPictureCap), std::min(picture.height, kPictureCap)};
}

IconImageChoice ChooseIconImage(const std::vector<uint8_t>& file, int preferred) {
    try {
        ByteReader in(file);
        const uint16_t reserved = in.U16(), type = in.U16(), count = in.U16();
        if (reserved != 0 || type != 1 || count == 0) throw TError(kIconInvalid);
        IconImageChoice best{-1, {}};
        for (int i = 0; i < count; ++i) {
            const uint8_t* entry = in.Take(16);
            const int w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
            const uint32_t bytes = entry[8] | (entry[9] << 8) | (entry[10] << 16) | (uint32_t(entry[11]) << 24);
            const uint32_t offset = entry[12] | (entry[13] << 8) | (entry[14] << 16) | (uint32_t(entry[15]) << 24);
            if (bytes == 0 || offset > file.size() || bytes > file.size() - offset) throw TError(kIconInvalid);
            const int distance = std::abs(w - preferred);
            const int bestDistance = best.index < 0 ? 1 << 30 : std::abs(best.size.width - preferred);
            if (distance < bestDistance || (distance == bestDistance && w > best.size.width))
                best = {i, {w, h}};
        }
        return best;
    } catch (const TError&) {
        throw TError(kIconInvalid);
    }
}

PlaceableMetafileHeader ReadPlaceableMetafileHeader(const std::vector<uint8_t>& file) {
    try {
        ByteReader in(file);
        if (in.U32() != 0x9AC6CDD7u) throw TError(kMetafileInvalid);
        in.U16();  // handle
        const int left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
        const int inch = in.U16();
        if (inch == 0 || right <= left || bottom <= top || file.size() <= kPlaceableHeaderSize)
            throw TError(kMetafileInvalid);
        PlaceableMetafileHeader header;
        header.unitsPerInch = inch;
        header.width = right - left;
        header.height = bottom - top;
        header.size = {header.width * 96 / inch, header.height * 96 / inch};
        return header;
    } catch (const TError&) {
        throw TError(kMetafileInvalid);
    }
}

}  // namespace tilerack
