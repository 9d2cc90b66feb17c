#pragma once

#include <atomic>

// Meter values of the last processed sample, written by the audio thread once per sample and
// read by the editor at its own rate. Each value is read on its own, so a reader may combine
// values of neighbouring samples, which the meters tolerate.
struct MeterReadouts {
    std::atomic<double> gain{1.0};     // linear, 1.0 = no gain reduction
    std::atomic<double> levelA{-70.0}; // dB
    std::atomic<double> levelB{-70.0}; // dB

    void reset() {
        gain.store(1.0, std::memory_order_relaxed);
        levelA.store(-70.0, std::memory_order_relaxed);
        levelB.store(-70.0, std::memory_order_relaxed);
    }
};
