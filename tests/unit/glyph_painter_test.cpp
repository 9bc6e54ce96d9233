#include "items/glyph_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <vector>

namespace tilerack {
namespace {

// Hands out scripted values and records which kind of draw was asked for.
class ScriptedRandom : public IRandom {
public:
    std::deque<double> reals{0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    std::deque<int32_t> ints{0, 0};
    std::vector<std::string> log;

    double NextReal() override {
        log.push_back("real");
        const double value = reals.empty() ? 0.0 : reals.front();
        if (!reals.empty()) reals.pop_front();
        return value;
    }
    int32_t NextInt(int32_t n) override {
        log.push_back("int " + std::to_string(n));
        const int32_t value = ints.empty() ? 0 : ints.front();
        if (!ints.empty()) ints.pop_front();
        return value;
    }
};

struct DrawCall {
    std::string face;
    int points;
    Color color;
    int x, y;
    ClipRect clip;
    std::string text;
};

// Extent grows linearly with the size by default; records every call.
class FakeRenderer : public IGlyphTextRenderer {
public:
    std::function<TextSize(int points)> extent = [](int points) { return TextSize{points, 2 * points}; };
    bool paintClip = false;  // fill the clip rectangle with the text colour
    std::vector<int> measured;
    std::vector<DrawCall> draws;

    TextSize Measure(const std::string& face, int points, const std::string&) override {
        EXPECT_EQ(face, "Webdings");
        measured.push_back(points);
        return extent(points);
    }
    void Draw(TBitmap& target, const std::string& face, int points, Color color, int x, int y,
              const ClipRect& clip, const std::string& text) override {
        draws.push_back({face, points, color, x, y, clip, text});
        if (!paintClip) return;
        for (int py = clip.top; py < clip.bottom; ++py)
            for (int px = clip.left; px < clip.right; ++px) target.SetPixel(px, py, color);
    }
};

// The tile's pattern computed independently of the painter.
Color ExpectedPattern(int x, int y, int w, int h, const double r[6]) {
    const double p1 = 32 * r[0], p2 = 32 * r[5];
    const double d1 = 8 * r[1] - 3 * r[2], d2 = 8 * r[3] - 3 * r[4];
    const double redWave = 127 * std::sin((x + p1) / (d1 + 5) + (y + p1 + 1) / (d1 + 6)) + 127;
    const double greenWave = 127 * std::cos((y + p2) / (d2 + 5) + (x + p2 + 1) / (d2 + 6)) + 127;
    const long red = std::lround(std::floor(redWave));  // non-negative, so floor cuts toward zero
    long green = std::lround(std::floor(greenWave));
    long blue = 191;
    if (x == w - 1 || y == h - 1) green = 0;
    if (x == 0 || y == 0) blue = 255;
    return static_cast<Color>(blue * 65536 + green * 256 + red);
}

const double kReals[6] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};

class GlyphPainter : public ::testing::Test {
protected:
    // Draws into `picture` with the six scripted reals and `ints`; returns the text calls.
    const std::vector<DrawCall>& Draw(std::deque<int32_t> ints = {0, 0}, int width = 32, int height = 32) {
        random = ScriptedRandom{};
        random.ints = std::move(ints);
        renderer.draws.clear();
        DrawRandomGlyph(width, height, picture, random, renderer);
        return renderer.draws;
    }
    TBitmap picture;
    ScriptedRandom random;
    FakeRenderer renderer;
};

TEST_F(GlyphPainter, PatternEdgesFormABevel) {
    TBitmap tile(32, 32);
    PaintGlyphPattern(tile, kReals);

    EXPECT_EQ(BlueOf(tile.Pixel(0, 0)), 255);
    EXPECT_EQ(tile.Pixel(0, 0), ExpectedPattern(0, 0, 32, 32, kReals));
    EXPECT_NE(GreenOf(tile.Pixel(0, 0)), 0);  // computed, not forced
    EXPECT_EQ(GreenOf(tile.Pixel(31, 31)), 0);
    EXPECT_EQ(BlueOf(tile.Pixel(31, 31)), 191);
    for (auto [x, y] : {std::pair{0, 31}, std::pair{31, 0}}) {
        EXPECT_EQ(BlueOf(tile.Pixel(x, y)), 255) << x << "," << y;
        EXPECT_EQ(GreenOf(tile.Pixel(x, y)), 0) << x << "," << y;
    }
    for (int i = 1; i < 31; ++i) {
        EXPECT_EQ(BlueOf(tile.Pixel(i, 0)), 255);
        EXPECT_EQ(BlueOf(tile.Pixel(0, i)), 255);
        EXPECT_EQ(GreenOf(tile.Pixel(31, i)), 0);
        EXPECT_EQ(GreenOf(tile.Pixel(i, 31)), 0);
        EXPECT_EQ(BlueOf(tile.Pixel(i, 31)), 191);
        EXPECT_EQ(BlueOf(tile.Pixel(31, i)), 191);
    }
}

TEST_F(GlyphPainter, PatternFollowsBothWaves) {
    const double other[6] = {0.95, 0.0, 0.99, 0.999, 0.0, 0.01};
    for (const double* r : {kReals, other}) {
        TBitmap tile(32, 32);
        PaintGlyphPattern(tile, r);
        for (auto [x, y] : {std::pair{1, 1}, std::pair{5, 17}, std::pair{17, 5}, std::pair{30, 30},
                            std::pair{12, 29}})
            EXPECT_EQ(tile.Pixel(x, y), ExpectedPattern(x, y, 32, 32, r)) << x << "," << y;
    }
}

TEST_F(GlyphPainter, PatternCutsTowardZero) {
    // All reals 0: at (0, 1) red is 127*sin(2/6)+127 = 168.55... and green
    // 127*cos(1/5+1/6)+127 = 245.56...; both are cut, not rounded.
    const double zeros[6] = {0, 0, 0, 0, 0, 0};
    TBitmap tile(4, 4);
    PaintGlyphPattern(tile, zeros);
    EXPECT_EQ(RedOf(tile.Pixel(0, 1)), 168);
    EXPECT_EQ(GreenOf(tile.Pixel(0, 1)), 245);
}

TEST_F(GlyphPainter, RepaintsEverySmallerPictureAtFullSize) {
    picture = TBitmap(16, 16);
    picture.Fill(Rgb(1, 2, 3));
    Draw();
    ASSERT_EQ(picture.Width(), 32);
    ASSERT_EQ(picture.Height(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(picture.Pixel(x, y), ExpectedPattern(x, y, 32, 32, kReals)) << x << "," << y;
}

TEST_F(GlyphPainter, DrawsShadowThenFace) {
    const std::vector<DrawCall>& draws = Draw({33, 77});
    ASSERT_EQ(draws.size(), 2u);
    const DrawCall& shadow = draws[0];
    const DrawCall& face = draws[1];
    EXPECT_EQ(shadow.color, 0u);
    EXPECT_EQ(shadow.x, 2);
    EXPECT_EQ(shadow.y, 2);
    EXPECT_EQ(face.color, Rgb(77, 255, 255));
    EXPECT_EQ(face.x, 1);
    EXPECT_EQ(face.y, 1);
    for (const DrawCall& call : draws) {
        EXPECT_EQ(call.face, "Webdings");
        EXPECT_EQ(call.text, std::string(1, static_cast<char>(32 + 33)));
        EXPECT_EQ(call.clip.left, 1);
        EXPECT_EQ(call.clip.top, 1);
        EXPECT_EQ(call.clip.right, 31);
        EXPECT_EQ(call.clip.bottom, 31);
        // Extent 2 * points reaches 30 first at 15 points.
        EXPECT_EQ(call.points, 14);
    }
}

TEST_F(GlyphPainter, CharacterCodesSpan32To127) {
    for (auto [scripted, code] : {std::pair{0, 32}, std::pair{95, 127}}) {
        ASSERT_FALSE(Draw({scripted, 0}).empty());
        EXPECT_EQ(renderer.draws[0].text, std::string(1, static_cast<char>(code)));
    }
    // The second integer is the face's red.
    EXPECT_EQ(Draw({5, 0}).at(1).color, 0x00FFFF00u);
}

TEST_F(GlyphPainter, TakesSixRealsThenTwoIntegers) {
    Draw();
    const std::vector<std::string> expected{"real", "real", "real", "real", "real", "real", "int 96", "int 256"};
    EXPECT_EQ(random.log, expected);
}

TEST_F(GlyphPainter, WholePaintNotifiesOnce) {
    picture = TBitmap(16, 16);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    renderer.paintClip = true;
    Draw();
    EXPECT_EQ(changes, 1);
}

TEST_F(GlyphPainter, FittingCountsUpFromTen) {
    EXPECT_EQ(FitGlyphPoints(renderer, "A", 32), 14);
    EXPECT_EQ(renderer.measured, (std::vector<int>{10, 11, 12, 13, 14, 15}));
}

TEST_F(GlyphPainter, FittingUsesTheLargerSide) {
    renderer.extent = [](int points) { return TextSize{3 * points, 1}; };
    EXPECT_EQ(FitGlyphPoints(renderer, "A", 32), 9);  // 30 wide already at 10 points
    renderer.extent = [](int points) { return TextSize{1, points + 5}; };
    EXPECT_EQ(FitGlyphPoints(renderer, "A", 32), 24);  // 29 tall at 24, 30 at 25
}

TEST_F(GlyphPainter, FittingGivesNineWhenTenAlreadyReaches) {
    renderer.extent = [](int) { return TextSize{30, 30}; };
    ASSERT_EQ(Draw().size(), 2u);
    EXPECT_EQ(renderer.measured, std::vector<int>{10});
    EXPECT_EQ(renderer.draws[0].points, 9);
    EXPECT_EQ(renderer.draws[1].points, 9);
}

TEST_F(GlyphPainter, TallPictureFitsToItsWidthAndClipsToItsSize) {
    // Extent 2 * points reaches 30 at 15 points, 62 at 31.
    const std::vector<DrawCall>& draws = Draw({0, 0}, 32, 64);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].points, 14);
    EXPECT_EQ(draws[0].clip.right, 31);
    EXPECT_EQ(draws[0].clip.bottom, 63);
}

TEST_F(GlyphPainter, FittingStopsWhenTheExtentNeverGrows) {
    renderer.extent = [](int) { return TextSize{0, 0}; };
    EXPECT_EQ(FitGlyphPoints(renderer, "A", 32), kGlyphMaxPoints);
    EXPECT_EQ(renderer.measured.back(), kGlyphMaxPoints);
}

TEST_F(GlyphPainter, TwoCallsGiveDifferentTiles) {
    TRandom seeded(4242);
    TBitmap first, second;
    DrawRandomGlyph(32, 32, first, seeded, renderer);
    DrawRandomGlyph(32, 32, second, seeded, renderer);
    EXPECT_FALSE(first.SamePixels(second));
}

}  // namespace
}  // namespace tilerack
