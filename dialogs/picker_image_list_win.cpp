#include "dialogs/picker_image_list_win.h"

#include <cstring>

#include "common/errors.h"
#include "dialogs/icon_picker_rules.h"
#include "dialogs/picker_pictures.h"

namespace tilerack {

namespace {

win::UniqueBitmap ToDibSection(const TBitmap& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.Width();
    info.bmiHeader.biHeight = -picture.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) std::memcpy(bits, picture.Bits(), picture.ByteSize());
    return bitmap;
}

}  // namespace

PickerImageList::PickerImageList(int shownSize)
    : list_(ImageList_Create(shownSize, shownSize, ILC_COLOR24 | ILC_MASK, 0, 32)), shownSize_(shownSize) {
    if (!list_) throw TError(kCannotCreateImageLists);
}

bool PickerImageList::AddShown(const TBitmap& source, std::optional<Color> key) {
    // Image lists split a wider bitmap into several images: every picture
    // goes in at exactly the list's size.
    win::UniqueBitmap bitmap = ToDibSection(PickerShownPicture(source, key, shownSize_));
    if (!bitmap) return false;
    const int index = key ? ImageList_AddMasked(list_.get(), bitmap.get(), *key)
                          : ImageList_Add(list_.get(), bitmap.get(), nullptr);
    return index >= 0;
}

void PickerImageList::Add(const TBitmap& picture, std::optional<Color> key) {
    if (picture.Empty()) return;
    TBitmap source = PickerSourcePicture(picture);
    // Only what the list took is kept, so image and source indexes agree.
    if (AddShown(source, key)) sources_.push_back({std::move(source), key});
}

void PickerImageList::Resize(int shownSize) {
    if (shownSize == shownSize_) return;
    decltype(list_) list(ImageList_Create(shownSize, shownSize, ILC_COLOR24 | ILC_MASK, 0, 32));
    if (!list) throw TError(kCannotCreateImageLists);
    list_ = std::move(list);
    shownSize_ = shownSize;
    std::vector<Source> sources = std::move(sources_);
    sources_.clear();
    for (Source& source : sources)
        if (AddShown(source.picture, source.key)) sources_.push_back(std::move(source));
}

void PickerImageList::RemoveAll() {
    ImageList_RemoveAll(list_.get());
    sources_.clear();
}

TBitmap PickerImageList::Chosen(int index) const {
    if (index >= 0 && static_cast<size_t>(index) < sources_.size())
        return PickerChosenPicture(sources_[index].picture, sources_[index].key);
    TBitmap white(kPickerIconSize, kPickerIconSize);
    white.Fill(Rgb(255, 255, 255));
    return white;
}

}  // namespace tilerack
