// Processing and every parameter and program change through the effect allocate nothing.
#include "AllocationCounter.h"
#include "EffectSignals.h"
#include "formats/vst2/Vst2Dispatcher.h"
#include "formats/vst2/Vst2Plugin.h"
#include "plugin/CompressorEffect.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

TEST(EffectAllocation, TheCounterSeesAllocations) {
    int seen;
    {
        CountingScope scope;
        auto probe = std::make_unique<std::vector<double>>(10);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
    if (!countsCAllocations()) return;
    {
        CountingScope scope;
        void* volatile p = std::malloc(24);
        std::free(p);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
}

// Every slot over its whole range including the switch points, every program, both
// precisions, both frames, suspend and resume: all while counting.
TEST(EffectAllocation, NoneWhileProcessingOrChangingParametersAndPrograms) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto plugin = std::make_unique<Vst2Plugin>(nullptr, EditorBinding::EditorFactory{});
        CompressorEffect* effect = &plugin->effect();
        const StereoSignal in = bursts<double>(1024, rate);
        StereoSignal out = in;
        std::vector<float> left(in.left.begin(), in.left.end()),
            right(in.right.begin(), in.right.end());
        double* inputs[2] = {const_cast<double*>(in.left.data()),
                             const_cast<double*>(in.right.data())};
        double* outputs[2] = {out.left.data(), out.right.data()};
        float* channels[2] = {left.data(), right.data()};
        int seen;
        {
            CountingScope scope;
            dispatchRequest(*plugin, vst2::effSetSampleRate, 0, 0, nullptr, rate);
            dispatchRequest(*plugin, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
            for (int program = 0; program < kNumPrograms; ++program) {
                dispatchRequest(*plugin, vst2::effSetProgram, 0, program, nullptr, 0.0f);
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
            for (int readout = 500; readout <= 506; ++readout)
                (void)effect->getParameter(readout);
            dispatchRequest(*plugin, vst2::effMainsChanged, 0, 0, nullptr, 0.0f);
            seen = scope.seen();
        }
        EXPECT_EQ(seen, 0) << rate;
    }
}

} // namespace
