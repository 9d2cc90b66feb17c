// The state a host keeps in its session comes back whole in a fresh instance: every value as
// the host reads it, and the sound.
#include "EditionTestSupport.h"

namespace {

class EditionState : public EachEdition {};

Stereo<float> renderNow(LoadedEdition& edition) {
    edition.start(44100.0, 512, false);
    Stereo<float> in = bursts<float>(12000, 44100.0), out(12000);
    for (std::size_t start = 0; start < 12000; start += 500)
        edition.process(in.from(start).data(), out.from(start).data(), 500);
    edition.stop();
    return out;
}

TEST_P(EditionState, ARoundTripRestoresEveryValueAndTheSound) {
    const auto original = load();
    ASSERT_TRUE(original);
    // A program other than the first, and values moved away from it.
    ASSERT_TRUE(original->selectProgram(2));
    original->setParameter(3, 0.25);
    original->setParameter(7, 0.8);
    original->setParameter(14, 0.6);
    const std::vector<uint8_t> saved = original->saveState();
    ASSERT_FALSE(saved.empty());
    const auto restored = load();
    ASSERT_TRUE(restored->loadState(saved));
    for (const int index : original->parameterIndices()) {
        SCOPED_TRACE(index);
        EXPECT_EQ(restored->parameter(index).normalized, original->parameter(index).normalized);
        EXPECT_EQ(restored->parameter(index).text, original->parameter(index).text);
    }
    EXPECT_TRUE(sameSamples(renderNow(*original), renderNow(*restored)));
    // And the state really carries the values: a fresh instance sounds different.
    const auto fresh = load();
    EXPECT_FALSE(sameSamples(renderNow(*fresh), renderNow(*restored)));
}

TEST_P(EditionState, BytesThatAreNoStateAreRefusedAndChangeNothing) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    ASSERT_TRUE(edition->selectProgram(4));
    const std::vector<uint8_t> before = edition->saveState();
    std::vector<uint8_t> truncated = before;
    truncated.pop_back();
    for (const std::vector<uint8_t>& bad :
         {std::vector<uint8_t>{}, truncated, std::vector<uint8_t>(before.size(), 0xA5)}) {
        EXPECT_FALSE(edition->loadState(bad));
        EXPECT_EQ(edition->saveState(), before);
    }
}

// SC Source at External comes back with the session, and the key ducks the restored instance
// as it did the saved one (LV2 hosts keep it as the control port's value).
TEST_P(EditionState, TheExternalSourceComesBackWithTheSession) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    const auto original = load();
    original->setParameter(kScSource, 1.0);
    const auto restored = load();
    ASSERT_TRUE(restored->loadState(original->saveState()));
    EXPECT_EQ(restored->parameter(kScSource).text, "External");
    EXPECT_EQ(load()->parameter(kScSource).text, "Internal") << "a fresh instance";

    const Stereo<float> main = bursts<float>(12000, kKeyedRateHz);
    Stereo<float> key = bursts<float>(12000, 20000.0);
    KeyedRun run;
    run.program = -1; // as restored
    run.settings = {{kThreshold, -30.0}};
    run.key = &key;
    EXPECT_TRUE(sameSamples(renderKeyed(*original, main, run), renderKeyed(*restored, main, run)));
}

QVL_FOR_EACH_EDITION(EditionState);

} // namespace
