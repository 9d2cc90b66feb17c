#include "AllocationCounter.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace enginetest;

TEST(Allocation, CounterSeesAnAllocation) {
    int seen;
    {
        CountingScope scope;
        auto probe = std::make_unique<std::vector<double>>(10);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
}

TEST(Allocation, NoneWhileProcessingOrSettingInEitherPrecision) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto rig = std::make_unique<Rig>(rate);
        const auto left = randomSignal(512, 0.9, 1);
        const auto right = randomSignal(512, 0.9, 2);
        const std::vector<float> leftF(left.begin(), left.end()),
            rightF(right.begin(), right.end());
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
            e.setScFilterType(ScFilterType::threePerOctave);
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
            seen = scope.seen();
        }
        EXPECT_EQ(seen, 0) << rate;
    }
}

// A host that switches its key bus on and off while processing, and a user switching the source.
TEST(Allocation, NoneWithAKeyThatComesAndGoesOrASourceThatChanges) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto rig = std::make_unique<Rig>(rate);
        const auto in = randomSignal(512, 0.9, 3);
        const auto key = randomSignal(512, 0.9, 4);
        const std::vector<float> inF(in.begin(), in.end()), keyF(key.begin(), key.end());
        std::vector<double> outL(512), outR(512);
        std::vector<float> outLF(512), outRF(512);
        const double* stereo[2] = {key.data(), key.data()};
        const float* mono[1] = {keyF.data()};
        int seen;
        {
            CountingScope scope;
            rig->engine.setScSource(ScSource::external);
            rig->process(in, in, outL, outR, 0, 512, HostKey<double>{stereo, 2});
            rig->process(in, in, outL, outR, 0, 512);
            rig->process(inF, inF, outLF, outRF, 0, 512, HostKey<float>{mono, 1});
            rig->engine.setScSource(ScSource::internal);
            rig->process(in, in, outL, outR, 0, 512, HostKey<double>{stereo, 2});
            rig->engine.setScSource(ScSource::external);
            rig->engine.setScPreview(true);
            rig->process(inF, inF, outLF, outRF, 0, 512, HostKey<float>{mono, 1});
            seen = scope.seen();
        }
        EXPECT_EQ(seen, 0) << rate;
    }
}

} // namespace
