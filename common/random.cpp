#include "common/random.h"

namespace tilerack {

// A 32-bit linear congruential step (full period 2^32) followed by PCG's
// RXS-M-XS output permutation, which hides the weak low bits of the LCG.
// Every 32-bit value comes out exactly once per period.
uint32_t TRandom::Next() {
    const uint32_t old = state_;
    state_ = old * 747796405u + 2891336453u;
    const uint32_t word = ((old >> ((old >> 28u) + 4u)) ^ old) * 277803737u;
    return (word >> 22u) ^ word;
}

double TRandom::NextReal() {
    return Next() * (1.0 / 4294967296.0);
}

// Lemire's multiply-shift: the high half of a 32 x 32-bit product, with the
// few products that would make some results more likely rejected.
int32_t TRandom::NextInt(int32_t n) {
    if (n <= 0) return 0;
    const uint32_t range = static_cast<uint32_t>(n);
    uint64_t product = static_cast<uint64_t>(Next()) * range;
    auto low = static_cast<uint32_t>(product);
    if (low < range) {
        const uint32_t threshold = (0u - range) % range;
        while (low < threshold) {
            product = static_cast<uint64_t>(Next()) * range;
            low = static_cast<uint32_t>(product);
        }
    }
    return static_cast<int32_t>(product >> 32);
}

TRandom& ProgramRandom() {
    static TRandom generator;
    return generator;
}

uint32_t TimeOfDaySeed(int hour, int minute, int second, int millisecond) {
    const uint32_t seconds = (static_cast<uint32_t>(hour) * 60u + static_cast<uint32_t>(minute)) * 60u +
                             static_cast<uint32_t>(second);
    return seconds * 1000u + static_cast<uint32_t>(millisecond);
}

}  // namespace tilerack
