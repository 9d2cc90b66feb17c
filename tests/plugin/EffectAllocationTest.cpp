// Processing and every parameter and program change through the effect allocate nothing. The
// program replaces the global allocation functions (and, outside the sanitizer builds, which
// bring their own, the C allocator too), so it is an executable of its own.
#include "EffectSignals.h"
#include "plugin/CompressorEffect.h"
#include "plugin/vst2/Vst2Dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#ifdef _WIN32
#include <malloc.h>
#endif
#include <memory>
#include <new>
#include <vector>

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void noteAllocation() {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

void* allocate(std::size_t size) {
    noteAllocation();
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
    noteAllocation();
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

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define QVL_COUNTS_MALLOC 1
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
    noteAllocation();
    return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    noteAllocation();
    return __libc_memalign(alignment, size);
}
}
#endif

namespace {

struct CountingScope {
    CountingScope() {
        allocations.store(0);
        counting.store(true);
    }
    ~CountingScope() { counting.store(false); }
    int seen() const { return allocations.load(); }
};

TEST(EffectAllocation, TheCounterSeesAllocations) {
    int seen;
    {
        CountingScope scope;
        auto probe = std::make_unique<std::vector<double>>(10);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
#ifdef QVL_COUNTS_MALLOC
    {
        CountingScope scope;
        void* volatile p = std::malloc(24);
        std::free(p);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
#endif
}

// Every slot over its whole range including the switch points, every program, both
// precisions, both frames, suspend and resume: all while counting.
TEST(EffectAllocation, NoneWhileProcessingOrChangingParametersAndPrograms) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto effect = std::make_unique<CompressorEffect>(nullptr, CompressorEffect::EditorFactory{});
        const StereoSignal in = burstSignal(1024, rate);
        StereoSignal out = in;
        std::vector<float> left(in.left.begin(), in.left.end()), right(in.right.begin(), in.right.end());
        double* inputs[2] = {const_cast<double*>(in.left.data()), const_cast<double*>(in.right.data())};
        double* outputs[2] = {out.left.data(), out.right.data()};
        float* channels[2] = {left.data(), right.data()};
        int seen;
        {
            CountingScope scope;
            dispatchRequest(*effect, vst2::effSetSampleRate, 0, 0, nullptr, rate);
            dispatchRequest(*effect, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
            for (int program = 0; program < kNumPrograms; ++program) {
                dispatchRequest(*effect, vst2::effSetProgram, 0, program, nullptr, 0.0f);
                effect->process(inputs, outputs, 1024);
                effect->process(channels, channels, 1024);
            }
            for (int index = 0; index < kNumParameters; ++index) {
                for (float v : {0.0f, 0.05f, 0.3f, 0.5f, 0.6f, 0.8f, 0.95f, 1.0f}) {
                    effect->setParameter(index, v);
                    effect->process(inputs, outputs, 64);
                    (void)effect->getParameter(index);
                }
            }
            for (int readout = 500; readout <= 506; ++readout) (void)effect->getParameter(readout);
            dispatchRequest(*effect, vst2::effMainsChanged, 0, 0, nullptr, 0.0f);
            seen = scope.seen();
        }
        EXPECT_EQ(seen, 0) << rate;
    }
}

} // namespace
