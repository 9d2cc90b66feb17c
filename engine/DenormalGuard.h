#pragma once

#if defined(__SSE2__) || defined(__x86_64__)
#define QVL_HAS_MXCSR 1
#include <xmmintrin.h>
#endif

// Switches flush-to-zero (0x8000) and denormals-are-zero (0x0040) on for its scope and restores
// the caller's control word afterwards: the host's own mode must survive our block. Elsewhere
// than x86 it does nothing.
class DenormalGuard {
  public:
#ifdef QVL_HAS_MXCSR
    static constexpr unsigned kFlushBits = 0x8040u;
    DenormalGuard() : saved_(_mm_getcsr()) {
        _mm_setcsr(saved_ | kFlushBits);
    }
    ~DenormalGuard() {
        _mm_setcsr(saved_);
    }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

  private:
#ifdef QVL_HAS_MXCSR
    unsigned saved_;
#endif
};
