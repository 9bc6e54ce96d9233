#pragma once
// The program's one uniform pseudo-random generator, seeded from the time of
// day when the panel is created. Only the glyph painter draws from it.
#include <cstdint>

namespace tilerack {

class IRandom {
public:
    virtual ~IRandom() = default;
    virtual double NextReal() = 0;         // uniform in [0, 1)
    virtual int32_t NextInt(int32_t n) = 0;  // uniform in [0, n), n > 0
};

class TRandom : public IRandom {
public:
    explicit TRandom(uint32_t seed = 0) : state_(seed) {}
    void Seed(uint32_t seed) { state_ = seed; }
    double NextReal() override;
    int32_t NextInt(int32_t n) override;

private:
    uint32_t Next();
    uint32_t state_;
};

// The program-wide generator.
TRandom& ProgramRandom();

// Seed from a time of day: ((hour * 60 + minute) * 60 + second) * 1000 + ms.
uint32_t TimeOfDaySeed(int hour, int minute, int second, int millisecond);

}  // namespace tilerack
