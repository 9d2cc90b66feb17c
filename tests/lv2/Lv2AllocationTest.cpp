// The DSP binary's run allocates nothing, whatever the host does to the controls: every control
// over its whole range, NaN, the host's bypass, empty runs, deactivate and activate, and key
// ports connected and disconnected between runs while SC Source changes.
#include "AllocationCounter.h"

#include <gtest/gtest.h>
#include <lv2/core/lv2.h>

#include <dlfcn.h>

#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kPorts = 34;
constexpr uint32_t kFirstControl = 4;
// The parameters, the host's enable switch, and after the outputs the two zone lists and SC
// Source.
constexpr uint32_t kControlInputs[] = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                       17, 18, 19, 20, 21, 22, 23, 24, 25, 31, 32, 33};
constexpr uint32_t kScSourcePort = 33;
// The key's left and right inputs, after every other port.
constexpr uint32_t kKeyPorts[] = {34, 35};

const LV2_Descriptor* descriptor() {
    void* library = dlopen(QVL_LV2_DSP_BINARY, RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    return entry ? entry(0) : nullptr;
}

TEST(Lv2Allocation, TheCounterSeesTheBinarysAllocations) {
    const LV2_Descriptor* d = descriptor();
    ASSERT_NE(d, nullptr) << dlerror();
    int seen = 0;
    LV2_Handle handle = nullptr;
    {
        CountingScope scope;
        handle = d->instantiate(d, 48000.0, QVL_LV2_BUNDLE "/", nullptr);
        seen = scope.seen();
    }
    ASSERT_NE(handle, nullptr);
    EXPECT_GT(seen, 0);
    d->cleanup(handle);
}

TEST(Lv2Allocation, NoneWhileRunningWhateverTheControlsDo) {
    const LV2_Descriptor* d = descriptor();
    ASSERT_NE(d, nullptr) << dlerror();
    for (const double rate : {44100.0, 96000.0}) {
        LV2_Handle handle = d->instantiate(d, rate, QVL_LV2_BUNDLE "/", nullptr);
        ASSERT_NE(handle, nullptr);
        std::vector<float> ports(kPorts, 0.0f);
        std::vector<float> left(512), right(512);
        for (std::size_t n = 0; n < left.size(); ++n)
            left[n] = right[n] = 0.5f * std::sin(0.05f * static_cast<float>(n));
        for (uint32_t p = kFirstControl; p < kPorts; ++p)
            d->connect_port(handle, p, &ports[p]);
        d->connect_port(handle, 0, left.data());
        d->connect_port(handle, 1, right.data());
        d->connect_port(handle, 2, left.data()); // in place
        d->connect_port(handle, 3, right.data());
        ports[kFirstControl + 21] = 1.0f; // enabled

        int seen = 0;
        {
            CountingScope scope;
            d->activate(handle);
            for (uint32_t c : kControlInputs) {
                for (const float value : {-1e9f, -50.0f, 0.0f, 0.4f, 1.0f, 2.5f, 12.0f, 300.0f,
                                          600.0f, 1e9f, NAN, INFINITY}) {
                    ports[c] = value;
                    d->run(handle, 64);
                    d->run(handle, 0);
                }
                ports[c] = 0.0f;
            }
            d->deactivate(handle);
            d->activate(handle);
            d->run(handle, 512);
            for (const float source : {1.0f, 0.0f, 1.0f}) {
                ports[kScSourcePort] = source;
                for (float* keyLeft : {left.data(), static_cast<float*>(nullptr)})
                    for (float* keyRight : {right.data(), static_cast<float*>(nullptr)}) {
                        d->connect_port(handle, kKeyPorts[0], keyLeft);
                        d->connect_port(handle, kKeyPorts[1], keyRight);
                        d->run(handle, 512);
                    }
            }
            seen = scope.seen();
        }
        EXPECT_EQ(seen, 0) << rate;
        d->deactivate(handle);
        d->cleanup(handle);
    }
}

} // namespace
