#pragma once

// Two doubles in one register: the left and right (or side and mid) channels go through the
// same operations lane by lane, so each lane's result is bit for bit what the one-channel code
// gives, for about half the instructions. A GCC/Clang vector type; SSE2 on x86.
using Lanes = double __attribute__((vector_size(16)));

// Four doubles: two stereo signals side by side, for the code compiled for AVX2 and up one
// register and one instruction, and two of each for plain SSE2.
using WideLanes = double __attribute__((vector_size(32)));
