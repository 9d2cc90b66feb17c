#include "InstructionSet.h"

InstructionSet bestInstructionSet() {
    static const InstructionSet best = [] {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_cpu_init();
        if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
            return InstructionSet::sse2;
        if (!__builtin_cpu_supports("avx512f")) return InstructionSet::avx2Fma;
        return InstructionSet::avx512;
#endif
        return InstructionSet::sse2;
    }();
    return best;
}

// The sets nest: AVX-512 is only chosen on top of AVX2 and FMA, which its code also uses.
bool isSupported(InstructionSet set) {
    return static_cast<int>(set) <= static_cast<int>(bestInstructionSet());
}
