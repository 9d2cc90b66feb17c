#include "engine/DynamicsEngine.h"

#include <cmath>

namespace {

constexpr double kMinimumSampleRateHz = 8000.0;
constexpr double kHarmonicsDrivePerAmount = 32.0;

} // namespace

struct DynamicsEngine::FrameLoops {
    static void sse2(DynamicsEngine& engine, bool oversampled, double* left, double* right,
                     FrameMeters* meters, int count) {
        engine.frames<InstructionSet::sse2, false>(oversampled, left, right, KeyFrames{}, meters,
                                                   count);
    }
    static void sse2Keyed(DynamicsEngine& engine, bool oversampled, double* left, double* right,
                          KeyFrames key, FrameMeters* meters, int count) {
        engine.frames<InstructionSet::sse2, true>(oversampled, left, right, key, meters, count);
    }
#if defined(__x86_64__) || defined(__i386__)
    // The same source: without contraction the compiler fuses nothing by itself, so these
    // differ from the plain code only in the feedback chain's fused steps and in encoding.
    __attribute__((target("avx2,fma"))) static void avx2Fma(DynamicsEngine& engine,
                                                            bool oversampled, double* left,
                                                            double* right, FrameMeters* meters,
                                                            int count) {
        engine.frames<InstructionSet::avx2Fma, false>(oversampled, left, right, KeyFrames{}, meters,
                                                      count);
    }
    __attribute__((target("avx2,fma"))) static void avx2FmaKeyed(DynamicsEngine& engine,
                                                                 bool oversampled, double* left,
                                                                 double* right, KeyFrames key,
                                                                 FrameMeters* meters, int count) {
        engine.frames<InstructionSet::avx2Fma, true>(oversampled, left, right, key, meters, count);
    }
#endif

    static FrameLoop forSet(InstructionSet set) {
#if defined(__x86_64__) || defined(__i386__)
        if (set == InstructionSet::avx2Fma) return &avx2Fma;
#endif
        (void)set;
        return &sse2;
    }
    static KeyedFrameLoop keyedForSet(InstructionSet set) {
#if defined(__x86_64__) || defined(__i386__)
        if (set == InstructionSet::avx2Fma) return &avx2FmaKeyed;
#endif
        (void)set;
        return &sse2Keyed;
    }
};

DynamicsEngine::DynamicsEngine(InstructionSet set)
    : instructionSet_(isSupported(set) ? set : bestInstructionSet()),
      frameLoop_(FrameLoops::forSet(instructionSet_)), halfbandTaps_(makeHalfbandTaps()),
      upsampler_(halfbandTaps_, instructionSet_), downsampler_(halfbandTaps_, instructionSet_),
      outputNoiseA_(new double[kOutputNoiseSize]), outputNoiseB_(new double[kOutputNoiseSize]),
      keyedFrameLoop_(FrameLoops::keyedForSet(instructionSet_)),
      keyUpsampler_(halfbandTaps_, instructionSet_) {
    // The input noise and the output noise come from one seeded sequence, in this order.
    CRuntimeRandom random(kInputNoiseSeed);
    fillSmallNoise(random, inputNoise_.data(), kSmallNoiseSize);
    fillOutputNoise(random, outputNoiseA_.get(), outputNoiseB_.get(), kOutputNoiseSize);
    // Every filter gets its 44100 Hz design now, so a host that processes before it sets a
    // rate still hears consistent filters and time constants.
    redesign();
    curve_ = latestCurve();
    keyCurve_ = latestKeyCurve();
    clearSignalState();
}

void DynamicsEngine::store(std::atomic<double>& setting, double value) {
    if (std::isfinite(value)) setting.store(value, std::memory_order_relaxed);
}

void DynamicsEngine::storeAndRedesign(std::atomic<double>& setting, double value) {
    if (!std::isfinite(value)) return;
    setting.store(value, std::memory_order_relaxed);
    requestRedesign();
}

void DynamicsEngine::setSampleRate(double sampleRateHz) {
    if (std::isfinite(sampleRateHz))
        storeAndRedesign(sampleRateHz_, std::fmax(sampleRateHz, kMinimumSampleRateHz));
}

void DynamicsEngine::reset() {
    resetPending_.store(true, std::memory_order_release);
}

void DynamicsEngine::setDetection(double detectionMs) {
    storeAndRedesign(detectionMs_, detectionMs);
}

void DynamicsEngine::setScFilterType(ScFilterType type) {
    const int position = static_cast<int>(type);
    if (position < static_cast<int>(ScFilterType::off) ||
        position > static_cast<int>(ScFilterType::sixPerOctave))
        return;
    scFilterType_.store(position, std::memory_order_relaxed);
    requestRedesign();
}

void DynamicsEngine::setScFilterFreq(double frequencyHz) {
    if (std::isfinite(frequencyHz))
        storeAndRedesign(scFrequencyHz_,
                         std::fmin(std::fmax(frequencyHz, kScFilterLowestHz), kScFilterHighestHz));
}

void DynamicsEngine::storeCurveSetting(std::atomic<double>& setting, double value) {
    if (!std::isfinite(value)) return;
    setting.store(value, std::memory_order_relaxed);
    curveSettingsGeneration_.fetch_add(1, std::memory_order_release);
}

// The feedback loop turns a slope s into the steady-state ratio 2 - s (1:1 at s = 1, 6:1 at
// s = -4), since the detector hears the compressed signal. A key is heard before any gain, so the
// same slope would reduce by 1 - s dB per dB of key: limiting at s = 0 and a gain that falls
// faster than the key rises below it. The key's curve takes the slope that gives a key equal to
// the main signal the ratio the feedback loop gives it, 1 / (2 - s), so Ratio means the same for
// either source.
static double keyedSlope(double slope) {
    return 1.0 / (2.0 - slope);
}

GainCurve DynamicsEngine::latestKeyCurve() const {
    return GainCurve::make(thresholdDb_.load(std::memory_order_relaxed),
                           kneeDb_.load(std::memory_order_relaxed),
                           keyedSlope(slope_.load(std::memory_order_relaxed)));
}

GainCurve DynamicsEngine::latestCurve() const {
    return GainCurve::make(thresholdDb_.load(std::memory_order_relaxed),
                           kneeDb_.load(std::memory_order_relaxed),
                           slope_.load(std::memory_order_relaxed));
}

void DynamicsEngine::setThreshold(double thresholdDb) {
    storeCurveSetting(thresholdDb_, thresholdDb);
}
void DynamicsEngine::setKnee(double kneeDb) {
    storeCurveSetting(kneeDb_, kneeDb);
}
void DynamicsEngine::setRatio(double slope) {
    storeCurveSetting(slope_, slope);
}
void DynamicsEngine::setAttack(double attackMs) {
    storeAndRedesign(attackMs_, attackMs);
}
void DynamicsEngine::setRelease(double releaseMs) {
    storeAndRedesign(releaseMs_, releaseMs);
}
void DynamicsEngine::setReleaseSlow(double releaseSlowMs) {
    storeAndRedesign(releaseSlowMs_, releaseSlowMs);
}
void DynamicsEngine::setMixDry(double dryGainLinear) {
    store(dryGain_, dryGainLinear);
}
void DynamicsEngine::setMakeUpGain(double makeUpGainLinear) {
    store(makeUpGain_, makeUpGainLinear);
}
void DynamicsEngine::setHfHarmonics(bool on) {
    storeAndRedesign(hfOn_, on ? 1.0 : 0.0);
}
void DynamicsEngine::setLfHarmonics(bool on) {
    storeAndRedesign(lfOn_, on ? 1.0 : 0.0);
}
void DynamicsEngine::setHfHarmonicsAmount(double amount) {
    storeAndRedesign(hfAmount_, amount);
}
void DynamicsEngine::setLfHarmonicsAmount(double amount) {
    storeAndRedesign(lfAmount_, amount);
}
void DynamicsEngine::setDelta(bool on) {
    deltaOn_.store(on, std::memory_order_relaxed);
}
void DynamicsEngine::setScPreview(bool on) {
    scPreviewOn_.store(on, std::memory_order_relaxed);
}
void DynamicsEngine::setScSource(ScSource source) {
    if (source == ScSource::internal || source == ScSource::external)
        scSource_.store(static_cast<int>(source), std::memory_order_relaxed);
}

DynamicsEngine::Settings DynamicsEngine::settings() const {
    const auto get = [](const auto& setting) { return setting.load(std::memory_order_relaxed); };
    return Settings{get(sampleRateHz_),  get(detectionMs_), get(scFrequencyHz_), get(thresholdDb_),
                    get(kneeDb_),        get(slope_),       get(attackMs_),      get(releaseMs_),
                    get(releaseSlowMs_), get(makeUpGain_),  get(dryGain_),       get(lfOn_),
                    get(hfOn_),          get(lfAmount_),    get(hfAmount_),      get(scFilterType_),
                    get(deltaOn_),       get(scPreviewOn_), scSource()};
}

void DynamicsEngine::designFeedbackLoop(FeedbackLoop& loop, const Settings& s) {
    loop.design(static_cast<ScFilterType>(s.scFilterType), s.scFrequencyHz, s.detectionMs,
                s.attackMs, s.releaseMs, s.releaseSlowMs, internalRateHz(s.sampleRateHz));
}

FeedbackLoop DynamicsEngine::designedFeedbackLoop() const {
    FeedbackLoop loop;
    designFeedbackLoop(loop, settings());
    return loop;
}

void DynamicsEngine::redesign() {
    const Settings s = settings();
    designFeedbackLoop(feedback_, s);
    harmonicsBands_.design(internalRateHz(s.sampleRateHz));
    lfDrive_ = s.lfOn * s.lfAmount * kHarmonicsDrivePerAmount;
    hfDrive_ = s.hfOn * s.hfAmount * kHarmonicsDrivePerAmount;
}

void DynamicsEngine::clearSignalState() {
    feedback_.clear();
    dryDelay_.clear();
    wetDelay_.clear();
    harmonicsBands_.clear();
    coreDelay_ = CoreDelay{};
    inputNoisePosition_ = 0;
    upsampler_.clear();
    downsampler_.clear();
    keyUpsampler_.clear();
}

DynamicsEngine::FrameSettings DynamicsEngine::beginFrame(DetectorLevels& levels) {
    if (resetPending_.load(std::memory_order_relaxed) &&
        resetPending_.exchange(false, std::memory_order_acquire)) {
        clearSignalState();
        levels = feedback_.levelDetector.levels();
    }
    const unsigned generation = designGeneration_.load(std::memory_order_acquire);
    if (generation != designedGeneration_) {
        designedGeneration_ = generation;
        redesign();
    }
    const unsigned curveGeneration = curveSettingsGeneration_.load(std::memory_order_acquire);
    if (curveGeneration != curveGeneration_) {
        curveGeneration_ = curveGeneration;
        curve_ = latestCurve();
    }
    FrameSettings s;
    s.makeUpGain = makeUpGain_.load(std::memory_order_relaxed);
    s.dryGain = dryGain_.load(std::memory_order_relaxed);
    s.deltaOn = deltaOn_.load(std::memory_order_relaxed);
    s.scPreviewOn = scPreviewOn_.load(std::memory_order_relaxed);
    return s;
}

void DynamicsEngine::addInputNoise(double* left, double* right, int count) {
    // Between wraps the table is read contiguously, which the compiler vectorises.
    while (count > 0) {
        const int run = count < kSmallNoisePeriod - inputNoisePosition_
                            ? count
                            : kSmallNoisePeriod - inputNoisePosition_;
        const double* noise = inputNoise_.data() + inputNoisePosition_;
        for (int i = 0; i < run; ++i) {
            left[i] += noise[i];
            right[i] += noise[i];
        }
        inputNoisePosition_ += run;
        if (inputNoisePosition_ == kSmallNoisePeriod) inputNoisePosition_ = 0;
        left += run;
        right += run;
        count -= run;
    }
}

// Two tables of coprime lengths: the sum repeats only after 50000 x 49999 samples. Between
// wraps both tables are read contiguously, which the compiler vectorises.
void DynamicsEngine::takeOutputNoise(double* noise, int count) {
    while (count > 0) {
        int run = count;
        if (run > kOutputNoisePeriodA - outputNoisePositionA_)
            run = kOutputNoisePeriodA - outputNoisePositionA_;
        if (run > kOutputNoisePeriodB - outputNoisePositionB_)
            run = kOutputNoisePeriodB - outputNoisePositionB_;
        const double* a = outputNoiseA_.get() + outputNoisePositionA_;
        const double* b = outputNoiseB_.get() + outputNoisePositionB_;
        for (int i = 0; i < run; ++i)
            noise[i] = a[i] + b[i];
        outputNoisePositionA_ += run;
        outputNoisePositionB_ += run;
        if (outputNoisePositionA_ == kOutputNoisePeriodA) outputNoisePositionA_ = 0;
        if (outputNoisePositionB_ == kOutputNoisePeriodB) outputNoisePositionB_ = 0;
        noise += run;
        count -= run;
    }
}

template <bool kFused, bool kExternal>
DynamicsEngine::StereoPair
DynamicsEngine::processCore(StereoPair in, StereoPair key, const FrameSettings& settings,
                            CoreMeters& meters, DetectorLevels& levels, CoreDelay& delay) {
    if (settings.scPreviewOn) {
        // Listen to the detector's input: the sidechain filter on the raw signal, nothing else
        // runs.
        const StereoPair heard = kExternal ? key : in;
        double side = (heard.left - heard.right) * 0.5;
        double mid = (heard.left + heard.right) * 0.5;
        feedback_.sidechainFilter.process<kFused>(side, mid, false);
        meters = CoreMeters{1.0, -70.0, -70.0};
        return StereoPair{mid + side, mid - side};
    }

    double g;
    if constexpr (kExternal)
        g = feedback_.keyedStep<kFused>(key.left, key.right, keyCurve_, levels);
    else
        g = feedback_.step<kFused>(in.left, in.right, curve_, levels);
    meters = CoreMeters{g, levels.aDb, levels.bDb};

    const Lanes y = delay.previousGain * delay.inputTwoAgo;
    const Lanes out = harmonicsBands_.step<kFused>(y, lfDrive_, hfDrive_) + y - delay.inputTwoAgo;
    delay.inputTwoAgo = delay.inputOneAgo;
    delay.inputOneAgo = Lanes{in.left, in.right};
    delay.previousGain = g;
    return StereoPair{out[0], out[1]};
}

DynamicsEngine::StereoPair DynamicsEngine::mix(StereoPair dry, StereoPair wet, double o,
                                               const FrameSettings& settings) {
    if (settings.deltaOn || settings.scPreviewOn) return StereoPair{wet.left + o, wet.right + o};
    // dry + wet is the compressed signal with harmonics; the dry gain adds the parallel path.
    return StereoPair{(dry.left + wet.left) * settings.makeUpGain + settings.dryGain * dry.left + o,
                      (dry.right + wet.right) * settings.makeUpGain + settings.dryGain * dry.right +
                          o};
}

template <bool kFused, bool kExternal>
void DynamicsEngine::plainFrames(const double* left, const double* right, const double* keyLeft,
                                 const double* keyRight, double* wetLeft, double* wetRight,
                                 FrameMeters* meters, int count, const FrameSettings& settings,
                                 DetectorLevels& levels, CoreDelay& delay) {
    for (int i = 0; i < count; ++i) {
        StereoPair key{};
        if constexpr (kExternal) key = StereoPair{keyLeft[i], keyRight[i]};
        const StereoPair wet = processCore<kFused, kExternal>(StereoPair{left[i], right[i]}, key,
                                                              settings, meters[i], levels, delay);
        wetLeft[i] = wet.left;
        wetRight[i] = wet.right;
    }
    // The core's own delay plus the wet delay line make up the oversampled path's latency.
    wetDelay_.processBlock(wetLeft, wetRight, count);
}

template <int kPart, bool kExternal>
void DynamicsEngine::accumulateFrameSums(HalfbandAccumulators (&sums)[kExternal ? 3 : 2]) const {
    if constexpr (kExternal)
        HalfbandFir::accumulateKeyedSums<1, 0, kPart>(upsampler_, downsampler_, keyUpsampler_,
                                                      sums);
    else
        HalfbandFir::accumulatePairSums<1, 0, kPart>(upsampler_, downsampler_, sums);
}

template <InstructionSet kSet, bool kExternal>
void DynamicsEngine::oversampledFrames(const double* left, const double* right,
                                       const double* keyLeft, const double* keyRight,
                                       double* wetLeft, double* wetRight, FrameMeters* meters,
                                       int count, const FrameSettings& settings,
                                       DetectorLevels& levels, CoreDelay& delay) {
    constexpr bool kFused = kSet != InstructionSet::sse2;
    constexpr int kSums = kExternal ? 3 : 2;
    // The interpolator runs a frame ahead. Its sum for the next frame and the decimator's for
    // this one share their taps; with AVX2 they are taken in two parts, one beside each of the
    // frame's core steps, so the processor works on them while the core's serial feedback chain
    // waits, and no core step waits for a sum. Zero stuffing halves the level; the factor 2
    // restores it. The key's interpolator is pushed and summed with the main one, step for step.
    StereoPair first{left[0] * 2.0, right[0] * 2.0};
    upsampler_.pushCentre<0>(first.left, first.right);
    StereoPair keyFirst{};
    if constexpr (kExternal) {
        keyFirst = StereoPair{keyLeft[0] * 2.0, keyRight[0] * 2.0};
        keyUpsampler_.pushCentre<0>(keyFirst.left, keyFirst.right);
    }
    // The first frame's stuffed zero is summed as the loop sums the others, so that the output
    // does not depend on where the host's blocks begin.
    StereoPair second;
    StereoPair keySecond{};
    if constexpr (kFused) {
        HalfbandAccumulators sums[kSums] = {};
        accumulateFrameSums<0, kExternal>(sums);
        accumulateFrameSums<1, kExternal>(sums);
        double sum[2];
        finishHalfbandSum(sums[0], sum);
        second = StereoPair{sum[0], sum[1]};
        if constexpr (kExternal) {
            finishHalfbandSum(sums[2], sum);
            keySecond = StereoPair{sum[0], sum[1]};
        }
    } else {
        upsampler_.stuffedZero<1>(second.left, second.right);
        if constexpr (kExternal) keyUpsampler_.stuffedZero<1>(keySecond.left, keySecond.right);
    }
    for (int i = 0; i < count; ++i) {
        StereoPair nextFirst{0.0, 0.0};
        [[maybe_unused]] StereoPair nextKeyFirst{0.0, 0.0};
        if (i + 1 < count) {
            nextFirst = StereoPair{left[i + 1] * 2.0, right[i + 1] * 2.0};
            upsampler_.pushCentre<0>(nextFirst.left, nextFirst.right);
            if constexpr (kExternal) {
                nextKeyFirst = StereoPair{keyLeft[i + 1] * 2.0, keyRight[i + 1] * 2.0};
                keyUpsampler_.pushCentre<0>(nextKeyFirst.left, nextKeyFirst.right);
            }
        }
        double nextSecond[2], downSum[2];
        [[maybe_unused]] double nextKeySecond[2];
        [[maybe_unused]] HalfbandAccumulators sums[kSums] = {};
        StereoPair wet =
            processCore<kFused, kExternal>(first, keyFirst, settings, meters[i], levels, delay);
        if constexpr (kFused) accumulateFrameSums<0, kExternal>(sums);
        const StereoPair secondWet =
            processCore<kFused, kExternal>(second, keySecond, settings, meters[i], levels, delay);
        if constexpr (kFused) {
            accumulateFrameSums<1, kExternal>(sums);
            finishHalfbandSum(sums[0], nextSecond);
            finishHalfbandSum(sums[1], downSum);
            if constexpr (kExternal) finishHalfbandSum(sums[2], nextKeySecond);
        } else {
            HalfbandFir::pairSums<1, 0>(upsampler_, downsampler_, nextSecond, downSum);
            if constexpr (kExternal)
                keyUpsampler_.stuffedZero<1>(nextKeySecond[0], nextKeySecond[1]);
        }
        downsampler_.pushFull<0>(wet.left, wet.right, downSum);
        downsampler_.pushOnly<1>(secondWet.left, secondWet.right);
        first = nextFirst;
        second = StereoPair{nextSecond[0], nextSecond[1]};
        if constexpr (kExternal) {
            keyFirst = nextKeyFirst;
            keySecond = StereoPair{nextKeySecond[0], nextKeySecond[1]};
        }
        wetLeft[i] = wet.left;
        wetRight[i] = wet.right;
    }
}

template <InstructionSet kSet, bool kExternal>
void DynamicsEngine::frames(bool oversampled, double* left, double* right,
                            [[maybe_unused]] KeyFrames key, FrameMeters* meters, int count) {
    DetectorLevels levels = feedback_.levelDetector.levels();
    const FrameSettings settings = beginFrame(levels);
    if constexpr (kExternal) {
        const unsigned generation = curveSettingsGeneration_.load(std::memory_order_acquire);
        if (generation != keyCurveGeneration_) {
            keyCurveGeneration_ = generation;
            keyCurve_ = latestKeyCurve();
        }
    }
    CoreDelay delay = coreDelay_;
    // The dry path's delay runs a stretch at a time, ahead of the frames, and the mix after
    // them: the frame loops hold only what feeds the wet signal.
    constexpr int kStretch = 64;
    double dryLeft[kStretch], dryRight[kStretch], outputNoise[kStretch];
    double wetLeft[kStretch], wetRight[kStretch];
    double keyLeft[kStretch], keyRight[kStretch];
    for (int start = 0; start < count; start += kStretch) {
        const int stretch = count - start < kStretch ? count - start : kStretch;
        double* l = left + start;
        double* r = right + start;
        FrameMeters* m = meters + start;
        for (int i = 0; i < stretch; ++i) {
            dryLeft[i] = l[i];
            dryRight[i] = r[i];
        }
        dryDelay_.processBlock(dryLeft, dryRight, stretch);
        if constexpr (kExternal) {
            // The key takes the main signal's input noise, frame for frame: a silent key then
            // meets the sidechain filter's recursions as a silent main signal does, never in the
            // denormal range.
            for (int i = 0; i < stretch; ++i) {
                keyLeft[i] = key.left != nullptr ? key.left[start + i] : 0.0;
                keyRight[i] = key.right != nullptr ? key.right[start + i] : 0.0;
            }
            const int noisePosition = inputNoisePosition_;
            addInputNoise(keyLeft, keyRight, stretch);
            inputNoisePosition_ = noisePosition;
        }
        addInputNoise(l, r, stretch);
        takeOutputNoise(outputNoise, stretch);
        if (oversampled)
            oversampledFrames<kSet, kExternal>(l, r, keyLeft, keyRight, wetLeft, wetRight, m,
                                               stretch, settings, levels, delay);
        else
            plainFrames<kSet != InstructionSet::sse2, kExternal>(
                l, r, keyLeft, keyRight, wetLeft, wetRight, m, stretch, settings, levels, delay);
        for (int i = 0; i < stretch; ++i) {
            const StereoPair out =
                mix(StereoPair{dryLeft[i], dryRight[i]}, StereoPair{wetLeft[i], wetRight[i]},
                    outputNoise[i], settings);
            l[i] = out.left;
            r[i] = out.right;
        }
    }
    coreDelay_ = delay;
}

void DynamicsEngine::processFrames(bool oversampled, double* left, double* right,
                                   FrameMeters* meters, int count) {
    processFrames(oversampled, left, right, KeyFrames{}, meters, count);
}

void DynamicsEngine::processFrames(bool oversampled, double* left, double* right, KeyFrames key,
                                   FrameMeters* meters, int count) {
    const bool external = scSource() == ScSource::external;
    const bool turnedExternal = external && !keyHeard_;
    keyHeard_ = external;
    if (!external) return frameLoop_(*this, oversampled, left, right, meters, count);
    // The key's interpolator holds what it heard when the source was last external; it starts
    // again from silence, as after a reset.
    if (turnedExternal) keyUpsampler_.clear();
    keyedFrameLoop_(*this, oversampled, left, right, key, meters, count);
}

void DynamicsEngine::processFrame(double& left, double& right, double& gain, double& levelA,
                                  double& levelB) {
    FrameMeters meters;
    processFrames(false, &left, &right, &meters, 1);
    gain = meters.gain;
    levelA = meters.levelA;
    levelB = meters.levelB;
}

void DynamicsEngine::processFrameOversampled(double& left, double& right, double& gain,
                                             double& levelA, double& levelB) {
    FrameMeters meters;
    processFrames(true, &left, &right, &meters, 1);
    gain = meters.gain;
    levelA = meters.levelA;
    levelB = meters.levelB;
}
