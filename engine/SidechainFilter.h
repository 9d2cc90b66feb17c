#pragma once

#include "engine/OnePoleHighPass.h"
#include "engine/StereoBiquad.h"

// Sidechain filter types, in the order of the selector.
enum class ScFilterType : int { off = 0, threePerOctave = 1, sixPerOctave = 2 };

// The corner frequencies the filter is designed for.
constexpr double kScFilterLowestHz = 30.0;
constexpr double kScFilterHighestHz = 300.0;

// Mid/side filter in front of the level detector. Shelf channel 0 carries the side signal,
// channel 1 the mid signal.
struct SidechainFilter {
    OnePoleHighPass sideHighPass;
    OnePoleHighPass midHighPass;
    StereoBiquad shelf1; // low shelf at 0.2 x frequency
    StereoBiquad shelf2; // low shelf at 0.5 x frequency
    ScFilterType type = ScFilterType::off;

    // Redesigns coefficients only; filter states carry on.
    void design(ScFilterType newType, double frequencyHz, double internalRateHz);
    void clear();

    // The part of each section's next output that waits for no input, for the sections the
    // type runs.
    struct Recursion {
        Lanes shelf1;
        Lanes shelf2;
        double sideHighPass;
        double midHighPass;
    };
    template <bool kFused = false> Recursion recursion() const {
        if (type == ScFilterType::threePerOctave)
            return Recursion{shelf1.recursivePart<kFused>(), shelf2.recursivePart<kFused>(),
                             sideHighPass.recursivePart(), 0.0};
        return Recursion{Lanes{}, Lanes{}, sideHighPass.recursivePart(),
                         midHighPass.recursivePart()};
    }

    // Filters side and mid in place. The detector path puts the 50 Hz side high-pass after the
    // shelves of the 3 dB/oct type; the preview path leaves it out. kFused as for multiplyAdd.
    template <bool kFused = false>
    [[gnu::always_inline]] void process(double& side, double& mid, bool sideHighPassAfterShelves) {
        process<kFused>(side, mid, sideHighPassAfterShelves, recursion<kFused>());
    }

    // The same with the recursion worked out already.
    template <bool kFused = false>
    [[gnu::always_inline]] void process(double& side, double& mid, bool sideHighPassAfterShelves,
                                        const Recursion& r) {
        if (type == ScFilterType::threePerOctave) {
            // Side in lane 0 and mid in lane 1 of one step: the same operations lane by lane as
            // channel by channel, and whole-register state instead of half-register writes that
            // the next step's read would have to wait for.
            const Lanes shelved =
                shelf2.step<kFused>(shelf1.step<kFused>(Lanes{side, mid}, r.shelf1), r.shelf2);
            side = shelved[0];
            mid = shelved[1];
            if (sideHighPassAfterShelves) side = sideHighPass.step<kFused>(side, r.sideHighPass);
        } else {
            side = sideHighPass.step<kFused>(side, r.sideHighPass);
            mid = midHighPass.step<kFused>(mid, r.midHighPass);
        }
    }

    // What the detector path's next step gives for the input gain times (side, mid), lane by
    // lane: gain slope + offset. Each section's output is b0 times its input plus a recursive
    // part that is known before the input, so the chained sections come to one multiply-add
    // with the product of their b0: the gain, which arrives last, waits for nothing else here.
    // process() with the same recursion then steps the states.
    struct GainResponse {
        Lanes slope;
        Lanes offset;
    };
    template <bool kFused = false>
    [[gnu::always_inline]] GainResponse detectorResponse(Lanes input, const Recursion& r) const {
        if (type == ScFilterType::threePerOctave) {
            const Lanes shelvedSlope = (shelf1.b0 * shelf2.b0) * input;
            const Lanes shelvedOffset = multiplyAdd<kFused>(shelf2.b0, r.shelf1, r.shelf2);
            return GainResponse{
                Lanes{sideHighPass.b0 * shelvedSlope[0], shelvedSlope[1]},
                Lanes{multiplyAdd<kFused>(sideHighPass.b0, shelvedOffset[0], r.sideHighPass),
                      shelvedOffset[1]}};
        }
        return GainResponse{Lanes{sideHighPass.b0, midHighPass.b0} * input,
                            Lanes{r.sideHighPass, r.midHighPass}};
    }
};
