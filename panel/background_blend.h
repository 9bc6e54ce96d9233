#pragma once
// The panel's translucent background: the captured screen strip blended with
// the panel colour.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "common/bitmap.h"

namespace tilerack {

// Blends every pixel of `background` (already holding the screen capture)
// with `color` (0x00BBGGRR): each byte becomes (screen * opacity +
// colour * (100 - opacity)) / 100 in 32-bit signed arithmetic, truncated, low
// 8 bits kept. Opacity 100 leaves the capture as it is; opacity 0 fills with
// the colour. Works on the rows directly with precomputed colour terms.
void BlendBackground(TBitmap& background, Color color, int opacity);

// The ways the blend can be computed; every one gives the same bytes.
// BlendBackground picks the fastest one the processor offers; tests and the
// benchmark name one explicitly.
enum class BlendKernel {
    Tables,  // per-channel lookup tables, any processor, any opacity
    Ssse3,   // the vector kernels take opacities 1 to 99; others use tables
    Avx2,
    Avx512,
};
bool BlendKernelSupported(BlendKernel kernel);
BlendKernel FastestBlendKernel();
// Like BlendBackground, with `kernel` (or the fastest supported one below it).
void BlendBackgroundUsing(BlendKernel kernel, TBitmap& background, Color color, int opacity);

// The same blend made ready once for a colour and an opacity, then applied
// run by run: the panel blends each row of its capture as it paints it.
class BackgroundBlend {
public:
    BackgroundBlend(Color color, int opacity, BlendKernel kernel = FastestBlendKernel());
    // Blends whole pixels in place; `bytes` is a multiple of 3.
    void Apply(uint8_t* pixels, size_t bytes) const;

    struct Terms {  // channel order of a stored pixel: blue, green, red
        int opacity = 0;
        std::array<uint8_t, 3> colour{};       // the panel colour's bytes
        std::array<uint32_t, 3> colourTerm{};  // (100 - opacity) * colour byte
        std::array<std::array<uint8_t, 256>, 3> table{};  // the blend of every byte value, per channel
    };

private:
    BlendKernel kernel_;
    Terms terms_;
};

// The panel's background as it is painted into `target`: `capture` at the
// origin, its first `blendedColumns` columns blended with `color` at
// `opacity`, its other columns as they are, and `color` wherever the capture
// does not reach.
void PaintBackground(PixelRows target, const TBitmap& capture, int blendedColumns, Color color, int opacity);

// A capture of the screen columns from `left` on, `width` x `height`, made
// of captures that start at the given screen columns: where several reach a
// column, the later one in the list (made while the panel was away) wins;
// black where none reaches.
struct PlacedCapture {
    const TBitmap* picture;
    int left;
};
TBitmap JoinCaptures(std::initializer_list<PlacedCapture> captures, int left, int width, int height);
// Copies into `target` (a capture from screen column `targetLeft` on) the
// columns of `from` (a capture from `fromLeft` on) that it reaches, row by
// row as far as both reach; the rest of `target` stays as it is.
void CopyCapturedColumns(TBitmap& target, int targetLeft, const TBitmap& from, int fromLeft);

}  // namespace tilerack
