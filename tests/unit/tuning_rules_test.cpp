#include "dialogs/tuning_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "panel/background_blend.h"

namespace tilerack {
namespace {

TEST(TuningTrack, LabelShowsWholePercentsAndOffBelowOne) {
    struct Case {
        int position;
        const char* label;
        int opacity;
    };
    const Case cases[] = {
        {0, "Прозрачность выкл", 0},     {9, "Прозрачность выкл", 0},      {10, "Прозрачность, 1%", 1},
        {255, "Прозрачность, 25%", 25},  {999, "Прозрачность, 99%", 99},   {1000, "Прозрачность, 100%", 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TransparencyLabel(c.position), c.label) << "position " << c.position;
        EXPECT_EQ(OpacityOfPosition(c.position), c.opacity) << "position " << c.position;
    }
}

TEST(TuningTrack, StoredOpacityIsPulledIntoTheBarsRange) {
    EXPECT_EQ(PositionForOpacity(0), 0);
    EXPECT_EQ(PositionForOpacity(25), 250);
    EXPECT_EQ(PositionForOpacity(100), 1000);
    EXPECT_EQ(PositionForOpacity(-1), 0);
    EXPECT_EQ(PositionForOpacity(INT32_MIN), 0);
    EXPECT_EQ(PositionForOpacity(101), 1000);
    EXPECT_EQ(PositionForOpacity(INT32_MAX), 1000);  // no overflow on the way
    // The bar then stores what it shows.
    EXPECT_EQ(OpacityOfPosition(PositionForOpacity(150)), 100);
    EXPECT_EQ(OpacityOfPosition(PositionForOpacity(-30)), 0);
}

TEST(TuningTrack, PositionBetweenStepsReopensAtTheWholePercent) {
    const int stored = OpacityOfPosition(255);
    EXPECT_EQ(PositionForOpacity(stored), 250);
}

TEST(TuningDelayField, IntegersAsTheSettingsReadThemAnythingElseIsZero) {
    const std::pair<const char*, int32_t> cases[] = {
        {"300", 300},  {"-15", -15}, {"+7", 7},   {"0", 0},          {"$1F", 31},         {"0x10", 16},
        {" 42", 42},   {"", 0},      {"-", 0},    {"12a", 0},        {"abc", 0},          {"1.5", 0},
        {"42 ", 0},    {"1 000", 0}, {"$", 0},    {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"2147483648", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(DelayFieldValue(text), value) << '"' << text << '"';
}

TEST(TuningDelayField, SpinStepsByOneFromTheFieldsValueWithinThirtyTwoBits) {
    EXPECT_EQ(SteppedDelayText("300", 1), "301");
    EXPECT_EQ(SteppedDelayText("300", -1), "299");
    EXPECT_EQ(SteppedDelayText("0", -1), "-1");  // no lower limit
    EXPECT_EQ(SteppedDelayText("", 1), "1");
    EXPECT_EQ(SteppedDelayText("junk", -1), "-1");
    EXPECT_EQ(SteppedDelayText("$10", 1), "17");
    EXPECT_EQ(SteppedDelayText("2147483647", 1), "2147483647");
    EXPECT_EQ(SteppedDelayText("-2147483648", -1), "-2147483648");
}

TEST(TuningPreview, CaptionColourFlipsEachChannelByItsOwnMask) {
    EXPECT_EQ(PreviewCaptionColor(0x00000000), 0x00AAFE31u);
    EXPECT_EQ(PreviewCaptionColor(0x00F4E0E0), 0x005E1ED1u);
    EXPECT_EQ(PreviewCaptionColor(PreviewCaptionColor(0x00123456)), 0x00123456u);
}

TEST(TuningPreview, BlendWeighsTheUnderImageByTheOpacity) {
    EXPECT_EQ(PreviewBlendByte(0, 200, 30), 140);
    EXPECT_EQ(PreviewBlendByte(255, 200, 30), 216);
    EXPECT_EQ(PreviewBlendByte(255, 200, 0), 200);
    EXPECT_EQ(PreviewBlendByte(255, 200, 100), 255);

    // On pictures: every byte of every pixel, rows of padded width.
    TBitmap under(3, 2), panel(3, 2);
    under.Fill(Rgb(0, 0, 0));
    under.SetPixel(1, 1, Rgb(255, 255, 255));
    panel.Fill(Rgb(200, 200, 200));
    panel.SetPixel(2, 0, Rgb(10, 20, 30));
    BlendPreview(under, panel, 30);
    EXPECT_EQ(under.Pixel(0, 0), Rgb(140, 140, 140));
    EXPECT_EQ(under.Pixel(1, 1), Rgb(216, 216, 216));
    EXPECT_EQ(under.Pixel(2, 0), Rgb(7, 14, 21));
}

TEST(TuningPreview, SameBytesAsThePanelsBackgroundBlendOverItsColour) {
    const Color colour = 0x00F4E0E0;
    TBitmap screen(7, 3);
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x) screen.SetPixel(x, y, Rgb(37 * x + y, 255 - 31 * x, 90 * y));
    TBitmap panel(screen.Width(), screen.Height());
    panel.Fill(colour);
    for (int opacity = 0; opacity <= 100; ++opacity) {
        TBitmap preview = screen, background = screen;
        BlendPreview(preview, panel, opacity);
        BlendBackground(background, colour, opacity);
        EXPECT_TRUE(preview.SamePixels(background)) << "opacity " << opacity;
    }
}

}  // namespace
}  // namespace tilerack
