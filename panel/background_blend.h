#pragma once
// The panel's translucent background: the captured screen strip blended with
// the panel colour.
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

}  // namespace tilerack
