#include "engine/InstructionSet.h"

#include <cstdlib>
#include <cstring>

namespace {

InstructionSet widestSupported() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return InstructionSet::avx2Fma;
#endif
    return InstructionSet::sse2;
}

// The cap named by kInstructionSetVariable; the widest set where it names none.
InstructionSet capFromEnvironment() {
    const char* name = std::getenv(kInstructionSetVariable);
    if (name != nullptr && std::strcmp(name, "sse2") == 0) return InstructionSet::sse2;
    return InstructionSet::avx2Fma;
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

// The sets nest: AVX2 and FMA code runs where the plain code does.
bool isSupported(InstructionSet set) {
    return static_cast<int>(set) <= static_cast<int>(bestInstructionSet());
}
