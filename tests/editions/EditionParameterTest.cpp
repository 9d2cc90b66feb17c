// What a host reads of every parameter an edition lists: a range that runs upward from the
// declared minimum to the maximum, and every value inside it, over the whole travel, after
// every factory program, after a state the host kept and after a value past an end.
#include "EditionTestSupport.h"

#include <cmath>

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

// A host may send a value past an end of the travel (a VST 2 host a number outside 0 ... 1, a
// CLAP host a plain value outside the declared range): it reads back, shows and sounds as that
// end, in another instance given the end itself.
TEST_P(EditionParameters, AValuePastAnEndReadsBackAsThatEnd) {
    const auto past = load();
    const auto end = load();
    ASSERT_TRUE(past && end);
    const std::pair<double, double> sentAndEnd[] = {
        {2.0, 1.0}, {1e30, 1.0}, {std::nextafter(1.0f, 2.0f), 1.0}, {-1.0, 0.0}, {-1e-12, 0.0}};
    for (const auto& [sent, atEnd] : sentAndEnd)
        for (const int index : past->parameterIndices()) {
            SCOPED_TRACE(testing::Message() << "index " << index << " sent " << sent);
            past->setParameter(index, sent);
            end->setParameter(index, atEnd);
            const ParameterReading reading = past->parameter(index);
            EXPECT_EQ(reading.normalized, end->parameter(index).normalized);
            EXPECT_EQ(reading.plain, end->parameter(index).plain);
            EXPECT_EQ(reading.text, end->parameter(index).text);
        }
    Stereo<float> in = bursts<float>(12000, 48000.0), heardPast(12000), heardEnd(12000);
    for (auto [edition, out] :
         {std::pair{past.get(), &heardPast}, std::pair{end.get(), &heardEnd}}) {
        edition->start(48000.0, 500, false);
        for (std::size_t start = 0; start < 12000; start += 500)
            edition->process(in.from(start).data(), out->from(start).data(), 500);
        edition->stop();
    }
    EXPECT_TRUE(sameSamples(heardPast, heardEnd));
}

QVL_FOR_EACH_EDITION(EditionParameters);

} // namespace
