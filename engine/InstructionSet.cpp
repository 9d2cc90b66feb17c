#include "engine/InstructionSet.h"

#include <cstdlib>
#include <cstring>

namespace {

InstructionSet widestSupported() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        return InstructionSet::sse2;
    if (!__builtin_cpu_supports("avx512f")) return InstructionSet::avx2Fma;
    return InstructionSet::avx512;
#endif
    return InstructionSet::sse2;
}

// The cap named by kInstructionSetVariable; the widest set where it names none.
InstructionSet capFromEnvironment() {
    const char* name = std::getenv(kInstructionSetVariable);
    if (name == nullptr) return InstructionSet::avx512;
    if (std::strcmp(name, "sse2") == 0) return InstructionSet::sse2;
    if (std::strcmp(name, "avx2") == 0) return InstructionSet::avx2Fma;
    return InstructionSet::avx512;
}

} // namespace

InstructionSet bestInstructionSet() {
    static const InstructionSet best = [] {
        const InstructionSet widest = widestSupported();
        const InstructionSet cap = capFromEnvironment();
        return static_cast<int>(cap) < static_cast<int>(widest) ? cap : widest;
    }();
    return best;
}

// The sets nest: AVX-512 is only chosen on top of AVX2 and FMA, which its code also uses.
bool isSupported(InstructionSet set) {
    return static_cast<int>(set) <= static_cast<int>(bestInstructionSet());
}
