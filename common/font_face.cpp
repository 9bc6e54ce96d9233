#include "common/font_face.h"

#include <algorithm>
#include <cctype>

#include "common/dpi_scale.h"

namespace tilerack {

namespace {
bool SameFace(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::string FontFaceForDpi(const std::string& face, int dpi) {
    if (dpi > DpiScale::kBaseDpi && SameFace(face, kBitmapSansSerif)) return kTrueTypeSansSerif;
    return face;
}

}  // namespace tilerack
