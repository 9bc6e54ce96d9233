#include "platform/file_icons.h"

#include <shellapi.h>

#include <cwchar>

#include "platform/application.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack::win {

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
    constexpr int cx = 32, cy = 32;
    DibCanvas canvas(cx, cy);
    TBitmap filled(cx, cy);
    filled.Fill(background);
    canvas.CopyFrom(filled);
    if (icon) DrawIconEx(canvas.dc(), 0, 0, icon.get(), cx, cy, 0, nullptr, DI_NORMAL);
    canvas.CopyTo(bitmap);
    return result;
}

}  // namespace tilerack::win
