// What a host reads of every parameter an edition lists: a range that runs upward from the
// declared minimum to the maximum, and every value inside it, over the whole travel, after
// every factory program and after a state the host kept.
#include "EditionTestSupport.h"

namespace {

class EditionParameters : public EachEdition {};

void expectEveryValueInRange(LoadedEdition& edition, const std::string& after) {
    for (const int index : edition.parameterIndices()) {
        const ParameterReading reading = edition.parameter(index);
        SCOPED_TRACE(reading.name + " after " + after);
        EXPECT_LT(reading.minimum, reading.maximum);
        EXPECT_GE(reading.plain, reading.minimum);
        EXPECT_LE(reading.plain, reading.maximum);
        EXPECT_GE(reading.normalized, 0.0);
        EXPECT_LE(reading.normalized, 1.0);
        EXPECT_FALSE(reading.text.empty());
    }
}

TEST_P(EditionParameters, EveryValueAHostReadsBackLiesInTheDeclaredRange) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    expectEveryValueInRange(*edition, "loading");
    const std::vector<std::string> programs = edition->programNames();
    ASSERT_EQ(programs.size(), 7u);
    for (int program = 0; program < 7; ++program) {
        ASSERT_TRUE(edition->selectProgram(program));
        expectEveryValueInRange(*edition, programs[static_cast<std::size_t>(program)]);
    }
    float left[64] = {}, right[64] = {};
    float* io[2] = {left, right};
    for (int step = 0; step <= 20; ++step) {
        for (const int index : edition->parameterIndices())
            edition->setParameter(index, step / 20.0);
        expectEveryValueInRange(*edition, "setting " + std::to_string(step / 20.0));
        edition->start(48000.0, 64, false);
        edition->process(io, io, 64);
        edition->stop();
        expectEveryValueInRange(*edition, "a block at " + std::to_string(step / 20.0));
    }
    const std::vector<uint8_t> kept = edition->saveState();
    ASSERT_TRUE(edition->selectProgram(3));
    ASSERT_TRUE(edition->loadState(kept));
    expectEveryValueInRange(*edition, "the state kept");
}

QVL_FOR_EACH_EDITION(EditionParameters);

} // namespace
