#include "panel/background_blend.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The vector kernels are compiled for their instruction sets with target
// attributes and chosen at run time, so the program still runs on any x86-64.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define TILERACK_BLEND_X86 1
#include <immintrin.h>
#else
#define TILERACK_BLEND_X86 0
#endif

namespace tilerack {
namespace {

using BlendTerms = BackgroundBlend::Terms;

// One byte of the blend: (value * opacity + colour term) / 100 in 32-bit
// signed arithmetic, truncated, low 8 bits kept.
uint8_t BlendByte(uint8_t value, int opacity, uint32_t colourTerm) {
    const uint32_t sum = value * static_cast<uint32_t>(opacity) + colourTerm;
    return static_cast<uint8_t>(static_cast<int32_t>(sum) / 100);
}

// Blends the pixels of [p, p + bytes) with the formula; p is a blue byte.
void BlendScalar(uint8_t* p, size_t bytes, const BlendTerms& t) {
    for (size_t i = 0; i + 3 <= bytes; i += 3)
        for (int c = 0; c < 3; ++c) p[i + c] = BlendByte(p[i + c], t.opacity, t.colourTerm[c]);
}

void BlendWithTables(uint8_t* p, size_t bytes, const BlendTerms& t) {
    for (size_t i = 0; i + 3 <= bytes; i += 3) {
        p[i] = t.table[0][p[i]];
        p[i + 1] = t.table[1][p[i + 1]];
        p[i + 2] = t.table[2][p[i + 2]];
    }
}

#if TILERACK_BLEND_X86
// The vector kernels, for opacities 1 to 99: every byte v of channel colour c
// is interleaved with c, and one multiply-add of byte pairs by (opacity,
// 100 - opacity) gives v * opacity + c * (100 - opacity) <= 25500 in 16 bits.
// Division by 100 is (x * 5243) >> 19, exact for every x up to 25500. Each
// kernel walks blocks of three vectors, a whole number of pixels, so every
// vector of a block sees the channels in the same order each time. The
// vectors live in named locals, never in stack arrays: MinGW cannot align the
// stack for wide vectors.

// The colour bytes in pixel order, for three vectors of `width` bytes.
std::array<uint8_t, 192> ColourPattern(const BlendTerms& t) {
    std::array<uint8_t, 192> pattern{};
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = t.colour[i % 3];
    return pattern;
}

int16_t PairWeights(int opacity) {
    return static_cast<int16_t>(((100 - opacity) << 8) | opacity);
}

__attribute__((target("ssse3"))) inline __m128i Blend16(__m128i v, __m128i colour, __m128i weights,
                                                         __m128i divisor) {
    __m128i lo = _mm_maddubs_epi16(_mm_unpacklo_epi8(v, colour), weights);
    __m128i hi = _mm_maddubs_epi16(_mm_unpackhi_epi8(v, colour), weights);
    lo = _mm_srli_epi16(_mm_mulhi_epu16(lo, divisor), 3);
    hi = _mm_srli_epi16(_mm_mulhi_epu16(hi, divisor), 3);
    return _mm_packus_epi16(lo, hi);
}

__attribute__((target("ssse3"))) size_t BlendSsse3(uint8_t* p, size_t bytes, const BlendTerms& t) {
    constexpr size_t kBlock = 48;
    const auto pattern = ColourPattern(t);
    const __m128i c0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.data()));
    const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.data() + 16));
    const __m128i c2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.data() + 32));
    const __m128i weights = _mm_set1_epi16(PairWeights(t.opacity));
    const __m128i divisor = _mm_set1_epi16(5243);
    size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        auto* v = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(v, Blend16(_mm_loadu_si128(v), c0, weights, divisor));
        _mm_storeu_si128(v + 1, Blend16(_mm_loadu_si128(v + 1), c1, weights, divisor));
        _mm_storeu_si128(v + 2, Blend16(_mm_loadu_si128(v + 2), c2, weights, divisor));
    }
    return i;
}

// The 256-bit and 512-bit unpacks and packs work within 128-bit lanes; they
// undo each other, so the byte order of the result is the input's.
__attribute__((target("avx2"))) inline __m256i Blend32(__m256i v, __m256i colour, __m256i weights,
                                                        __m256i divisor) {
    __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(v, colour), weights);
    __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(v, colour), weights);
    lo = _mm256_srli_epi16(_mm256_mulhi_epu16(lo, divisor), 3);
    hi = _mm256_srli_epi16(_mm256_mulhi_epu16(hi, divisor), 3);
    return _mm256_packus_epi16(lo, hi);
}

__attribute__((target("avx2"))) size_t BlendAvx2(uint8_t* p, size_t bytes, const BlendTerms& t) {
    constexpr size_t kBlock = 96;
    const auto pattern = ColourPattern(t);
    const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern.data()));
    const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern.data() + 32));
    const __m256i c2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern.data() + 64));
    const __m256i weights = _mm256_set1_epi16(PairWeights(t.opacity));
    const __m256i divisor = _mm256_set1_epi16(5243);
    size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        auto* v = reinterpret_cast<__m256i*>(p + i);
        _mm256_storeu_si256(v, Blend32(_mm256_loadu_si256(v), c0, weights, divisor));
        _mm256_storeu_si256(v + 1, Blend32(_mm256_loadu_si256(v + 1), c1, weights, divisor));
        _mm256_storeu_si256(v + 2, Blend32(_mm256_loadu_si256(v + 2), c2, weights, divisor));
    }
    return i;
}

__attribute__((target("avx512bw"))) inline __m512i Blend64(__m512i v, __m512i colour, __m512i weights,
                                                            __m512i divisor) {
    __m512i lo = _mm512_maddubs_epi16(_mm512_unpacklo_epi8(v, colour), weights);
    __m512i hi = _mm512_maddubs_epi16(_mm512_unpackhi_epi8(v, colour), weights);
    lo = _mm512_srli_epi16(_mm512_mulhi_epu16(lo, divisor), 3);
    hi = _mm512_srli_epi16(_mm512_mulhi_epu16(hi, divisor), 3);
    return _mm512_packus_epi16(lo, hi);
}

__attribute__((target("avx512bw"))) size_t BlendAvx512(uint8_t* p, size_t bytes, const BlendTerms& t) {
    constexpr size_t kBlock = 192;
    const auto pattern = ColourPattern(t);
    const __m512i c0 = _mm512_loadu_si512(pattern.data());
    const __m512i c1 = _mm512_loadu_si512(pattern.data() + 64);
    const __m512i c2 = _mm512_loadu_si512(pattern.data() + 128);
    const __m512i weights = _mm512_set1_epi16(PairWeights(t.opacity));
    const __m512i divisor = _mm512_set1_epi16(5243);
    size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        uint8_t* v = p + i;
        _mm512_storeu_si512(v, Blend64(_mm512_loadu_si512(v), c0, weights, divisor));
        _mm512_storeu_si512(v + 64, Blend64(_mm512_loadu_si512(v + 64), c1, weights, divisor));
        _mm512_storeu_si512(v + 128, Blend64(_mm512_loadu_si512(v + 128), c2, weights, divisor));
    }
    return i;
}
#endif

// Blends a run of whole pixels with `kernel`; what the widest vectors leave
// over goes to the narrower ones and the last few bytes to the formula.
void BlendRun(BlendKernel kernel, uint8_t* p, size_t bytes, const BlendTerms& t) {
    size_t done = 0;
#if TILERACK_BLEND_X86
    if (kernel >= BlendKernel::Avx512) done += BlendAvx512(p + done, bytes - done, t);
    if (kernel >= BlendKernel::Avx2) done += BlendAvx2(p + done, bytes - done, t);
    if (kernel >= BlendKernel::Ssse3) done += BlendSsse3(p + done, bytes - done, t);
#endif
    if (kernel == BlendKernel::Tables)
        BlendWithTables(p, bytes, t);
    else
        BlendScalar(p + done, bytes - done, t);
}

}  // namespace

bool BlendKernelSupported(BlendKernel kernel) {
    switch (kernel) {
    case BlendKernel::Tables: return true;
#if TILERACK_BLEND_X86
    case BlendKernel::Ssse3: return __builtin_cpu_supports("ssse3");
    case BlendKernel::Avx2: return __builtin_cpu_supports("avx2");
    case BlendKernel::Avx512: return __builtin_cpu_supports("avx512bw");
#endif
    default: return false;
    }
}

BlendKernel FastestBlendKernel() {
    static const BlendKernel fastest = [] {
        for (BlendKernel k : {BlendKernel::Avx512, BlendKernel::Avx2, BlendKernel::Ssse3})
            if (BlendKernelSupported(k)) return k;
        return BlendKernel::Tables;
    }();
    return fastest;
}

BackgroundBlend::BackgroundBlend(Color color, int opacity, BlendKernel kernel) {
    terms_.opacity = opacity;
    terms_.colour = {static_cast<uint8_t>(BlueOf(color)), static_cast<uint8_t>(GreenOf(color)),
                     static_cast<uint8_t>(RedOf(color))};
    // Unsigned arithmetic wraps like the 32-bit signed formula does on odd
    // opacities, without overflowing.
    const uint32_t colourShare = 100u - static_cast<uint32_t>(opacity);
    for (int c = 0; c < 3; ++c) terms_.colourTerm[c] = colourShare * terms_.colour[c];
    kernel_ = std::min(kernel, FastestBlendKernel());
    if (opacity < 1 || opacity > 99) kernel_ = BlendKernel::Tables;
    if (kernel_ == BlendKernel::Tables)
        for (int c = 0; c < 3; ++c)
            for (int v = 0; v < 256; ++v)
                terms_.table[c][v] = BlendByte(static_cast<uint8_t>(v), opacity, terms_.colourTerm[c]);
}

void BackgroundBlend::Apply(uint8_t* pixels, size_t bytes) const {
    if (terms_.opacity == 100) return;
    if (terms_.opacity == 0) {
        for (size_t i = 0; i + 3 <= bytes; i += 3) std::memcpy(pixels + i, terms_.colour.data(), 3);
        return;
    }
    BlendRun(kernel_, pixels, bytes, terms_);
}

void BlendBackgroundUsing(BlendKernel kernel, TBitmap& background, Color color, int opacity) {
    if (background.Empty()) return;
    if (opacity == 100) return;
    const BackgroundBlend blend(color, opacity, kernel);
    const size_t rowBytes = static_cast<size_t>(background.Width()) * 3;
    if (rowBytes == static_cast<size_t>(background.Stride())) {
        // No row padding: the whole picture is one run of pixels.
        blend.Apply(background.Bits(), rowBytes * background.Height());
    } else {
        for (int y = 0; y < background.Height(); ++y) blend.Apply(background.Row(y), rowBytes);
    }
    background.Changed();
}

void PaintBackground(PixelRows target, const TBitmap& capture, int blendedColumns, Color color, int opacity) {
    const BackgroundBlend blend(color, opacity);
    const uint8_t fill[3] = {static_cast<uint8_t>(BlueOf(color)), static_cast<uint8_t>(GreenOf(color)),
                             static_cast<uint8_t>(RedOf(color))};
    const int copied = std::clamp(capture.Width(), 0, target.width);
    const int blended = std::clamp(blendedColumns, 0, copied);
    for (int y = 0; y < target.height; ++y) {
        uint8_t* row = target.Row(y);
        int from = 0;
        if (y < capture.Height()) {
            std::memcpy(row, capture.Row(y), static_cast<size_t>(copied) * 3);
            blend.Apply(row, static_cast<size_t>(blended) * 3);
            from = copied;
        }
        for (int x = from; x < target.width; ++x) std::memcpy(row + x * 3, fill, 3);
    }
}

void BlendBackground(TBitmap& background, Color color, int opacity) {
    BlendBackgroundUsing(FastestBlendKernel(), background, color, opacity);
}

void CopyCapturedColumns(TBitmap& target, int targetLeft, const TBitmap& from, int fromLeft) {
    // Target columns c with 0 <= c + targetLeft - fromLeft < from.Width().
    const int first = std::max(0, fromLeft - targetLeft);
    const int last = std::min(target.Width(), fromLeft - targetLeft + from.Width());
    for (int y = 0; y < std::min(target.Height(), from.Height()) && first < last; ++y)
        std::memcpy(target.Row(y) + first * 3, from.Row(y) + (first + targetLeft - fromLeft) * 3,
                    static_cast<size_t>(last - first) * 3);
}

TBitmap JoinCaptures(std::initializer_list<PlacedCapture> captures, int left, int width, int height) {
    TBitmap joined(std::max(width, 0), std::max(height, 0));
    joined.Fill(Rgb(0, 0, 0));
    for (const PlacedCapture& c : captures)
        if (c.picture) CopyCapturedColumns(joined, left, *c.picture, c.left);
    return joined;
}

}  // namespace tilerack
