#include "engine/NoiseTables.h"
#include "engine/DynamicsEngine.h"
#include "engine/GainComputer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

namespace {

// Independent reference for the classic generator: state * 214013 + 2531011, bits 16..30.
struct ReferenceGenerator {
    uint64_t state;
    double unit() {
        state = (state * 214013u + 2531011u) & 0xFFFFFFFFu;
        return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
    }
};

const double kLow = std::pow(10.0, -9.5);
const double kHigh = std::pow(10.0, -8.5);
const double kScale = std::pow(10.0, -6.8);

TEST(NoiseTables, BoundsMatchTheirDecibelValues) {
    EXPECT_NEAR(noiseLow(), kLow, kLow * 1e-12);
    EXPECT_NEAR(noiseHigh(), kHigh, kHigh * 1e-12);
    EXPECT_NEAR(outputNoiseScale(), kScale, kScale * 1e-12);
}

TEST(NoiseTables, GeneratorMatchesTheClassicSequence) {
    CRuntimeRandom random(1);
    // The first values of the classic generator seeded with 1.
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
}

TEST(NoiseTables, InputNoiseIsTheSeededSequenceWithinItsBounds) {
    const auto engine = std::make_unique<DynamicsEngine>();
    ReferenceGenerator ref{1234};
    for (int i = 0; i < kSmallNoiseSize; ++i) {
        const double v = engine->inputNoise()[i];
        ASSERT_NEAR(v, kLow + ref.unit() * (kHigh - kLow), 1e-22) << i;
        ASSERT_GE(v, noiseLow());
        ASSERT_LE(v, noiseHigh());
    }
}

TEST(NoiseTables, OutputNoiseContinuesTheInputSequenceWithinItsBounds) {
    const auto engine = std::make_unique<DynamicsEngine>();
    ReferenceGenerator ref{1234};
    for (int i = 0; i < kSmallNoiseSize; ++i)
        ref.unit();
    double sum = 0.0;
    for (int i = 0; i < kOutputNoiseSize; ++i) {
        const double a = (ref.unit() + ref.unit() - 0.5) * kScale;
        const double b = (ref.unit() + ref.unit() - 0.5) * kScale;
        ASSERT_NEAR(engine->outputNoiseA()[i], a, 1e-20) << i;
        ASSERT_NEAR(engine->outputNoiseB()[i], b, 1e-20) << i;
        ASSERT_GE(engine->outputNoiseA()[i], -0.5 * kScale * (1 + 1e-12));
        ASSERT_LE(engine->outputNoiseA()[i], 1.5 * kScale * (1 + 1e-12));
        sum += engine->outputNoiseA()[i];
    }
    EXPECT_NEAR(sum / kOutputNoiseSize, 0.5 * kScale, 0.01 * kScale);
}

TEST(NoiseTables, GainNoiseUsesItsOwnSeed) {
    GainComputer computer;
    ReferenceGenerator ref{5678};
    for (int i = 0; i < kSmallNoiseSize; ++i)
        ASSERT_NEAR(computer.noise[i], kLow + ref.unit() * (kHigh - kLow), 1e-22);
}

TEST(NoiseTables, TwoEnginesHoldIdenticalTables) {
    const auto first = std::make_unique<DynamicsEngine>();
    const auto second = std::make_unique<DynamicsEngine>();
    for (int i = 0; i < kSmallNoiseSize; ++i)
        ASSERT_EQ(first->inputNoise()[i], second->inputNoise()[i]);
    for (int i = 0; i < kOutputNoiseSize; ++i) {
        ASSERT_EQ(first->outputNoiseA()[i], second->outputNoiseA()[i]);
        ASSERT_EQ(first->outputNoiseB()[i], second->outputNoiseB()[i]);
    }
}

} // namespace
