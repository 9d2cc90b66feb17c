#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace enginetest;

constexpr InstructionSet kAllSets[] = {InstructionSet::sse2, InstructionSet::avx2Fma};
constexpr float kBothRates[] = {44100.0f, 96000.0f}; // oversampled, plain

struct Frames {
    std::vector<double> left, right;
    std::vector<DynamicsEngine::FrameMeters> meters;
};

// The frames of a whole signal in the block loop's chunks of 64, with a key or none.
Frames run(DynamicsEngine& engine, float rateHz, std::vector<double> left,
           std::vector<double> right, const std::vector<double>* keyLeft = nullptr,
           const std::vector<double>* keyRight = nullptr) {
    const int count = static_cast<int>(left.size());
    Frames f{std::move(left), std::move(right), {}};
    f.meters.resize(count);
    const bool oversampled = static_cast<double>(rateHz) < kOversamplingBelowHz;
    for (int start = 0; start < count; start += 64) {
        const int n = count - start < 64 ? count - start : 64;
        const DynamicsEngine::KeyFrames key{keyLeft ? keyLeft->data() + start : nullptr,
                                            keyRight ? keyRight->data() + start : nullptr};
        engine.processFrames(oversampled, f.left.data() + start, f.right.data() + start, key,
                             f.meters.data() + start, n);
    }
    return f;
}

std::unique_ptr<DynamicsEngine> engineAt(float rateHz, InstructionSet set, ScSource source) {
    auto e = std::make_unique<DynamicsEngine>(set);
    e->setSampleRate(rateHz);
    e->setScSource(source);
    return e;
}

double reductionDb(const DynamicsEngine::FrameMeters& m) {
    return -20.0 * std::log10(m.gain);
}

// Noise whose level swings between loud and near the detector's floor.
std::vector<double> swingingNoise(int count, uint64_t seed) {
    auto x = randomSignal(count, 0.7, seed);
    for (int i = 0; i < count; ++i)
        x[i] *= (i / 700) % 3 == 0 ? 1e-3 : 1.0 + 0.5 * std::sin(i * 0.001);
    return x;
}

// Without reduction (1:1) the feedback detector hears the main signal as it came in. With the
// external source it hears the key instead: through the same filter and detector, at the same
// core steps, so its levels are those the main signal gave, on every path, at both rates.
TEST(ExternalKey, TheDetectorHearsTheKeyAsFeedbackDetectionHearsAnUncompressedSignal) {
    const int n = 4000;
    const auto x = swingingNoise(n, 1), y = swingingNoise(n, 2);
    const auto unrelated = sine(n, 0.9, 220.0, 44100.0);
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        for (const float rate : kBothRates) {
            for (const ScFilterType type :
                 {ScFilterType::off, ScFilterType::threePerOctave, ScFilterType::sixPerOctave}) {
                for (const double detectionMs : {0.0, 10.0, 600.0}) {
                    Frames heard[2];
                    for (const ScSource source : {ScSource::internal, ScSource::external}) {
                        auto e = engineAt(rate, set, source);
                        e->setRatio(1.0);
                        e->setScFilterType(type);
                        e->setScFilterFreq(150.0);
                        e->setDetection(detectionMs);
                        heard[static_cast<int>(source)] =
                            source == ScSource::internal
                                ? run(*e, rate, x, y)
                                : run(*e, rate, unrelated, unrelated, &x, &y);
                    }
                    for (int i = 0; i < n; ++i) {
                        const auto& internal = heard[0].meters[i];
                        const auto& external = heard[1].meters[i];
                        // A gain within 1e-10 of 1 may turn the last bit of the detector's
                        // single-precision logarithm, a step of under 1e-6 dB.
                        ASSERT_NEAR(external.levelA, internal.levelA, 1e-5)
                            << rate << " Hz, type " << static_cast<int>(type) << ", " << detectionMs
                            << " ms, frame " << i;
                        ASSERT_NEAR(external.levelB, internal.levelB, 1e-5)
                            << rate << " Hz, type " << static_cast<int>(type) << ", " << detectionMs
                            << " ms, frame " << i;
                    }
                }
            }
        }
    }
}

TEST(ExternalKey, AnImpulseMovesTheGainAtTheFrameAnImpulseInTheMainSignalWould) {
    const int n = 3000, at = 2000;
    std::vector<double> impulse(n, 0.0);
    impulse[at] = 0.5;
    const std::vector<double> silence(n, 0.0);
    const auto firstReduced = [](const Frames& f) {
        for (size_t i = 0; i < f.meters.size(); ++i)
            if (f.meters[i].gain < 1.0 - 1e-6) return static_cast<int>(i);
        return -1;
    };
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        for (const float rate : kBothRates) {
            int first[2];
            for (const ScSource source : {ScSource::internal, ScSource::external}) {
                auto e = engineAt(rate, set, source);
                e->setThreshold(-40.0);
                e->setRatio(-4.0);
                e->setDetection(0.0);
                e->setAttack(0.0);
                first[static_cast<int>(source)] =
                    firstReduced(source == ScSource::internal
                                     ? run(*e, rate, impulse, impulse)
                                     : run(*e, rate, silence, silence, &impulse, &impulse));
            }
            EXPECT_GT(first[0], at) << rate;
            EXPECT_LT(first[0], at + kLatency) << rate;
            EXPECT_EQ(first[1], first[0]) << rate;
        }
    }
}

// A key that the detector measures at one level throughout: a quadrature pair at an eighth of
// the internal rate, whose samples there all lie at odd multiples of 22.5 degrees, so the larger
// of |left| and |right| is always cos 22.5 degrees times the amplitude.
void addQuadratureBurst(std::vector<double>& left, std::vector<double>& right, float rateHz,
                        double amplitude, int from, int to) {
    const double step = 2.0 * kPi * internalRateHz(rateHz) / 8.0 / rateHz;
    for (int i = from; i < to; ++i) {
        left[i] = amplitude * std::sin(kPi / 8.0 + step * i);
        right[i] = amplitude * std::cos(kPi / 8.0 + step * i);
    }
}

// Ducking: a steady main signal under a key of two bursts, 3:1 from -30 dB, Peak detection,
// 10 ms attack and 150 ms release.
TEST(ExternalKey, TheGainFallsOnlyWhileTheKeyBurstsWithTheSetAttackAndRelease) {
    constexpr double kThresholdDb = -30.0, kSlope = -1.0, kAttackMs = 10.0, kReleaseMs = 150.0;
    constexpr double kKeyAmplitude = 0.316;
    for (const float rate : kBothRates) {
        const auto frames = [rate](double seconds) { return static_cast<int>(seconds * rate); };
        const int n = frames(2.6), burst = frames(0.3);
        const int starts[2] = {frames(0.3), frames(1.6)};
        std::vector<double> keyLeft(n, 0.0), keyRight(n, 0.0);
        for (const int start : starts)
            addQuadratureBurst(keyLeft, keyRight, rate, kKeyAmplitude, start, start + burst);
        const auto main = sine(n, 0.5, 440.0, rate);
        Frames ducked[2];
        for (int k = 0; k < 2; ++k) {
            auto e = engineAt(rate, bestInstructionSet(), ScSource::external);
            e->setThreshold(kThresholdDb);
            e->setRatio(kSlope);
            e->setDetection(0.0);
            e->setAttack(kAttackMs);
            e->setRelease(kReleaseMs);
            e->setReleaseSlow(kReleaseMs);
            e->setMixDry(0.0);
            ducked[k] = k == 0 ? run(*e, rate, main, main, &keyLeft, &keyRight)
                               : run(*e, rate, std::vector<double>(n, 0.0),
                                     std::vector<double>(n, 0.0), &keyLeft, &keyRight);
        }
        const auto& m = ducked[0].meters;
        // The main signal has no say in the gain: silence in its place gives the same meters.
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(m[i].gain, ducked[1].meters[i].gain) << rate << " " << i;
            ASSERT_EQ(m[i].levelA, ducked[1].meters[i].levelA) << rate << " " << i;
        }

        // Loud as the main signal is, nothing reduces it before the first burst.
        int arrival = 0;
        while (reductionDb(m[arrival]) < 0.01)
            ASSERT_LT(reductionDb(m[arrival++]), 1e-6) << rate;
        EXPECT_GT(arrival, starts[0]);
        EXPECT_LT(arrival, starts[0] + kLatency);

        const double keyLevelDb = 20.0 * std::log10(kKeyAmplitude * std::cos(kPi / 8.0));
        const double attackFrames = kAttackMs * 1e-3 * rate;
        const double releaseFrames = kReleaseMs * 1e-3 * rate;
        double settledDb[2];
        for (int b = 0; b < 2; ++b) {
            const int onset = arrival + (starts[b] - starts[0]);
            const int end = onset + burst;
            // Short of the end, where the interpolator's ringing at the key's edge begins.
            const auto& settled = m[end - frames(0.01)];
            settledDb[b] = reductionDb(settled);
            // Feed-forward: the detector measures the key itself, not the key times the gain,
            // and the static curve asks (1 - slope) dB per dB over the threshold.
            EXPECT_NEAR(settled.levelA, keyLevelDb, 0.1) << rate;
            EXPECT_NEAR(settledDb[b], (1.0 - kSlope) * (settled.levelA - kThresholdDb), 0.2)
                << rate;
            // One time constant after the key's onset and after its end.
            const double attacked = reductionDb(m[onset + static_cast<int>(attackFrames)]);
            EXPECT_NEAR(attacked / settledDb[b], 1.0 - std::exp(-1.0), 0.04) << rate;
            const double released = reductionDb(m[end + static_cast<int>(releaseFrames)]);
            EXPECT_NEAR(released / settledDb[b], std::exp(-1.0), 0.04) << rate;
        }
        EXPECT_NEAR(settledDb[1], settledDb[0], 0.05) << rate;
        // Six release times into the gap the main signal is back to full level.
        EXPECT_LT(reductionDb(m[arrival + (starts[1] - starts[0]) - 1]), 0.2) << rate;

        // The gain falls on the main signal, which comes out as much lower as the meter says.
        const int settledFrom = arrival + burst - frames(0.1), settledTo = arrival + burst;
        const double outDb = rmsDb(ducked[0].left, settledFrom, settledTo);
        const double inDb = rmsDb(main, settledFrom - kLatency, settledTo - kLatency);
        EXPECT_NEAR(inDb - outDb, settledDb[0], 0.1) << rate;
    }
}

// SC Preview plays what the detector hears: with the external source the filtered key, exactly
// as the internal source plays the filtered main signal.
TEST(ExternalKey, PreviewPlaysTheFilteredKey) {
    const int n = 3000;
    const auto x = randomSignal(n, 0.6, 3), y = randomSignal(n, 0.6, 4);
    const auto unrelated = sine(n, 0.9, 220.0, 44100.0);
    for (const float rate : kBothRates) {
        for (const ScFilterType type : {ScFilterType::threePerOctave, ScFilterType::sixPerOctave}) {
            Frames played[2];
            for (const ScSource source : {ScSource::internal, ScSource::external}) {
                auto e = engineAt(rate, bestInstructionSet(), source);
                e->setScFilterType(type);
                e->setScFilterFreq(250.0);
                e->setThreshold(-40.0);
                e->setRatio(-4.0);
                e->setScPreview(true);
                played[static_cast<int>(source)] =
                    source == ScSource::internal ? run(*e, rate, x, y)
                                                 : run(*e, rate, unrelated, unrelated, &x, &y);
            }
            EXPECT_EQ(played[1].left, played[0].left) << rate;
            EXPECT_EQ(played[1].right, played[0].right) << rate;
        }
    }
}

// The key's interpolator starts from silence each time the source turns external: what it held
// from an earlier spell would otherwise reach the detector as a burst of the old key.
TEST(ExternalKey, TurningExternalAgainHearsNothingOfTheKeyBefore) {
    const float rate = 44100.0f;
    auto e = engineAt(rate, bestInstructionSet(), ScSource::external);
    e->setThreshold(-30.0);
    e->setRatio(-4.0);
    e->setDetection(0.0);
    e->setAttack(0.0);
    e->setRelease(20.0);
    e->setReleaseSlow(20.0);
    const auto quiet = sine(44100, 0.01, 440.0, rate);
    const auto loud = sine(44100, 0.9, 300.0, rate);
    const Frames ducked = run(*e, rate, quiet, quiet, &loud, &loud);
    ASSERT_GT(reductionDb(ducked.meters.back()), 20.0);
    e->setScSource(ScSource::internal);
    const Frames internal = run(*e, rate, quiet, quiet, &loud, &loud);
    ASSERT_LT(reductionDb(internal.meters.back()), 1e-6);
    e->setScSource(ScSource::external);
    const std::vector<double> silence(quiet.size(), 0.0);
    const Frames again = run(*e, rate, quiet, quiet, &silence, &silence);
    for (const auto& m : again.meters)
        ASSERT_LT(reductionDb(m), 1e-6);
    for (const double v : again.left)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(ExternalKey, ASourceOutsideTheChoicesIsIgnored) {
    DynamicsEngine e;
    EXPECT_EQ(e.scSource(), ScSource::internal);
    e.setScSource(ScSource::external);
    e.setScSource(static_cast<ScSource>(2));
    e.setScSource(static_cast<ScSource>(-1));
    EXPECT_EQ(e.scSource(), ScSource::external);
    EXPECT_EQ(e.settings().scSource, ScSource::external);
}

// The key as a host hands it to the block loop, in either sample type, on every path.
template <typename Sample> class HostKeyTyped : public ::testing::Test {};
using SampleTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(HostKeyTyped, SampleTypes);

template <typename Sample> std::vector<Sample> convert(const std::vector<double>& x) {
    return std::vector<Sample>(x.begin(), x.end());
}

// Compressing hard from the key, with the shelved sidechain filter and harmonics busy.
std::unique_ptr<Rig> keyedRig(float rateHz, InstructionSet set, ScSource source) {
    auto rig = std::make_unique<Rig>(rateHz, set);
    DynamicsEngine& e = rig->engine;
    e.setThreshold(-30.0);
    e.setKnee(4.0);
    e.setRatio(-4.0);
    e.setDetection(5.0);
    e.setAttack(1.0);
    e.setRelease(30.0);
    e.setReleaseSlow(300.0);
    e.setScFilterType(ScFilterType::threePerOctave);
    e.setScFilterFreq(120.0);
    e.setHfHarmonics(true);
    e.setHfHarmonicsAmount(0.5);
    e.setMixDry(0.1);
    e.setScSource(source);
    return rig;
}

template <typename Sample> struct Played {
    std::vector<Sample> left, right;
    double lowestGain = 1.0;
};

// The key of one block as a host hands it over: whole-signal channels, which play() moves on to
// the block's first frame; a null channel stays null.
template <typename Sample> struct KeyBlock {
    std::array<const Sample*, 3> channels{};
    int count = 0;
    bool nullArray = false;
};

// The main signal through a fresh rig in blocks of 1 to 700 frames, each block with the key that
// keyOf(block index) gives.
template <typename Sample, typename KeyOf>
Played<Sample> play(float rateHz, InstructionSet set, ScSource source, const KeyOf& keyOf) {
    auto rig = keyedRig(rateHz, set, source);
    const auto in = convert<Sample>(randomSignal(6000, 0.5, 7));
    Played<Sample> out{std::vector<Sample>(in.size()), std::vector<Sample>(in.size())};
    const int sizes[] = {64, 700, 1, 333, 128, 57};
    int offset = 0;
    for (int b = 0; offset < static_cast<int>(in.size()); ++b) {
        const int count = std::min(sizes[b % 6], static_cast<int>(in.size()) - offset);
        const KeyBlock<Sample> key = keyOf(b);
        std::array<const Sample*, 3> channels{};
        for (size_t c = 0; c < channels.size(); ++c)
            channels[c] = key.channels[c] != nullptr ? key.channels[c] + offset : nullptr;
        rig->process(in, in, out.left, out.right, offset, count,
                     HostKey<Sample>{key.nullArray ? nullptr : channels.data(), key.count});
        out.lowestGain = std::fmin(out.lowestGain, rig->meters.gain.load());
        offset += count;
    }
    return out;
}

template <typename Sample> struct KeySignal {
    std::vector<Sample> left = convert<Sample>(randomSignal(6000, 0.8, 8));
    std::vector<Sample> right = convert<Sample>(randomSignal(6000, 0.8, 9));
    std::vector<Sample> zeros = std::vector<Sample>(6000, Sample(0));
};

template <typename Sample>
KeyBlock<Sample> keyOf(const std::vector<Sample>& left, const std::vector<Sample>& right,
                       int count = 2) {
    return KeyBlock<Sample>{{left.data(), right.data(), nullptr}, count, false};
}

TYPED_TEST(HostKeyTyped, AMissingKeyOrChannelIsSilence) {
    using S = TypeParam;
    const KeySignal<S> k;
    const KeyBlock<S> missingForms[] = {
        KeyBlock<S>{},                                    // no key at all
        KeyBlock<S>{{}, 2, true},                         // two channels, no array
        KeyBlock<S>{{nullptr, nullptr, nullptr}, 2},      // two null channels
        KeyBlock<S>{{k.left.data(), k.right.data()}, -1}, // a negative count
    };
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        for (const float rate : kBothRates) {
            const auto silent = play<S>(rate, set, ScSource::external,
                                        [&](int) { return keyOf(k.zeros, k.zeros); });
            // A downward setting gives no reduction on a silent key, loud as the main signal is.
            EXPECT_GT(silent.lowestGain, 1.0 - 1e-9) << rate;
            for (const KeyBlock<S>& form : missingForms) {
                const auto played =
                    play<S>(rate, set, ScSource::external, [&](int) { return form; });
                EXPECT_EQ(played.left, silent.left)
                    << rate << " Hz, form " << (&form - missingForms);
                EXPECT_EQ(played.right, silent.right)
                    << rate << " Hz, form " << (&form - missingForms);
            }

            // A key on one call and none on the next: silence while it is away.
            const auto comingAndGoing = play<S>(rate, set, ScSource::external, [&](int b) {
                return b % 2 ? keyOf(k.left, k.right) : KeyBlock<S>{};
            });
            const auto keyWithGaps = play<S>(rate, set, ScSource::external, [&](int b) {
                return b % 2 ? keyOf(k.left, k.right) : keyOf(k.zeros, k.zeros);
            });
            EXPECT_LT(comingAndGoing.lowestGain, 0.5) << rate; // the key was heard
            EXPECT_EQ(comingAndGoing.left, keyWithGaps.left) << rate;
            EXPECT_EQ(comingAndGoing.right, keyWithGaps.right) << rate;
            for (const S v : comingAndGoing.left)
                ASSERT_TRUE(std::isfinite(v));
        }
    }
}

TYPED_TEST(HostKeyTyped, AMonoKeyFeedsBothChannelsAndFurtherChannelsAreNotHeard) {
    using S = TypeParam;
    const KeySignal<S> k;
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        for (const float rate : kBothRates) {
            const auto played = [&](const KeyBlock<S>& key) {
                return play<S>(rate, set, ScSource::external, [&](int) { return key; });
            };
            const auto mono = played(keyOf(k.left, k.zeros, 1));
            const auto doubled = played(keyOf(k.left, k.left));
            EXPECT_LT(mono.lowestGain, 0.5) << rate;
            EXPECT_EQ(mono.left, doubled.left) << rate;
            EXPECT_EQ(mono.right, doubled.right) << rate;
            const auto stereo = played(keyOf(k.left, k.right));
            const auto threeChannels =
                played(KeyBlock<S>{{k.left.data(), k.right.data(), k.left.data()}, 3});
            EXPECT_NE(stereo.left, doubled.left) << rate; // the right channel is heard
            EXPECT_EQ(threeChannels.left, stereo.left) << rate;
            EXPECT_EQ(threeChannels.right, stereo.right) << rate;
        }
    }
}

TYPED_TEST(HostKeyTyped, NonFiniteKeySamplesAreSilence) {
    using S = TypeParam;
    const KeySignal<S> k;
    std::vector<S> poisoned = k.left, cleaned = k.left;
    const S bad[] = {std::numeric_limits<S>::quiet_NaN(), std::numeric_limits<S>::infinity(),
                     -std::numeric_limits<S>::infinity()};
    for (size_t i = 0; i < poisoned.size(); i += 5) {
        poisoned[i] = bad[(i / 5) % 3];
        cleaned[i] = S(0);
    }
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        for (const float rate : kBothRates) {
            const auto fromPoisoned = play<S>(rate, set, ScSource::external,
                                              [&](int) { return keyOf(poisoned, k.right); });
            const auto fromCleaned = play<S>(rate, set, ScSource::external,
                                             [&](int) { return keyOf(cleaned, k.right); });
            EXPECT_EQ(fromPoisoned.left, fromCleaned.left) << rate;
            EXPECT_EQ(fromPoisoned.right, fromCleaned.right) << rate;
            for (const S v : fromPoisoned.left)
                ASSERT_TRUE(std::isfinite(v));
        }
    }
}

// A host may connect a key while the detector listens to the compressor's own output.
TYPED_TEST(HostKeyTyped, TheInternalSourceDoesNotHearAKey) {
    using S = TypeParam;
    const KeySignal<S> k;
    for (const float rate : kBothRates) {
        const auto withKey = play<S>(rate, bestInstructionSet(), ScSource::internal,
                                     [&](int) { return keyOf(k.left, k.right); });
        const auto without = play<S>(rate, bestInstructionSet(), ScSource::internal,
                                     [](int) { return KeyBlock<S>{}; });
        EXPECT_EQ(withKey.left, without.left) << rate;
        EXPECT_EQ(withKey.right, without.right) << rate;
    }
}

} // namespace
