#pragma once

// Two doubles in one register: the left and right (or side and mid) channels go through the
// same operations lane by lane, so each lane's result is bit for bit what the one-channel code
// gives, for about half the instructions. A GCC/Clang vector type; SSE2 on x86.
using Lanes = double __attribute__((vector_size(16)));
