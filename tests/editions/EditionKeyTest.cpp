// The key input as a host uses it, written once and run for every edition that has one: with
// SC Source at External the detector hears the key and the gain falls on the main signal only
// while the key is loud, with the attack and release set; a silent key leaves the downward
// programs alone; SC Preview plays the filtered key; and a host that switches the source or the
// key's routing while playing gets no click.
#include "EditionTestSupport.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kLatency = 151;

class EditionKey : public EachEdition {};

// A tone whose left and right channels are a quarter turn apart: their summed squares hold
// the amplitude at every sample, so the output's summed squares show the gain sample by sample.
Stereo<float> quadratureTone(int frames, double amplitude, double frequencyHz) {
    Stereo<float> s(static_cast<std::size_t>(frames));
    for (int n = 0; n < frames; ++n) {
        const double phase = 2.0 * kPi * frequencyHz * n / kKeyedRateHz;
        s.left[static_cast<std::size_t>(n)] = static_cast<float>(amplitude * std::sin(phase));
        s.right[static_cast<std::size_t>(n)] = static_cast<float>(amplitude * std::cos(phase));
    }
    return s;
}

double amplitudeAt(const Stereo<float>& s, int n) {
    const auto i = static_cast<std::size_t>(n);
    return std::hypot(static_cast<double>(s.left[i]), static_cast<double>(s.right[i]));
}

double rmsDb(const Stereo<float>& s, int from, int to) {
    double sum = 0.0;
    for (int n = from; n < to; ++n)
        sum += amplitudeAt(s, n) * amplitudeAt(s, n);
    return 10.0 * std::log10(sum / (to - from));
}

int frames(double seconds) {
    return static_cast<int>(seconds * kKeyedRateHz);
}

// A compressor that ducks hard as soon as the key passes -30 dB: Peak detection, 4:1.
std::vector<PlainSetting> duckingSettings(double attackMs, double releaseMs) {
    return {{kScSource, 1.0},    {kDetection, 0.0},     {kThreshold, -30.0},      {kRatio, 4.0},
            {kAttack, attackMs}, {kRelease, releaseMs}, {kReleaseSlow, releaseMs}};
}

// A steady main signal and a key of two bursts: nothing reduces the main signal before the
// first burst, loud as it is; the reduction builds with the attack set and fades with the
// release set (to 1 - 1/e and to 1/e of its depth one time constant in), is the same in both
// bursts, and is gone between them.
TEST_P(EditionKey, TheGainFallsOnlyWhileTheKeyBurstsWithTheAttackAndReleaseSet) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    QVL_SKIP_WITHOUT_KEY_INPUT(*edition);
    constexpr double kAttackMs = 10.0, kReleaseMs = 150.0, kMainAmplitude = 0.5;
    const int n = frames(2.6), burst = frames(0.3);
    const int starts[2] = {frames(0.3), frames(1.6)};
    const Stereo<float> main = quadratureTone(n, kMainAmplitude, 440.0);
    Stereo<float> key(static_cast<std::size_t>(n));
    const Stereo<float> loud = quadratureTone(n, 0.316, 1000.0);
    for (const int start : starts)
        for (int i = start; i < start + burst; ++i) {
            key.left[static_cast<std::size_t>(i)] = loud.left[static_cast<std::size_t>(i)];
            key.right[static_cast<std::size_t>(i)] = loud.right[static_cast<std::size_t>(i)];
        }
    KeyedRun run;
    run.settings = duckingSettings(kAttackMs, kReleaseMs);
    run.key = &key;
    const Stereo<float> out = renderKeyed(*edition, main, run);
    const auto reductionDb = [&](int i) {
        return -20.0 * std::log10(amplitudeAt(out, i) / kMainAmplitude);
    };

    // Past the latency's silence, the main signal passes whole until the key arrives.
    int arrival = kLatency + frames(0.01);
    while (arrival < n && reductionDb(arrival) < 0.01)
        ASSERT_LT(std::fabs(reductionDb(arrival++)), 0.01);
    EXPECT_GT(arrival, starts[0]);
    EXPECT_LT(arrival, starts[0] + kLatency + frames(0.001));

    double settledDb[2];
    for (int b = 0; b < 2; ++b) {
        const int onset = arrival + (starts[b] - starts[0]);
        const int end = onset + burst;
        settledDb[b] = reductionDb(end - frames(0.01));
        EXPECT_GT(settledDb[b], 6.0) << "burst " << b;
        EXPECT_NEAR(reductionDb(onset + frames(kAttackMs * 1e-3)) / settledDb[b],
                    1.0 - std::exp(-1.0), 0.05)
            << "burst " << b;
        EXPECT_NEAR(reductionDb(end + frames(kReleaseMs * 1e-3)) / settledDb[b], std::exp(-1.0),
                    0.05)
            << "burst " << b;
    }
    EXPECT_NEAR(settledDb[1], settledDb[0], 0.05);
    EXPECT_LT(reductionDb(arrival + (starts[1] - starts[0]) - 1), 0.2) << "back between bursts";
}

// With External and a key that is silent or not routed at all, no downward program reduces a
// loud main signal: it comes out as the same program passes it at 1:1. Listening to its own
// output instead, each does reduce it.
TEST_P(EditionKey, ASilentKeyLeavesTheDownwardProgramsUnreduced) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    const int n = frames(1.0);
    const Stereo<float> main = quadratureTone(n, 0.5, 440.0);
    Stereo<float> silence(static_cast<std::size_t>(n));
    const int from = frames(0.5); // once the slowest program has settled
    for (const int program : {0, 2, 3, 4, 6}) {
        SCOPED_TRACE(testing::Message() << "program " << program);
        const auto levelDb = [&](std::vector<PlainSetting> settings, Stereo<float>* key) {
            const auto edition = load();
            KeyedRun run;
            run.program = program;
            run.settings = std::move(settings);
            if (program == 0) run.settings.push_back({kThreshold, -30.0});
            run.key = key;
            return rmsDb(renderKeyed(*edition, main, run), from, n);
        };
        const double unreducedDb = levelDb({{kRatio, 1.0}}, nullptr);
        EXPECT_NEAR(levelDb({{kScSource, 1.0}}, nullptr), unreducedDb, 0.01) << "no key routed";
        EXPECT_NEAR(levelDb({{kScSource, 1.0}}, &silence), unreducedDb, 0.01) << "silent key";
        EXPECT_LT(levelDb({}, nullptr), unreducedDb - 1.0) << "the internal source reduces";
    }
}

// SC Preview with External plays the key through the sidechain filter: the same sound the
// preview makes of a main signal with the internal source, bit for bit, and nothing of the
// main signal that plays beside the key.
TEST_P(EditionKey, ScPreviewWithExternalPlaysTheFilteredKey) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    const int n = frames(0.5);
    Stereo<float> key = bursts<float>(n, kKeyedRateHz);
    const Stereo<float> unrelated = quadratureTone(n, 0.9, 3000.0);
    for (const int program : {2, 3}) { // 3 and 6 dB/oct high-pass filters
        SCOPED_TRACE(testing::Message() << "program " << program);
        KeyedRun internal;
        internal.program = program;
        internal.settings = {{kScPreview, 1.0}};
        const auto first = load();
        const Stereo<float> previewOfMain = renderKeyed(*first, key, internal);
        KeyedRun external = internal;
        external.settings.push_back({kScSource, 1.0});
        external.key = &key;
        const auto second = load();
        EXPECT_TRUE(sameSamples(renderKeyed(*second, unrelated, external), previewOfMain));
    }
}

// A host that switches SC Source and the key's routing while playing: the output stays finite,
// and no sample steps further from the last than the main signal itself does, the gain moving
// only as fast as the attack and release let it.
TEST_P(EditionKey, SwitchingTheSourceAndTheKeyWhilePlayingMakesNoClick) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    QVL_SKIP_WITHOUT_KEY_INPUT(*edition);
    const int n = frames(2.0);
    const Stereo<float> main = quadratureTone(n, 0.5, 440.0);
    Stereo<float> key = quadratureTone(n, 0.5, 1000.0);
    KeyedRun run;
    run.settings = duckingSettings(10.0, 50.0);
    run.settings.front().plain = 0.0; // Internal at first
    run.key = &key;
    int step = 0;
    run.beforeBlock = [&](LoadedEdition& e, int start) {
        std::string refusal;
        if (start < frames(0.25 * (step + 1))) return;
        switch (step++ % 4) {
        case 0:
            e.setParameter(kScSource, 1.0);
            break;
        case 1:
            e.connectKey(0, refusal);
            break;
        case 2:
            e.connectKey(2, refusal);
            break;
        default:
            e.setParameter(kScSource, 0.0);
            break;
        }
    };
    const Stereo<float> out = renderKeyed(*edition, main, run);
    EXPECT_EQ(step, 7);
    // From the first switch on, past the tone's own start.
    const auto largestStep = [](const Stereo<float>& s) {
        double largest = 0.0;
        for (const auto* channel : {&s.left, &s.right})
            for (std::size_t i = static_cast<std::size_t>(frames(0.2)); i < channel->size(); ++i) {
                if (!std::isfinite((*channel)[i])) return HUGE_VAL;
                largest = std::max(largest, std::fabs(double((*channel)[i] - (*channel)[i - 1])));
            }
        return largest;
    };
    EXPECT_LT(largestStep(out), 1.1 * largestStep(main));
}

QVL_FOR_EACH_EDITION(EditionKey);

} // namespace
