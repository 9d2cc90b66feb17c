#pragma once

#include <cstdint>

// The classic C runtime linear congruential generator, written out so every platform and every
// run fills the noise tables identically (the platform's rand() differs between libraries).
class CRuntimeRandom {
  public:
    explicit CRuntimeRandom(uint32_t seed) : state_(seed) {}

    // Next value in 0..32767.
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

    // Next value scaled to 0..1 (r / 32767).
    double nextUnit() { return next() * 3.051850947599719e-05; }

  private:
    uint32_t state_;
};

// Bounds of the tiny noise added to the input and to the gain targets (-190 and -170 dB) and
// the scale of the output noise (-136 dB).
double noiseLow();
double noiseHigh();
double outputNoiseScale();

constexpr int kSmallNoiseSize = 2048;
constexpr int kSmallNoisePeriod = 2047; // the last entry is never read
constexpr int kOutputNoiseSize = 50000;
constexpr int kOutputNoisePeriodA = 50000;
constexpr int kOutputNoisePeriodB = 49999;
constexpr uint32_t kGainNoiseSeed = 5678;
constexpr uint32_t kInputNoiseSeed = 1234;

// Fills `size` entries uniformly between noiseLow() and noiseHigh(), one draw each.
void fillSmallNoise(CRuntimeRandom& random, double* table, int size);
// Fills both output tables, four draws per index: two for A[i], then two for B[i].
void fillOutputNoise(CRuntimeRandom& random, double* tableA, double* tableB, int size);
