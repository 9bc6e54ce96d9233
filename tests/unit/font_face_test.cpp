#include "common/font_face.h"

#include <gtest/gtest.h>

namespace tilerack {
namespace {

TEST(FontFaceForDpi, TheBitmapSansSerifStaysAtAHundredPercentAndBelow) {
    for (int dpi : {96, 72, 0}) EXPECT_EQ(FontFaceForDpi("MS Sans Serif", dpi), "MS Sans Serif") << dpi;
}

TEST(FontFaceForDpi, AboveAHundredPercentTheTrueTypeTwinTakesItsPlace) {
    for (int dpi : {97, 120, 144, 192, 480})
        EXPECT_EQ(FontFaceForDpi("MS Sans Serif", dpi), "Microsoft Sans Serif") << dpi;
    EXPECT_EQ(FontFaceForDpi("ms sans serif", 144), "Microsoft Sans Serif") << "faces match without case";
}

TEST(FontFaceForDpi, OtherFacesAreKeptAtEveryScale) {
    for (int dpi : {96, 144, 192}) {
        EXPECT_EQ(FontFaceForDpi("Arial", dpi), "Arial");
        EXPECT_EQ(FontFaceForDpi("Microsoft Sans Serif", dpi), "Microsoft Sans Serif");
        EXPECT_EQ(FontFaceForDpi("MS Sans Serif Bold", dpi), "MS Sans Serif Bold");
    }
}

}  // namespace
}  // namespace tilerack
