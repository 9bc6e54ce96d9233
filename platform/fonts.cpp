#include "platform/fonts.h"

namespace tilerack::win {

UniqueFont MakeFont(const std::wstring& face, int pixels, BYTE charset, int weight, bool italic) {
    // A negative height asks for the character height rather than the cell's.
    return UniqueFont(CreateFontW(-pixels, 0, 0, 0, weight, italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

UniqueFont MakePointFont(HDC dc, const std::wstring& face, int points, int weight, bool italic) {
    return MakeFont(face, MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), DEFAULT_CHARSET, weight, italic);
}

}  // namespace tilerack::win
