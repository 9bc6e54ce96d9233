#include "platform/picture_file.h"

#include "common/bmp_codec.h"
#include "common/errors.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

std::vector<uint8_t> ReadPictureBytes(const std::wstring& path) {
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes) throw TError(CannotOpenFile(Narrow(path)));
    return std::move(*bytes);
}

}  // namespace

PictureFile::PictureFile(const std::wstring& path) : format_(PictureFormatOf(Narrow(path))) {
    const std::vector<uint8_t> bytes = ReadPictureBytes(path);
    switch (format_) {
    case PictureFormat::Bitmap: {
        ByteReader in(bytes);
        ReadEmbeddedBitmap(in, bitmap_);
        size_ = {bitmap_.Width(), bitmap_.Height()};
        break;
    }
    case PictureFormat::Icon: {
        const IconImageChoice choice = ChooseIconImage(bytes, GetSystemMetrics(SM_CXICON));
        icon_.reset(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, choice.size.width,
                                                  choice.size.height, LR_LOADFROMFILE)));
        if (!icon_) throw TError(kIconInvalid);
        size_ = choice.size;
        break;
    }
    case PictureFormat::EnhancedMetafile: {
        metafile_.reset(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
        ENHMETAHEADER header{};
        if (!metafile_ || !GetEnhMetaFileHeader(metafile_.get(), sizeof(header), &header))
            throw TError(kMetafileInvalid);
        // The frame is in hundredths of a millimetre; shown at the screen's resolution.
        WindowDC screen;
        const int dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX), dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
        size_ = {MulDiv(header.rclFrame.right - header.rclFrame.left, dpiX, 2540),
                 MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpiY, 2540)};
        break;
    }
    case PictureFormat::Metafile: {
        const PlaceableMetafileHeader header = ReadPlaceableMetafileHeader(bytes);
        METAFILEPICT picture{};
        picture.mm = MM_ANISOTROPIC;
        picture.xExt = MulDiv(header.width, 2540, header.unitsPerInch);
        picture.yExt = MulDiv(header.height, 2540, header.unitsPerInch);
        metafile_.reset(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - kPlaceableHeaderSize),
                                           bytes.data() + kPlaceableHeaderSize, nullptr, &picture));
        if (!metafile_) throw TError(kMetafileInvalid);
        size_ = header.size;
        break;
    }
    }
}

void PictureFile::StretchDraw(HDC dc, const RECT& target) const {
    const int w = target.right - target.left, h = target.bottom - target.top;
    if (w <= 0 || h <= 0) return;
    switch (format_) {
    case PictureFormat::Bitmap: {
        if (bitmap_.Empty()) return;
        DibCanvas source(bitmap_.Width(), bitmap_.Height());
        source.CopyFrom(bitmap_);
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, target.left, target.top, w, h, source.dc(), 0, 0, bitmap_.Width(), bitmap_.Height(), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        break;
    }
    case PictureFormat::Icon:
        DrawIconEx(dc, target.left, target.top, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
        break;
    case PictureFormat::EnhancedMetafile:
    case PictureFormat::Metafile:
        PlayEnhMetaFile(dc, metafile_.get(), &target);
        break;
    }
}

TBitmap LoadCappedPicture(const std::wstring& path) {
    const PictureFile picture(path);
    const PictureSize size = CappedPictureSize(picture.Size());
    TBitmap result;
    if (size.width <= 0 || size.height <= 0) return result;
    TBitmap white(size.width, size.height);
    white.Fill(Rgb(255, 255, 255));
    DibCanvas canvas(size.width, size.height);
    canvas.CopyFrom(white);
    picture.StretchDraw(canvas.dc(), RECT{0, 0, size.width - 1, size.height - 1});
    canvas.CopyTo(result);
    return result;
}

}  // namespace tilerack::win
