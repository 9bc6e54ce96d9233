#include "platform/file_icons.h"

#include <shellapi.h>

#include <cwchar>

#include "platform/application.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack::win {

namespace {

// The icon on `background`, its transparency kept: width x height pixels.
void PaintIcon(TBitmap& bitmap, HICON icon, int width, int height, COLORREF background) {
    DibCanvas canvas(width, height);
    TBitmap filled(width, height);
    filled.Fill(background);
    canvas.CopyFrom(filled);
    if (icon) DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    canvas.CopyTo(bitmap);
}

UniqueIcon IconAtSide(const std::wstring& file, int index, int side) {
    HICON icon = nullptr;
    UINT id = 0;
    const UINT got = PrivateExtractIconsW(file.c_str(), index, side, side, &icon, &id, 1, LR_DEFAULTCOLOR);
    // 0xFFFFFFFF: no such file; 0: no icons in it.
    return UniqueIcon(got != 0 && got != 0xFFFFFFFFu ? icon : nullptr);
}

}  // namespace

int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index, COLORREF background) {
    const HINSTANCE instance = Application::Instance().Module();
    const std::wstring path = Widen(fileName);
    HICON h = FileExists(path) ? ExtractIconW(instance, path.c_str(), static_cast<UINT>(index)) : nullptr;
    int result = static_cast<int>(reinterpret_cast<intptr_t>(h));
    // With index -1 the answer is a count, not an icon: never draw or free it.
    if (index < 0 && result > 1) return result;
    // Wine answers 0 where Windows answers 1 for a file without icons: alike.
    if (result == 0 || result == 1) {
        wchar_t buffer[MAX_PATH] = {};
        wcsncpy(buffer, path.c_str(), MAX_PATH - 1);
        WORD iconIndex = static_cast<WORD>(index);
        h = ExtractAssociatedIconW(instance, buffer, &iconIndex);
        result = 1;
    }
    UniqueIcon icon(h);
    // An item's picture is 32 x 32 on every display scale: the system's icon
    // size grows with the scale (48 x 48 at 150 %), the item file must not.
    // DrawIconEx takes the icon's image nearest that size.
    PaintIcon(bitmap, icon.get(), 32, 32, background);
    return result;
}

bool ExtractFileIconSized(TBitmap& bitmap, const std::string& fileName, int side, COLORREF background) {
    const std::wstring path = Widen(fileName);
    if (side <= 0 || !FileExists(path)) return false;
    UniqueIcon icon = IconAtSide(path, 0, side);
    if (!icon) {
        // No icon of its own: its type's, from where the shell keeps it
        // (ExtractAssociatedIcon names the file and index it took).
        const HINSTANCE instance = Application::Instance().Module();
        wchar_t location[MAX_PATH] = {};
        wcsncpy(location, path.c_str(), MAX_PATH - 1);
        WORD index = 0;
        UniqueIcon associated(ExtractAssociatedIconW(instance, location, &index));
        if (!associated) return false;
        icon = IconAtSide(location, static_cast<short>(index), side);
        if (!icon) return false;
    }
    PaintIcon(bitmap, icon.get(), side, side, background);
    return true;
}

}  // namespace tilerack::win
