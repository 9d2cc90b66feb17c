#pragma once

#include "engine/FeedbackLoop.h"
#include "engine/HalfbandFir.h"
#include "engine/HarmonicsBands.h"
#include "engine/InstructionSet.h"
#include "engine/NoiseTables.h"
#include "engine/StereoDelayLine.h"

#include <array>
#include <atomic>
#include <memory>

// Below this host rate the core runs twice per host sample, behind halfband filters.
constexpr double kOversamplingBelowHz = 70000.0;

// Rate the core and every filter design run at.
inline double internalRateHz(double hostRateHz) {
    return hostRateHz < kOversamplingBelowHz ? 2.0 * hostRateHz : hostRateHz;
}

// The delay of every path through the engine, in host samples, at every rate: the halfband
// filters' delay, matched by the dry path and, at the plain rate, by the wet path.
constexpr int kEngineLatencySamples = 151;

// What the detector listens to: the compressor's own output (feedback detection), or a key
// signal from elsewhere, which the gain does not touch (feed-forward).
enum class ScSource : int { internal = 0, external = 1 };

// The compressor's signal path: feedback detection after a mid/side sidechain filter (or, with the
// external source, feed-forward detection of a key signal), one linked gain, harmonics, 2x
// oversampling below 70 kHz, dry alignment and the output mix.
//
// Threads: the setters may run on any thread while one audio thread runs the frames. Every
// setting is a relaxed atomic. Settings that need a redesign (rate, sidechain filter, detection,
// times, harmonics) only bump a generation counter; the audio thread notices the change at the
// start of its next processFrames call and designs the coefficients into its own filters itself.
// The audio thread therefore never sees a half-written coefficient set, concurrent setters on
// several threads cannot leave a stale design behind (the last generation always triggers a full
// redesign from the latest values), and the setters stay wait-free. A redesign costs a handful
// of sin/cos/pow calls on the audio thread, once per change. `reset` is handed over the same way.
class DynamicsEngine {
  public:
    // The per-sample code runs compiled for the instruction set, or for the best one this
    // processor has if it does not support the set asked for.
    explicit DynamicsEngine(InstructionSet set = bestInstructionSet());

    DynamicsEngine(const DynamicsEngine&) = delete;
    DynamicsEngine& operator=(const DynamicsEngine&) = delete;

    // Host rate in Hz; non-finite values are ignored, rates below 8000 Hz are raised to it so the
    // 5 kHz harmonics band stays below the internal Nyquist frequency.
    void setSampleRate(double sampleRateHz);
    // Clears the signal state (not settings, coefficients or output-noise positions) before the
    // next frame.
    void reset();

    // One host sample, kEngineLatencySamples late. processFrame is for host rates of 70000 Hz and
    // above, processFrameOversampled below. The inputs must be finite: the block loop, where the
    // host's samples enter, turns anything else into silence.
    void processFrame(double& left, double& right, double& gain, double& levelA, double& levelB);
    void processFrameOversampled(double& left, double& right, double& gain, double& levelA,
                                 double& levelB);

    // The meter values of one frame: linear gain factor, detector levels A and B in dB.
    struct FrameMeters {
        double gain;
        double levelA;
        double levelB;
    };
    // The key the detector hears with an external source, count frames beside the main signal;
    // finite, as the main signal must be. A null channel is silence, and so is KeyFrames{}.
    struct KeyFrames {
        const double* left;
        const double* right;
    };
    // count frames of one kind in place, the same as count calls of that frame, with each
    // frame's meter values in meters[i]; the block loop's way in. Settings, the source, a
    // redesign and a reset are taken up once, before the first frame. The loop over the frames
    // is the unit that is compiled once per instruction set and source, chosen by one call per
    // chunk rather than per sample. With the internal source the key is not read; without a key
    // the external source hears silence.
    void processFrames(bool oversampled, double* left, double* right, FrameMeters* meters,
                       int count);
    void processFrames(bool oversampled, double* left, double* right, KeyFrames key,
                       FrameMeters* meters, int count);

    InstructionSet instructionSet() const { return instructionSet_; }

    // Setters; a non-finite argument leaves the setting unchanged.
    void setDetection(double detectionMs);    // 0 Peak, 0.1..60 RMS time, exactly 600 Dyn RMS
    void setScFilterType(ScFilterType type);  // a type outside the enumeration is ignored
    void setScFilterFreq(double frequencyHz); // limited to kScFilterLowestHz..kScFilterHighestHz
    void setThreshold(double thresholdDb);
    void setKnee(double kneeDb);
    void setRatio(double slope); // gain-computer slope: 1 = 1:1, 0 = 2:1, -4 = 6:1
    void setAttack(double attackMs);
    void setRelease(double releaseMs);
    void setReleaseSlow(double releaseSlowMs);
    void setMixDry(double dryGainLinear);
    void setMakeUpGain(double makeUpGainLinear);
    void setHfHarmonics(bool on);
    void setLfHarmonics(bool on);
    void setHfHarmonicsAmount(double amount);
    void setLfHarmonicsAmount(double amount);
    void setDelta(bool on);
    void setScPreview(bool on);
    void setScSource(ScSource source); // a source outside the enumeration is ignored
    ScSource scSource() const {
        return static_cast<ScSource>(scSource_.load(std::memory_order_relaxed));
    }

    // The settings as the setters last stored them, for inspection.
    struct Settings {
        double sampleRateHz, detectionMs, scFrequencyHz, thresholdDb, kneeDb, slope;
        double attackMs, releaseMs, releaseSlowMs, makeUpGain, dryGain;
        double lfOn, hfOn, lfAmount, hfAmount;
        int scFilterType;
        bool deltaOn, scPreviewOn;
        ScSource scSource;
    };
    Settings settings() const;
    // A new feedback loop designed for the settings as they stand, with cleared states: the
    // engine's serial chain on its own, for measuring it.
    FeedbackLoop designedFeedbackLoop() const;

    // Read-only views of the fixed tables, identical in every engine.
    const double* inputNoise() const { return inputNoise_.data(); }
    const double* outputNoiseA() const { return outputNoiseA_.get(); }
    const double* outputNoiseB() const { return outputNoiseB_.get(); }
    const std::array<double, kHalfbandTaps>& halfbandTaps() const { return halfbandTaps_; }

  private:
    struct StereoPair {
        double left;
        double right;
    };
    using CoreMeters = FrameMeters;
    // The core's inputs of the last two steps (left, right) and the last gain: the frame loop
    // carries them in a local, so they stay in registers rather than going through memory.
    struct CoreDelay {
        Lanes inputOneAgo{};
        Lanes inputTwoAgo{};
        double previousGain = 0.0;
    };
    // Settings the frames read directly, loaded once per processFrames call: a change lands
    // at the next call (the block loop's next chunk) rather than at the next frame.
    struct FrameSettings {
        double makeUpGain;
        double dryGain;
        bool deltaOn;
        bool scPreviewOn;
    };

    void store(std::atomic<double>& setting, double value);
    void storeAndRedesign(std::atomic<double>& setting, double value);
    void requestRedesign() { designGeneration_.fetch_add(1, std::memory_order_release); }
    void storeCurveSetting(std::atomic<double>& setting, double value);
    GainCurve latestCurve() const;
    GainCurve latestKeyCurve() const;

    // Inlined into the frame loop: the settings then stay in registers instead of a returned copy;
    // the rare redesign and reset stay out of line. After a reset, levels holds the cleared
    // detector's levels.
    [[gnu::always_inline]] inline FrameSettings beginFrame(DetectorLevels& levels);
    static void designFeedbackLoop(FeedbackLoop& loop, const Settings& s);
    void redesign();
    void clearSignalState();
    // Adds the input noise to count frames' inputs in place, each frame the next table entry.
    void addInputNoise(double* left, double* right, int count);
    // The output noise of the next count frames, in order.
    void takeOutputNoise(double* noise, int count);

    // Work on values rather than references so the compiler may keep the state in registers, and
    // are inlined into the frames so the core's chain and the filter sums schedule together and the
    // pairs pass in registers, not through the stack. kFused: compiled for a processor with fused
    // multiply-add, which the feedback chain then uses. kExternal: the detector hears the key, at
    // the same core step as the main signal's own sample; else the key is not read.
    template <bool kFused, bool kExternal>
    [[gnu::always_inline]] inline StereoPair
    processCore(StereoPair in, StereoPair key, const FrameSettings& settings, CoreMeters& meters,
                DetectorLevels& levels, CoreDelay& delay);
    // A stretch of frames at the plain and at the oversampled rate: the wet signal from the input
    // with the input noise added, delayed as the dry path is.
    template <bool kFused, bool kExternal>
    [[gnu::always_inline]] inline void
    plainFrames(const double* left, const double* right, const double* keyLeft,
                const double* keyRight, double* wetLeft, double* wetRight, FrameMeters* meters,
                int count, const FrameSettings& settings, DetectorLevels& levels, CoreDelay& delay);
    template <InstructionSet kSet, bool kExternal>
    [[gnu::always_inline]] inline void
    oversampledFrames(const double* left, const double* right, const double* keyLeft,
                      const double* keyRight, double* wetLeft, double* wetRight,
                      FrameMeters* meters, int count, const FrameSettings& settings,
                      DetectorLevels& levels, CoreDelay& delay);
    // The halfband sums of one oversampled frame, in two parts (kPart 0, then 1): the
    // interpolator's for the next frame into sums[0], the decimator's into sums[1] and, with a
    // key, the key interpolator's into sums[2].
    template <int kPart, bool kExternal>
    [[gnu::always_inline]] inline void
        accumulateFrameSums(HalfbandAccumulators (&sums)[kExternal ? 3 : 2]) const;
    // kSet: the instruction set the caller is compiled for.
    template <InstructionSet kSet, bool kExternal>
    [[gnu::always_inline]] inline void frames(bool oversampled, double* left, double* right,
                                              KeyFrames key, FrameMeters* meters, int count);
    // The frame loops compiled for each instruction set, one per source.
    struct FrameLoops;
    using FrameLoop = void (*)(DynamicsEngine& engine, bool oversampled, double* left,
                               double* right, FrameMeters* meters, int count);
    using KeyedFrameLoop = void (*)(DynamicsEngine& engine, bool oversampled, double* left,
                                    double* right, KeyFrames key, FrameMeters* meters, int count);
    [[gnu::always_inline]] inline StereoPair mix(StereoPair dry, StereoPair wet, double o,
                                                 const FrameSettings& settings);

    InstructionSet instructionSet_;
    FrameLoop frameLoop_;

    // Audio-thread state.
    FeedbackLoop feedback_;
    HarmonicsBands harmonicsBands_;
    // The core delays by this much at the plain rate; the wet line makes up the rest.
    static constexpr int kCoreDelaySamples = 2;
    StereoDelayLine dryDelay_{kEngineLatencySamples};
    StereoDelayLine wetDelay_{kEngineLatencySamples - kCoreDelaySamples};
    std::array<double, kHalfbandTaps> halfbandTaps_;
    HalfbandFir upsampler_;
    HalfbandFir downsampler_;
    CoreDelay coreDelay_;
    double lfDrive_ = 0.0;
    double hfDrive_ = 0.0;
    unsigned designedGeneration_ = 0;
    // The static curve, worked out again only when one of its settings changes.
    GainCurve curve_;
    unsigned curveGeneration_ = 0;
    std::array<double, kSmallNoiseSize> inputNoise_{};
    int inputNoisePosition_ = 0;
    std::unique_ptr<double[]> outputNoiseA_;
    std::unique_ptr<double[]> outputNoiseB_;
    int outputNoisePositionA_ = 0;
    int outputNoisePositionB_ = 0;

    // Settings, written by any thread.
    std::atomic<double> sampleRateHz_{44100.0};
    std::atomic<double> detectionMs_{0.0};
    std::atomic<int> scFilterType_{0};
    std::atomic<double> scFrequencyHz_{30.0};
    std::atomic<double> attackMs_{50.0};
    std::atomic<double> releaseMs_{50.0};
    std::atomic<double> releaseSlowMs_{50.0};
    std::atomic<double> lfOn_{0.0};
    std::atomic<double> hfOn_{0.0};
    std::atomic<double> lfAmount_{0.0};
    std::atomic<double> hfAmount_{0.0};
    std::atomic<double> thresholdDb_{10.0};
    std::atomic<double> kneeDb_{0.0};
    std::atomic<double> slope_{1.0};
    std::atomic<double> makeUpGain_{1.0};
    std::atomic<double> dryGain_{1.0};
    std::atomic<bool> deltaOn_{false};
    std::atomic<bool> scPreviewOn_{false};
    std::atomic<unsigned> designGeneration_{0};
    std::atomic<unsigned> curveSettingsGeneration_{0};
    std::atomic<bool> resetPending_{false};

    // The external source's state, after all the rest: the internal source's frame loops, which
    // never touch it, then address every field they use as they are tuned to.
    std::atomic<int> scSource_{static_cast<int>(ScSource::internal)};
    KeyedFrameLoop keyedFrameLoop_;
    // The key's own interpolator, pushed as the upsampler is, so the key reaches the core at the
    // same step as the main signal. It runs only while the source is external and starts from
    // silence whenever the source turns external.
    HalfbandFir keyUpsampler_;
    bool keyHeard_ = false; // audio thread: whether the last processFrames call was external
    // The static curve the key is heard through, worked out again when one of its settings
    // changes (see keyedSlope in the source).
    GainCurve keyCurve_;
    unsigned keyCurveGeneration_ = 0;
};
