#pragma once

#include "LoadedEdition.h"

#include <cstdint>
#include <string>

// A careless but plausible host, driven by a seed: it sets parameters now and at samples inside
// the next block with values inside, at and past the ends of the travel, and as a user types
// them into its fields, chooses programs (and numbers that name none), saves and restores the
// state, hands back saved states with changed bytes, changed words and floats at and past the ends
// of the ranges in every field, cut short or lengthened, starts and stops at odd rates and block
// sizes in 32 and 64 bits, and processes blocks of every length, in place or not, with missing
// buffers now and then.
//
// After every step each value a host reads back must lie in what the edition declares (the
// normalized value in 0 ... 1, the plain value in its range, a text whose number does too), a
// typed text the plug-in takes must read as a value in 0 ... 1, a state that was refused must have
// changed nothing, a state just saved must load again, and every sample written must be a number.
// The same seed and step count give the same calls.
struct FuzzOutcome {
    bool held = true;
    int step = 0;        // the step that failed, counted from 1
    std::string problem; // what failed, then the calls that led to it, one a line
    // What the run did, so that a run that never reached a kind of call shows.
    int refusedStates = 0;
    int takenDamagedStates = 0;
    int blocks = 0;
};

FuzzOutcome fuzzEdition(LoadedEdition& edition, uint64_t seed, int steps);
