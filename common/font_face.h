#pragma once
// The face a font is made with at a display scale. "MS Sans Serif" is a
// bitmap font: it has cells for 96-DPI sizes only and shows ragged or wrong
// sizes above them, where its TrueType twin "Microsoft Sans Serif" of the
// same metrics takes its place.
#include <string>

namespace tilerack {

inline constexpr const char* kBitmapSansSerif = "MS Sans Serif";
inline constexpr const char* kTrueTypeSansSerif = "Microsoft Sans Serif";

// `face` for a screen of `dpi`: the TrueType twin of "MS Sans Serif" above
// 96 DPI (compared without regard to case, as the font mapper does); every
// other face, and every face at 96 DPI or below, as given.
std::string FontFaceForDpi(const std::string& face, int dpi);

}  // namespace tilerack
