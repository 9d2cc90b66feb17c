// A careless host's calls, at random but the same for a seed (EditionFuzz.h), leave every value
// a host reads back inside what the edition declares, change nothing when a state is refused,
// and keep the sound a number. The checks run a fixed number of steps; for a longer run, or to
// repeat a failure, set QVL_FUZZ_STEPS and QVL_FUZZ_SEED.
#include "EditionFuzz.h"
#include "EditionTestSupport.h"

#include <cstdlib>

namespace {

constexpr uint64_t kSeed = 20261208;
constexpr int kSteps = 3000;

uint64_t fromEnvironment(const char* name, uint64_t otherwise) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 0) : otherwise;
}

class EditionFuzz : public EachEdition {};

TEST_P(EditionFuzz, NoHostCallLeavesAValueOutsideItsRangeOrTheSoundOutsideTheNumbers) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    const uint64_t seed = fromEnvironment("QVL_FUZZ_SEED", kSeed);
    const int steps = static_cast<int>(fromEnvironment("QVL_FUZZ_STEPS", kSteps));
    const FuzzOutcome outcome = fuzzEdition(*edition, seed, steps);
    EXPECT_TRUE(outcome.held) << "seed " << seed << ", step " << outcome.step << " of " << steps
                              << ": " << outcome.problem << "\nrepeat with QVL_FUZZ_SEED=" << seed
                              << " QVL_FUZZ_STEPS=" << outcome.step;
    // A run as long as the checks' reaches every kind of call it is there for.
    if (!outcome.held || steps < kSteps) return;
    EXPECT_GT(outcome.blocks, 0);
    EXPECT_GT(outcome.refusedStates, 0);
    EXPECT_GT(outcome.takenDamagedStates, 0);
}

QVL_FOR_EACH_EDITION(EditionFuzz);

} // namespace
