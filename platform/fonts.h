#pragma once
// Fonts by face and size: every font the program draws with is made here.
#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace tilerack::win {

// A font whose characters (not cells) are `pixels` high.
UniqueFont MakeFont(const std::wstring& face, int pixels, BYTE charset = DEFAULT_CHARSET, int weight = FW_NORMAL,
                    bool italic = false);
// The system's status font (the one tooltips are drawn in) made for a
// screen of `dpi`.
UniqueFont MakeStatusFont(int dpi);
// The same for a size in points at the resolution of `dc`, or on a screen
// of `dpi`.
UniqueFont MakePointFont(HDC dc, const std::wstring& face, int points, int weight = FW_NORMAL, bool italic = false);
UniqueFont MakePointFont(int dpi, const std::wstring& face, int points, int weight = FW_NORMAL, bool italic = false);

}  // namespace tilerack::win
