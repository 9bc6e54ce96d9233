#include "common/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace tilerack {
namespace {

TEST(ProgramRandom, RealsLieInUnitInterval) {
    TRandom random(12345);
    double sum = 0, smallest = 1, largest = 0;
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        const double value = random.NextReal();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        sum += value;
        smallest = std::min(smallest, value);
        largest = std::max(largest, value);
    }
    EXPECT_NEAR(sum / count, 0.5, 0.01);
    EXPECT_LT(smallest, 0.001);
    EXPECT_GT(largest, 0.999);
}

TEST(ProgramRandom, RealsHaveMoreThanSixteenBitsOfResolution) {
    // A generator that only fills the top half of the fraction would leave
    // every value a multiple of 2^-16.
    TRandom random(7);
    bool fineValueSeen = false;
    for (int i = 0; i < 100 && !fineValueSeen; ++i) {
        const double scaled = random.NextReal() * 65536.0;
        fineValueSeen = scaled != static_cast<double>(static_cast<int64_t>(scaled));
    }
    EXPECT_TRUE(fineValueSeen);
}

TEST(ProgramRandom, IntegersStayBelowTheirBound) {
    TRandom random(99);
    for (int32_t n : {1, 2, 3, 96, 256, 1000003, 0x7FFFFFFF}) {
        for (int i = 0; i < 2000; ++i) {
            const int32_t value = random.NextInt(n);
            ASSERT_GE(value, 0) << "n = " << n;
            ASSERT_LT(value, n) << "n = " << n;
        }
    }
    EXPECT_EQ(random.NextInt(0), 0);
    EXPECT_EQ(random.NextInt(-5), 0);
}

TEST(ProgramRandom, IntegersCoverTheirRangeEvenly) {
    TRandom random(2024);
    std::array<int, 96> counts{};
    const int perBucket = 1000;
    for (int i = 0; i < 96 * perBucket; ++i) ++counts[random.NextInt(96)];
    for (int bucket = 0; bucket < 96; ++bucket) {
        EXPECT_GT(counts[bucket], perBucket * 8 / 10) << "bucket " << bucket;
        EXPECT_LT(counts[bucket], perBucket * 12 / 10) << "bucket " << bucket;
    }
    // Low bits of a bare LCG alternate; the parity of successive draws must not.
    int sameParity = 0;
    int previous = random.NextInt(2);
    for (int i = 0; i < 10000; ++i) {
        const int current = random.NextInt(2);
        sameParity += current == previous;
        previous = current;
    }
    EXPECT_GT(sameParity, 4500);
    EXPECT_LT(sameParity, 5500);
}

std::vector<uint32_t> Draws(TRandom& random, int count) {
    std::vector<uint32_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(static_cast<uint32_t>(random.NextInt(0x7FFFFFFF)));
        values.push_back(static_cast<uint32_t>(random.NextReal() * 4294967296.0));
    }
    return values;
}

TEST(ProgramRandom, SameSeedSameSequence) {
    TRandom first(86399999), second(86399999), other(86399998);
    const auto a = Draws(first, 50);
    EXPECT_EQ(a, Draws(second, 50));
    EXPECT_NE(a, Draws(other, 50));
    first.Seed(86399999);
    EXPECT_EQ(a, Draws(first, 50));
}

TEST(ProgramRandom, ProgramGeneratorIsOneObject) {
    EXPECT_EQ(&ProgramRandom(), &ProgramRandom());
}

TEST(ProgramRandom, TimeOfDaySeedCountsMilliseconds) {
    EXPECT_EQ(TimeOfDaySeed(0, 0, 0, 0), 0u);
    EXPECT_EQ(TimeOfDaySeed(0, 0, 0, 999), 999u);
    EXPECT_EQ(TimeOfDaySeed(0, 0, 1, 0), 1000u);
    EXPECT_EQ(TimeOfDaySeed(0, 1, 0, 0), 60000u);
    EXPECT_EQ(TimeOfDaySeed(1, 0, 0, 0), 3600000u);
    EXPECT_EQ(TimeOfDaySeed(1, 2, 3, 4), 3723004u);
    EXPECT_EQ(TimeOfDaySeed(23, 59, 59, 999), 24u * 3600u * 1000u - 1u);
}

}  // namespace
}  // namespace tilerack
