#pragma once

// a > b ? b : a, taken by a branch. Where the outcome seldom changes, the processor predicts the
// branch and goes on without waiting for the comparison, which a minimum instruction always
// waits for: on the feedback loop's serial chain that wait is the comparison's whole latency.
[[gnu::always_inline]] inline double lowerByBranch(double a, double b) {
    if (a > b) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        // An empty statement the compiler cannot see through keeps it from turning the branch
        // back into a minimum instruction.
        asm("" : "+x"(b));
#endif
        return b;
    }
    return a;
}
