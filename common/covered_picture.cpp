#include "common/covered_picture.h"

#include <algorithm>
#include <cmath>

namespace tilerack {

CoveredPicture::CoveredPicture(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(static_cast<size_t>(width) * height * 4, 0) {}

CoveredPicture CoverPicture(const TBitmap& source, int left, int width, std::optional<Color> key) {
    left = std::clamp(left, 0, source.Width());
    width = std::clamp(width, 0, source.Width() - left);
    CoveredPicture out(width, source.Height());
    const uint8_t kb = key ? BlueOf(*key) : 0, kg = key ? GreenOf(*key) : 0, kr = key ? RedOf(*key) : 0;
    for (int y = 0; y < out.height; ++y) {
        const uint8_t* src = source.Row(y) + left * 3;
        for (int x = 0; x < out.width; ++x, src += 3) {
            uint8_t* q = out.At(x, y);
            const bool seeThrough = key && src[0] == kb && src[1] == kg && src[2] == kr;
            q[0] = src[0];
            q[1] = src[1];
            q[2] = src[2];
            q[3] = seeThrough ? 0 : 255;
        }
    }
    return out;
}

namespace {

// Source sample positions of one axis: the two neighbours and the weight of
// the second, in 1/256, for each target position (pixel centres aligned).
struct Taps {
    std::vector<int> first, second, weight;
};

Taps AxisTaps(int sourceSize, int targetSize) {
    Taps t;
    t.first.resize(targetSize);
    t.second.resize(targetSize);
    t.weight.resize(targetSize);
    const double step = static_cast<double>(sourceSize) / targetSize;
    for (int i = 0; i < targetSize; ++i) {
        const double at = std::clamp((i + 0.5) * step - 0.5, 0.0, static_cast<double>(sourceSize - 1));
        const int a = static_cast<int>(at);
        t.first[i] = a;
        t.second[i] = std::min(a + 1, sourceSize - 1);
        t.weight[i] = static_cast<int>(std::lround((at - a) * 256));
    }
    return t;
}

}  // namespace

CoveredPicture ScaleSmooth(const CoveredPicture& source, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == source.width && height == source.height) return source;
    CoveredPicture out(width, height);
    if (source.Empty() || out.Empty()) return out;
    // Premultiplied: a see-through neighbour weighs nothing in the colour.
    std::vector<uint32_t> pre(static_cast<size_t>(source.width) * source.height * 4);
    for (size_t i = 0; i < pre.size(); i += 4) {
        const uint8_t* p = source.pixels.data() + i;
        pre[i + 0] = p[0] * p[3];
        pre[i + 1] = p[1] * p[3];
        pre[i + 2] = p[2] * p[3];
        pre[i + 3] = p[3] * 255u;
    }
    const Taps xs = AxisTaps(source.width, width), ys = AxisTaps(source.height, height);
    auto sample = [&](int x, int y) { return pre.data() + (static_cast<size_t>(y) * source.width + x) * 4; };
    for (int y = 0; y < height; ++y) {
        const int wy = ys.weight[y];
        for (int x = 0; x < width; ++x) {
            const int wx = xs.weight[x];
            const uint32_t* a = sample(xs.first[x], ys.first[y]);
            const uint32_t* b = sample(xs.second[x], ys.first[y]);
            const uint32_t* c = sample(xs.first[x], ys.second[y]);
            const uint32_t* d = sample(xs.second[x], ys.second[y]);
            uint64_t v[4];
            for (int k = 0; k < 4; ++k) {
                const uint64_t top = static_cast<uint64_t>(a[k]) * (256 - wx) + static_cast<uint64_t>(b[k]) * wx;
                const uint64_t bottom = static_cast<uint64_t>(c[k]) * (256 - wx) + static_cast<uint64_t>(d[k]) * wx;
                v[k] = top * (256 - wy) + bottom * wy;  // scaled by 65536
            }
            uint8_t* q = out.At(x, y);
            const uint64_t coverage = v[3];  // 0 .. 255 * 255 * 65536
            q[3] = static_cast<uint8_t>((coverage + 255ull * 32768) / (255ull * 65536));
            if (coverage == 0) {
                q[0] = q[1] = q[2] = 0;
                continue;
            }
            // Colour back from premultiplied: colour * coverage / coverage.
            for (int k = 0; k < 3; ++k)
                q[k] = static_cast<uint8_t>(std::min<uint64_t>((v[k] * 255 + coverage / 2) / coverage, 255));
        }
    }
    return out;
}

void DrawCovered(PixelRows target, int x, int y, const CoveredPicture& picture) {
    const int rowFrom = std::max(0, -y), rowTo = std::min(picture.height, target.height - y);
    const int colFrom = std::max(0, -x), colTo = std::min(picture.width, target.width - x);
    for (int row = rowFrom; row < rowTo; ++row) {
        uint8_t* dst = target.Row(y + row) + (x + colFrom) * 3;
        const uint8_t* src = picture.At(colFrom, row);
        for (int col = colFrom; col < colTo; ++col, dst += 3, src += 4) {
            const int a = src[3];
            if (a == 0) continue;
            if (a == 255) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                continue;
            }
            for (int k = 0; k < 3; ++k) dst[k] = static_cast<uint8_t>((src[k] * a + dst[k] * (255 - a) + 127) / 255);
        }
    }
}

TBitmap FlattenToKey(const CoveredPicture& picture, Color key) {
    TBitmap out(picture.width, picture.height);
    const uint8_t kb = BlueOf(key), kg = GreenOf(key), kr = RedOf(key);
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* dst = out.Row(y);
        for (int x = 0; x < picture.width; ++x, dst += 3) {
            const uint8_t* p = picture.At(x, y);
            if (p[3] < 128) {
                dst[0] = kb;
                dst[1] = kg;
                dst[2] = kr;
                continue;
            }
            dst[0] = p[0];
            dst[1] = p[1];
            dst[2] = p[2];
            if (dst[0] == kb && dst[1] == kg && dst[2] == kr) dst[0] = kb < 255 ? kb + 1 : kb - 1;
        }
    }
    return out;
}

void DrawGlyphImageScaled(PixelRows target, int x, int y, const TBitmap& glyph, int index, int count, int width,
                          int height) {
    if (glyph.Empty()) return;
    const int imageWidth = count > 0 ? glyph.Width() / count : glyph.Width();
    if (imageWidth == width && glyph.Height() == height) {
        DrawGlyphImage(target, x, y, glyph, index, count);
        return;
    }
    const Color key = glyph.Pixel(0, glyph.Height() - 1);
    DrawCovered(target, x, y, ScaleSmooth(CoverPicture(glyph, index * imageWidth, imageWidth, key), width, height));
}

}  // namespace tilerack
