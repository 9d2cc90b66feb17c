#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#ifdef _WIN32
#include <malloc.h>
#endif
#include <memory>
#include <new>
#include <vector>

// Counts every heap allocation of this program while counting is on.
namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void* allocate(std::size_t size) {
    if (counting.load()) allocations.fetch_add(1);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

// The Windows C runtime has no aligned_alloc, and its aligned blocks need their own release.
#ifdef _WIN32
void* alignedBlock(std::size_t a, std::size_t size) { return _aligned_malloc(size, a); }
void releaseAligned(void* p) { _aligned_free(p); }
#else
void* alignedBlock(std::size_t a, std::size_t size) { return std::aligned_alloc(a, size); }
void releaseAligned(void* p) { std::free(p); }
#endif

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (counting.load()) allocations.fetch_add(1);
    const std::size_t a = static_cast<std::size_t>(alignment);
    if (void* p = alignedBlock(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { releaseAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { releaseAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { releaseAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { releaseAligned(p); }

namespace {

using namespace enginetest;

struct CountingScope {
    CountingScope() {
        allocations.store(0);
        counting.store(true);
    }
    ~CountingScope() { counting.store(false); }
};

TEST(Allocation, CounterSeesAnAllocation) {
    int seen;
    {
        CountingScope scope;
        auto probe = std::make_unique<std::vector<double>>(10);
        seen = allocations.load();
    }
    EXPECT_GT(seen, 0);
}

TEST(Allocation, NoneWhileProcessingOrSettingInEitherPrecision) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto rig = std::make_unique<Rig>(rate);
        const auto left = randomSignal(512, 0.9, 1);
        const auto right = randomSignal(512, 0.9, 2);
        const std::vector<float> leftF(left.begin(), left.end()), rightF(right.begin(), right.end());
        std::vector<double> outL(512), outR(512);
        std::vector<float> outLF(512), outRF(512);
        int seen;
        {
            CountingScope scope;
            DynamicsEngine& e = rig->engine;
            e.setSampleRate(rate);
            e.reset();
            e.setDetection(600.0);
            e.setDetection(20.0);
            e.setScFilterType(0.5f);
            e.setScFilterFreq(150.0);
            e.setThreshold(-30.0);
            e.setKnee(6.0);
            e.setRatio(-1.0);
            e.setAttack(5.0);
            e.setRelease(50.0);
            e.setReleaseSlow(500.0);
            e.setMixDry(0.1);
            e.setMakeUpGain(2.0);
            e.setHfHarmonics(true);
            e.setLfHarmonics(true);
            e.setHfHarmonicsAmount(0.3);
            e.setLfHarmonicsAmount(0.2);
            e.setDelta(false);
            e.setScPreview(false);
            rig->process(left, right, outL, outR, 0, 512);
            rig->process(leftF, rightF, outLF, outRF, 0, 512);
            e.setScPreview(true);
            e.setDelta(true);
            rig->bypassOn = true;
            rig->process(left, right, outL, outR, 0, 512);
            seen = allocations.load();
        }
        EXPECT_EQ(seen, 0) << rate;
    }
}

} // namespace
