#pragma once

#include "engine/HalfbandKernels.h"
#include "engine/HalfbandSums.h"

#include <array>
#include <cstring>

constexpr int kHalfbandTaps = 304;
constexpr int kHalfbandCentre = 150;

// Kaiser-windowed (beta 3 pi) halfband sinc over slots 0..300, normalized to unity DC gain;
// slots 301..303 are zero. Only the centre and the odd slots are non-zero.
std::array<double, kHalfbandTaps> makeHalfbandTaps();

// Two-channel halfband FIR for 2x interpolation and decimation, pairs pushed one at a time.
// Only the centre and the odd taps are non-zero, so an output needs the pair pushed 150 pushes
// ago and the pairs pushed an odd number of pushes ago. The history is therefore kept in two
// halves by push parity: the odd taps then read 152 consecutive pairs of the other half, and
// each half stores its pairs twice, 152 apart, so that run never wraps. Positions count down.
//
// Every push names its parity, kParity (0 or 1), counted in pushes since the last clear: the
// caller knows it (the oversampled frame pushes each filter twice, even then odd), and so the
// half is found without a lookup. Pushes must alternate in parity.
class HalfbandFir {
  public:
    // The kernels are those of the instruction set, which the processor must support.
    explicit HalfbandFir(const std::array<double, kHalfbandTaps>& taps,
                         InstructionSet set = bestInstructionSet());

    void clear();

    // Push a pair and replace it by the full output (centre plus odd taps).
    template <int kParity> void pushFull(double& left, double& right) {
        push<kParity>(left, right);
        double sum[2];
        kernel_(oddTaps_.data(), oddRun<kParity>(), sum);
        finishFull<kParity>(left, right, sum);
    }

    // The sums one host sample needs from two filters with the same taps, a interpolating and b
    // decimating. a's sum is for a stuffed zero of parity kParityA, whose output is the odd taps'
    // sum alone: a's pushes of that parity are all such zeros, so that half of its history stays
    // as cleared and is neither written nor advanced. b's sum is for its next push, of parity
    // kParityB (pushFull with the sum).
    //
    // The sums in two parts, kPart 0 and then 1, into acc[0] for a and acc[1] for b, inlined: the
    // parts can sit beside different core steps. Between them each sum's accumulators are folded
    // into one, so they hold one register each while the frame loop goes on. Only for code
    // compiled with AVX2 and fused multiply-add.
    template <int kParityA, int kParityB, int kPart>
    [[gnu::always_inline]] static void
    accumulatePairSums(const HalfbandFir& a, const HalfbandFir& b, HalfbandAccumulators (&acc)[2]) {
        const double* const runs[2] = {a.oddRun<kParityA>(), b.oddRun<kParityB>()};
        accumulatePart<kPart>(a.oddTaps_.data(), runs, acc);
    }
    // The same with a third sum, into acc[2], for key, a second interpolator pushed as a is:
    // all three share each tap load.
    template <int kParityA, int kParityB, int kPart>
    [[gnu::always_inline]] static void
    accumulateKeyedSums(const HalfbandFir& a, const HalfbandFir& b, const HalfbandFir& key,
                        HalfbandAccumulators (&acc)[3]) {
        const double* const runs[3] = {a.oddRun<kParityA>(), b.oddRun<kParityB>(),
                                       key.oddRun<kParityA>()};
        accumulatePart<kPart>(a.oddTaps_.data(), runs, acc);
    }
    // The whole sums, by the filters' kernels.
    template <int kParityA, int kParityB>
    static void pairSums(const HalfbandFir& a, const HalfbandFir& b, double sumA[2],
                         double sumB[2]) {
        a.kernel_(a.oddTaps_.data(), a.oddRun<kParityA>(), sumA);
        b.kernel_(b.oddTaps_.data(), b.oddRun<kParityB>(), sumB);
    }

    // A stuffed zero of parity kParity, replaced by its output: the odd taps' sum.
    template <int kParity> void stuffedZero(double& left, double& right) const {
        double sum[2];
        kernel_(oddTaps_.data(), oddRun<kParity>(), sum);
        left = sum[0];
        right = sum[1];
    }

    // Push a pair and replace it by the full output, its odd taps' sum taken before the push.
    template <int kParity>
    [[gnu::always_inline]] void pushFull(double& left, double& right, const double sum[2]) {
        push<kParity>(left, right);
        finishFull<kParity>(left, right, sum);
    }

    // Push a pair and replace it by the centre product alone; the odd taps only ever meet the
    // zeros that interpolation stuffs in between.
    template <int kParity> void pushCentre(double& left, double& right) {
        push<kParity>(left, right);
        const double* centre = centrePair<kParity>();
        left = centreTap_ * centre[0];
        right = centreTap_ * centre[1];
        advance<kParity>();
    }

    // Push a pair whose output the decimator drops.
    template <int kParity> void pushOnly(double left, double right) {
        push<kParity>(left, right);
        advance<kParity>();
    }

  private:
    static constexpr int kHalfLength = kHalfbandTaps / 2; // pairs per parity

    template <int kPart, int kSums>
    [[gnu::always_inline]] static void accumulatePart(const double* oddTaps,
                                                      const double* const (&runs)[kSums],
                                                      HalfbandAccumulators (&acc)[kSums]) {
        static_assert(kPart == 0 || kPart == 1, "two parts");
        constexpr int kFirstPart = kHalfbandTapVectors / 2;
        if constexpr (kPart == 0) {
            accumulateHalfbandSums<kSums, 0, kFirstPart>(oddTaps, runs, acc);
            for (HalfbandAccumulators& sum : acc)
                foldHalfbandAccumulators(sum);
        } else {
            accumulateHalfbandSums<kSums, kFirstPart, kHalfbandTapVectors>(oddTaps, runs, acc);
        }
    }

    // Each pair is stored twice, kHalfLength apart, in pairs, and the same again one pair further
    // on in shifted: of the two copies of a run, one starts on a 32-byte boundary, so no
    // four-lane load of the sums straddles two cache lines, which would cost it twice.
    struct Half {
        alignas(32) std::array<double, 4 * kHalfLength> pairs{};
        alignas(32) std::array<double, 4 * kHalfLength + 2> shifted{};
        int position = 0;
    };

    template <int kParity> void push(double left, double right) {
        Half& half = halves_[kParity];
        const Lanes pair{left, right};
        for (double* slot : {half.pairs.data() + 2 * half.position,
                             half.shifted.data() + 2 * (half.position + 1)}) {
            std::memcpy(slot, &pair, sizeof pair);
            std::memcpy(slot + 2 * kHalfLength, &pair, sizeof pair);
        }
    }

    // The pairs pushed an odd number of pushes ago, most recent first: the other half's run, from
    // the copy where it starts on a 32-byte boundary.
    template <int kParity> const double* oddRun() const {
        const Half& other = halves_[1 - kParity];
        const int start = other.position + 1;
        return (start & 1) ? other.shifted.data() + 2 * (start + 1)
                           : other.pairs.data() + 2 * start;
    }

    template <int kParity> void finishFull(double& left, double& right, const double sum[2]) {
        const double* centre = centrePair<kParity>();
        left = centreTap_ * centre[0] + sum[0];
        right = centreTap_ * centre[1] + sum[1];
        advance<kParity>();
    }

    // The pair pushed 150 pushes ago: 75 pushes ago in the current half.
    template <int kParity> const double* centrePair() const {
        const Half& half = halves_[kParity];
        return half.pairs.data() + 2 * (half.position + kHalfbandCentre / 2);
    }

    template <int kParity> void advance() {
        Half& half = halves_[kParity];
        if (--half.position < 0) half.position += kHalfLength;
    }

    double centreTap_;
    HalfbandKernel kernel_;
    alignas(64) std::array<double, 2 * kHalfbandOddTaps> oddTaps_{}; // c1, c1, c3, c3, ...
    Half halves_[2];
};
