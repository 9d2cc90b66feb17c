#pragma once

#include <memory>

// Two-channel circular delay of a fixed length. The buffers are allocated once with the
// capacity; the delay in samples equals the length.
class StereoDelayLine {
  public:
    // A capacity below 1 is raised to 1 so the buffers always hold the read position.
    explicit StereoDelayLine(int capacity)
        : capacity_(capacity < 1 ? 1 : capacity), length_(capacity_),
          bufferA_(new double[capacity_]()), bufferB_(new double[capacity_]()) {}

    int capacity() const { return capacity_; }
    int length() const { return length_; }

    // Lengths outside 1..capacity are clamped, so the read position never leaves the buffers.
    void setLength(int length) {
        length_ = length < 1 ? 1 : (length > capacity_ ? capacity_ : length);
        if (position_ >= length_) position_ = 0;
    }

    void clear() {
        for (int i = 0; i < capacity_; ++i)
            bufferA_[i] = bufferB_[i] = 0.0;
        position_ = 0;
    }

    // Stores the pair (a, b) and replaces it by the pair stored `length` steps earlier.
    void process(double& a, double& b) {
        const double delayedA = bufferA_[position_];
        const double delayedB = bufferB_[position_];
        bufferA_[position_] = a;
        bufferB_[position_] = b;
        if (++position_ == length_) position_ = 0;
        a = delayedA;
        b = delayedB;
    }

    // The same as process on each pair of a[0..count) and b[0..count) in turn. Between wraps the
    // read and write positions run contiguously, so each stretch is a plain exchange of arrays
    // that the compiler turns into vector loads and stores.
    void processBlock(double* a, double* b, int count) {
        while (count > 0) {
            const int stretch = count < length_ - position_ ? count : length_ - position_;
            double* bufferA = bufferA_.get() + position_;
            double* bufferB = bufferB_.get() + position_;
            for (int i = 0; i < stretch; ++i) {
                const double delayedA = bufferA[i];
                const double delayedB = bufferB[i];
                bufferA[i] = a[i];
                bufferB[i] = b[i];
                a[i] = delayedA;
                b[i] = delayedB;
            }
            position_ += stretch;
            if (position_ == length_) position_ = 0;
            a += stretch;
            b += stretch;
            count -= stretch;
        }
    }

    // The same with the delayed pairs written to outA and outB, which must not overlap the
    // inputs: the inputs stay as they are.
    void delayBlock(const double* inA, const double* inB, double* outA, double* outB, int count) {
        forEachStretch(count, [&](double* bufferA, double* bufferB, int done, int stretch) {
            for (int i = 0; i < stretch; ++i) {
                outA[done + i] = bufferA[i];
                outB[done + i] = bufferB[i];
                bufferA[i] = inA[done + i];
                bufferB[i] = inB[done + i];
            }
        });
    }

    // Stores count pairs as processBlock would, for when nobody listens to what they replace.
    void pushBlock(const double* a, const double* b, int count) {
        forEachStretch(count, [&](double* bufferA, double* bufferB, int done, int stretch) {
            for (int i = 0; i < stretch; ++i) {
                bufferA[i] = a[done + i];
                bufferB[i] = b[done + i];
            }
        });
    }

  private:
    // Calls stretchWork(bufferA, bufferB, done, stretch) for the runs of count steps between wraps,
    // the buffers at the position of the run's first step and done the steps before it.
    template <typename StretchWork> void forEachStretch(int count, StretchWork stretchWork) {
        for (int done = 0; done < count;) {
            const int left = length_ - position_;
            const int stretch = count - done < left ? count - done : left;
            stretchWork(bufferA_.get() + position_, bufferB_.get() + position_, done, stretch);
            position_ += stretch;
            if (position_ == length_) position_ = 0;
            done += stretch;
        }
    }

    int capacity_;
    int length_;
    std::unique_ptr<double[]> bufferA_;
    std::unique_ptr<double[]> bufferB_;
    int position_ = 0;
};
