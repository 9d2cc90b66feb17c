// Every edition sounds exactly like the VST 2.4 module: every factory program, at the common
// rates, in place and not, in odd host blocks, with Bypass switched on and off on the way, in
// 32 bits and, where the edition offers it, in 64 bits.
#include "EditionTestSupport.h"

#include <algorithm>

namespace {

class EditionRenderIdentity : public EachEdition {
  protected:
    template <typename Sample> void expectEveryProgramIdentical(double rateHz) {
        const int frames = static_cast<int>(0.4 * rateHz);
        const Stereo<Sample> in = bursts<Sample>(frames, rateHz);
        const HostSchedule schedules[] = {{false, -1, -1}, {true, frames / 4, frames / 2}};
        for (int program = 0; program < 7; ++program)
            for (const HostSchedule& schedule : schedules) {
                SCOPED_TRACE(testing::Message() << rateHz << " Hz, program " << program
                                                << (schedule.inPlace ? ", in place" : ""));
                const auto edition = load();
                ASSERT_TRUE(edition);
                EXPECT_TRUE(sameSamples(renderVst2Module(program, rateHz, in, schedule),
                                        renderEdition(*edition, program, rateHz, in, schedule)));
            }
    }
};

TEST_P(EditionRenderIdentity, EveryProgramIn32BitsAtTheCommonRates) {
    for (const double rateHz : {44100.0, 48000.0, 96000.0})
        expectEveryProgramIdentical<float>(rateHz);
}

TEST_P(EditionRenderIdentity, EveryProgramIn64BitsWhereTheEditionOffersThem) {
    if (!load()->processesDouble()) GTEST_SKIP() << "the edition processes 32 bits only";
    expectEveryProgramIdentical<double>(48000.0);
}

// With SC Source at Internal a key routed to the edition changes nothing: every program sounds
// as the VST 2.4 module does without one, with a stereo key and with a mono key.
TEST_P(EditionRenderIdentity, EveryProgramWithAKeyRoutedToIt) {
    QVL_SKIP_WITHOUT_KEY_INPUT(*load());
    const double rateHz = 48000.0;
    const int frames = static_cast<int>(0.4 * rateHz);
    const Stereo<float> in = bursts<float>(frames, rateHz);
    Stereo<float> key = bursts<float>(frames, 30000.0); // the same bursts, faster and louder
    for (float& x : key.left)
        x *= 4.0f;
    const HostSchedule schedule{true, frames / 4, frames / 2};
    for (int program = 0; program < 7; ++program)
        for (const int keyChannels : {2, 1}) {
            SCOPED_TRACE(testing::Message()
                         << "program " << program << ", " << keyChannels << " key channel(s)");
            const auto edition = load();
            ASSERT_TRUE(edition);
            EXPECT_TRUE(sameSamples(
                renderVst2Module(program, rateHz, in, schedule),
                renderEdition(*edition, program, rateHz, in, schedule, &key, keyChannels)));
        }
}

QVL_FOR_EACH_EDITION(EditionRenderIdentity);

// What a host reads of the edition: our name, the latency after start, the factory programs,
// and the parameters' texts as the VST 2.4 module shows them.
class EditionAsAHostSeesIt : public EachEdition {};

TEST_P(EditionAsAHostSeesIt, NameLatencyProgramsAndParameterTexts) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    EXPECT_TRUE(edition->isOurs()) << edition->name();
    edition->start(48000.0, 512, false);
    EXPECT_EQ(edition->latency(), 151);
    edition->stop();
    HostedPlugin vst2(QVL_MODULE_PATH);
    const std::vector<std::string> programs = edition->programNames();
    ASSERT_EQ(programs.size(), 7u);
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(programs[static_cast<std::size_t>(p)], vst2.programNameIndexed(p));
    edition->selectProgram(3);
    vst2.setProgram(3);
    for (const int index : edition->parameterIndices()) {
        if (index >= 19) continue; // the slots that do nothing are not shown by every edition
        SCOPED_TRACE(index);
        const ParameterReading reading = edition->parameter(index);
        EXPECT_EQ(reading.text, vst2.parameterDisplay(index));
        EXPECT_EQ(static_cast<float>(reading.normalized), vst2.getParameter(index));
        EXPECT_LE(reading.minimum, reading.plain);
        EXPECT_GE(reading.maximum, reading.plain);
    }
}

// The VST 2.4 module has no key input: asking for one is refused with a line that names it.
TEST_P(EditionAsAHostSeesIt, AKeyInputIsRefusedByAnEditionWithoutOne) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    if (edition->keyChannels() > 0) GTEST_SKIP() << "the edition has a key input";
    std::string refusal;
    EXPECT_FALSE(edition->connectKey(2, refusal));
    EXPECT_NE(refusal.find(std::string("the ") + editionName(edition->kind()) + " edition"),
              std::string::npos)
        << refusal;
    EXPECT_NE(refusal.find("no sidechain"), std::string::npos) << refusal;
    EXPECT_TRUE(edition->connectKey(0, refusal)) << "no key is always fine";
}

// The newer editions take a stereo key, and list SC Source at Internal, as every program
// holds it.
TEST_P(EditionAsAHostSeesIt, AStereoKeyInputAndScSourceAtInternal) {
    const auto edition = load();
    ASSERT_TRUE(edition);
    QVL_SKIP_WITHOUT_KEY_INPUT(*edition);
    EXPECT_EQ(edition->keyChannels(), 2);
    const std::vector<int> listed = edition->parameterIndices();
    EXPECT_NE(std::find(listed.begin(), listed.end(), kScSource), listed.end());
    for (int program = 0; program < 7; ++program) {
        ASSERT_TRUE(edition->selectProgram(program));
        const ParameterReading source = edition->parameter(kScSource);
        EXPECT_EQ(source.name, "SC Source");
        EXPECT_EQ(source.text, "Internal") << program;
        EXPECT_EQ(source.plain, 0.0) << program;
    }
    std::string refusal;
    EXPECT_TRUE(edition->connectKey(1, refusal)) << refusal;
    EXPECT_TRUE(edition->connectKey(2, refusal)) << refusal;
    EXPECT_FALSE(edition->connectKey(3, refusal));
}

QVL_FOR_EACH_EDITION(EditionAsAHostSeesIt);

} // namespace
