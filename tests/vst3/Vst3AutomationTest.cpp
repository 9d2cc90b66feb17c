// Parameter changes land on the sample they are sent for: a block with changes at offsets
// sounds like the VST 2 module with its block split at those offsets.
#include "Vst3TestSupport.h"

#include <algorithm>
#include <map>

namespace {

using Steinberg::Vst::ParamID;

constexpr float kRate = 48000.0f;

// The changes below hold the effect's values, as the VST 2 module takes them.

// The VST 2 reference: `changes` (offsets counted from the first frame) applied between
// blocks cut exactly there.
Stereo<float> vst2Reference(const Stereo<float>& source, std::vector<ParameterPoint> changes) {
    auto plugin = loadVst2();
    plugin->setSampleRate(kRate);
    plugin->resume();
    Stereo<float> in = source, out(source.frames());
    std::stable_sort(
        changes.begin(), changes.end(),
        [](const ParameterPoint& a, const ParameterPoint& b) { return a.offset < b.offset; });
    std::size_t done = 0;
    for (const ParameterPoint& change : changes) {
        const auto at = static_cast<std::size_t>(change.offset);
        if (at > done) processVst2(*plugin, in, out, done, static_cast<int>(at - done));
        done = std::max(done, at);
        plugin->setParameter(static_cast<int>(change.id), static_cast<float>(change.value));
    }
    processVst2(*plugin, in, out, done, static_cast<int>(source.frames() - done));
    return out;
}

// The same changes sent to the VST 3 edition in blocks of `block` frames, each in the queue of
// the block it falls in, at its offset there, as the edition's normalized values.
Stereo<float> vst3Render(const Stereo<float>& source, const std::vector<ParameterPoint>& changes,
                         int block) {
    auto plugin = loadVst3();
    plugin->setup(kRate, Steinberg::Vst::kSample32);
    plugin->activate(true);
    Stereo<float> in = source, out(source.frames());
    const int frames = static_cast<int>(source.frames());
    for (int start = 0; start < frames; start += block) {
        const int count = std::min(block, frames - start);
        std::vector<ParameterPoint> inBlock;
        for (const ParameterPoint& c : changes)
            if (c.offset >= start && c.offset < start + count)
                inBlock.push_back(
                    {c.id, c.offset - start, vst3Value(c.id, static_cast<float>(c.value))});
        processVst3(*plugin, in, out, static_cast<std::size_t>(start), count, inBlock);
    }
    return out;
}

TEST(Vst3Automation, ChangesAtOffsetsLandOnTheirSample) {
    const Stereo<float> in = bursts<float>(12000, kRate);
    // Threshold, ratio and the host's bypass, two of them on the same sample.
    const std::vector<ParameterPoint> changes = {
        {3, 1000, 0.2}, {5, 1000, 0.9},  {kBypassId, 2500, 1.0}, {kBypassId, 4001, 0.0},
        {3, 7777, 0.6}, {15, 9000, 1.0}, {15, 9500, 0.0}};
    const Stereo<float> reference = vst2Reference(in, changes);
    for (int block : {12000, 4096, 999, 1}) {
        SCOPED_TRACE(testing::Message() << "blocks of " << block);
        EXPECT_TRUE(sameSamples(reference, vst3Render(in, changes, block)));
    }
}

TEST(Vst3Automation, AChangeEveryHundredSamples) {
    const Stereo<float> in = bursts<float>(9600, kRate);
    std::vector<ParameterPoint> changes;
    for (int n = 0; n < 9600; n += 100)
        changes.push_back({3, n, (n / 100 % 10) / 10.0});
    EXPECT_TRUE(sameSamples(vst2Reference(in, changes), vst3Render(in, changes, 2048)));
    // A change that never reaches the audio thread would leave the output as it was.
    EXPECT_FALSE(sameSamples(vst2Reference(in, {}), vst3Render(in, changes, 2048)));
}

TEST(Vst3Automation, WhatTheEffectChangesByItselfIsReportedToTheHost) {
    auto plugin = loadVst3();
    plugin->setup(kRate, Steinberg::Vst::kSample32);
    plugin->activate(true);
    Stereo<float> in = bursts<float>(256, kRate), out(256);
    processVst3(*plugin, in, out, 0, 256, {{16, 0, 1.0}});
    EXPECT_TRUE(plugin->outputChanges().empty()) << "what the host sent is not sent back";
    // Delta on turns Bypass off inside the effect; the host hears of it.
    processVst3(*plugin, in, out, 0, 256, {{15, 10, 1.0}});
    ASSERT_EQ(plugin->outputChanges().size(), 1u);
    EXPECT_EQ(plugin->outputChanges()[0].id, 16u);
    EXPECT_EQ(plugin->outputChanges()[0].value, 0.0);
    EXPECT_EQ(plugin->controller()->getParamNormalized(16), 0.0);

    // A program chosen through the queue: the host hears every value the program set.
    processVst3(*plugin, in, out, 0, 256, {{kProgramId, 100, 5.0 / 6.0}});
    auto vst2 = loadVst2();
    vst2->setProgram(5);
    ASSERT_EQ(plugin->outputChanges().size(), 20u);
    for (const ParameterPoint& p : plugin->outputChanges())
        EXPECT_EQ(p.value, vst3Value(p.id, vst2->getParameter(static_cast<int>(p.id))))
            << "parameter " << p.id;

    // A switch the host sets on its controller side turns another off; the host hears of that
    // one only, and of nothing it set itself.
    processVst3(*plugin, in, out, 0, 256, {{15, 0, 1.0}});
    EXPECT_TRUE(plugin->outputChanges().empty());
    EXPECT_EQ(plugin->controller()->setParamNormalized(17, 1.0), Steinberg::kResultOk);
    processVst3(*plugin, in, out, 0, 256);
    ASSERT_EQ(plugin->outputChanges().size(), 1u);
    EXPECT_EQ(plugin->outputChanges()[0].id, 15u);
    EXPECT_EQ(plugin->outputChanges()[0].value, 0.0);
    processVst3(*plugin, in, out, 0, 256);
    EXPECT_TRUE(plugin->outputChanges().empty()) << "told once";
}

} // namespace
