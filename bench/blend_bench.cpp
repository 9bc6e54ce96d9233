// The background blend on a panel-sized strip against a plain copy of the same
// bytes: the copy is the floor any per-pixel pass can hope for.
#include "panel/background_blend.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using tilerack::BlendKernel;
using tilerack::TBitmap;

constexpr int kStripWidth = 96;  // a 64-pixel panel plus the capture's 32 spare columns
constexpr int kStripHeight = 1080;
constexpr tilerack::Color kPanelColour = 0x00F4E0E0;

TBitmap Strip() {
    TBitmap strip(kStripWidth, kStripHeight);
    for (size_t i = 0; i < strip.ByteSize(); ++i) strip.Bits()[i] = static_cast<uint8_t>(i * 131 + 7);
    return strip;
}

void CountPixels(benchmark::State& state) {
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(kStripWidth) * kStripHeight,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BlendBackground(benchmark::State& state) {
    TBitmap strip = Strip();
    for (auto _ : state) {
        tilerack::BlendBackground(strip, kPanelColour, 50);
        benchmark::DoNotOptimize(strip.Bits());
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_BlendBackground);

// The portable kernel, for processors without vector kernels.
void BM_BlendBackgroundTables(benchmark::State& state) {
    TBitmap strip = Strip();
    for (auto _ : state) {
        tilerack::BlendBackgroundUsing(BlendKernel::Tables, strip, kPanelColour, 50);
        benchmark::DoNotOptimize(strip.Bits());
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_BlendBackgroundTables);

void BM_MemcpyStrip(benchmark::State& state) {
    const TBitmap source = Strip();
    TBitmap target(kStripWidth, kStripHeight);
    for (auto _ : state) {
        std::memcpy(target.Bits(), source.Bits(), source.ByteSize());
        benchmark::DoNotOptimize(target.Bits());
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_MemcpyStrip);

}  // namespace

BENCHMARK_MAIN();
