// What a careless host may hand any edition: missing buffers and samples that are no numbers.
// Nothing crashes, and the sound afterwards is finite and as it would be.
#include "EditionTestSupport.h"

#include <cmath>
#include <limits>

namespace {

class EditionBadInput : public EachEdition {};

bool allFinite(const Stereo<float>& s) {
    for (const auto* channel : {&s.left, &s.right})
        for (const float x : *channel)
            if (!std::isfinite(x)) return false;
    return true;
}

TEST_P(EditionBadInput, MissingBuffersAreSurvivedAndProcessingGoesOn) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    ASSERT_TRUE(edition->selectProgram(2));
    edition->start(48000.0, 512, false);
    Stereo<float> in = bursts<float>(4096, 48000.0), out(4096);
    float* none[2] = {nullptr, nullptr};
    edition->process(static_cast<float* const*>(nullptr), nullptr, 256);
    edition->process(none, none, 256);
    edition->process(in.from(0).data(), none, 256);
    for (std::size_t start = 0; start < 4096; start += 512)
        edition->process(in.from(start).data(), out.from(start).data(), 512);
    edition->stop();
    EXPECT_TRUE(allFinite(out));
}

TEST_P(EditionBadInput, NonFiniteSamplesLeaveTheOutputFiniteOnceTheyHavePassed) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    ASSERT_TRUE(edition->selectProgram(2));
    edition->start(48000.0, 512, false);
    Stereo<float> in = bursts<float>(48000, 48000.0), out(48000);
    in.left[1000] = std::numeric_limits<float>::quiet_NaN();
    in.right[1001] = std::numeric_limits<float>::infinity();
    in.left[1002] = -std::numeric_limits<float>::infinity();
    for (std::size_t start = 0; start < 48000; start += 500)
        edition->process(in.from(start).data(), out.from(start).data(), 500);
    edition->stop();
    // Half a second later the detector and the delay lines hold numbers again.
    Stereo<float> tail(std::vector<float>(out.left.begin() + 24000, out.left.end()),
                       std::vector<float>(out.right.begin() + 24000, out.right.end()));
    EXPECT_TRUE(allFinite(tail));
}

// A careless host's key, with SC Source at External: a key input handed no channel or more
// than it has, null channel buffers, or a block without the key's buffers between blocks with
// them. Each sounds exactly as the key's silence in its place would.
class EditionBadKey : public EachEdition {
  protected:
    static constexpr int kFrames = 24000;

    // A loud main signal ducked by a key of bursts.
    static KeyedRun ducking(Stereo<float>* key) {
        KeyedRun run;
        run.settings = {{kScSource, 1.0}, {kThreshold, -30.0}, {kRatio, 4.0}, {kAttack, 1.0}};
        run.key = key;
        return run;
    }
    const Stereo<float> main_ = bursts<float>(kFrames, kKeyedRateHz);
    Stereo<float> key_ = bursts<float>(kFrames, 20000.0);
    Stereo<float> silence_{static_cast<std::size_t>(kFrames)};
};

TEST_P(EditionBadKey, WrongChannelCountsAndNullBuffersAreSilence) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    const Stereo<float> silent = renderKeyed(*load(), main_, ducking(&silence_));
    ASSERT_FALSE(sameSamples(silent, renderKeyed(*load(), main_, ducking(&key_))))
        << "the key is heard";

    KeyedRun nulls = ducking(&key_);
    nulls.nullChannels = true;
    EXPECT_TRUE(sameSamples(renderKeyed(*load(), main_, nulls), silent)) << "null channels";

    for (const int count : {0, 3}) {
        const auto careless = load();
        if (!careless->handKeyChannels(count)) continue; // LV2 has no third key port
        EXPECT_TRUE(sameSamples(renderKeyed(*careless, main_, ducking(&key_)), silent))
            << count << " key channels";
    }
}

TEST_P(EditionBadKey, AKeyInOneBlockAndNoneInTheNextIsSilenceBetween) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    // Every other host block comes without the key's buffers.
    std::vector<int> keyless;
    KeyedRun gaps = ducking(&key_);
    bool keyed = false;
    gaps.keyInBlock = [&](int start) {
        keyed = !keyed;
        if (!keyed) keyless.push_back(start);
        return keyed;
    };
    const Stereo<float> gapped = renderKeyed(*load(), main_, gaps);
    ASSERT_GT(keyless.size(), 10u);

    // The same key with silence written into those blocks.
    Stereo<float> holed = key_;
    int b = 0;
    renderInOddBlocks(main_, false, [&](Stereo<float>&, Stereo<float>&, int start, int count) {
        if (b++ % 2 == 0) return;
        for (int i = start; i < start + count; ++i)
            holed.left[static_cast<std::size_t>(i)] = holed.right[static_cast<std::size_t>(i)] =
                0.0f;
    });
    EXPECT_TRUE(sameSamples(gapped, renderKeyed(*load(), main_, ducking(&holed))));
    EXPECT_FALSE(sameSamples(gapped, renderKeyed(*load(), main_, ducking(&key_))));
}

QVL_FOR_EACH_EDITION(EditionBadKey);

QVL_FOR_EACH_EDITION(EditionBadInput);

} // namespace
