// The state a host saves: one record of magic, version, program and the values (the VST 2
// module's 21 slots, then SC Source), in little-endian bytes; read back it restores values and
// sound, and a record saved before SC Source existed still loads. What a damaged record does is
// the editions' shared contract (tests/editions); here what a VST 3 host learns of it.
#include "Vst3TestSupport.h"

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr std::size_t kRecordSize = 4 + 4 + 4 + 22 * 4;
constexpr ParamID kScSourceId = 21;

uint32_t littleEndianWord(const std::vector<uint8_t>& bytes, std::size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

void putWord(std::vector<uint8_t>& bytes, std::size_t at, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(word >> (8 * i));
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A program other than the first, a few values changed from it (Threshold to -12.5 dB, the
// external key), and Bypass on.
std::unique_ptr<HostedVst3Plugin> editedPlugin() {
    auto plugin = loadVst3();
    IEditController* c = plugin->controller();
    c->setParamNormalized(kProgramId, 2.0 / 6.0);
    c->setParamNormalized(3, c->plainParamToNormalized(3, -12.5));
    c->setParamNormalized(7, 0.8);
    c->setParamNormalized(kBypassId, 1.0);
    c->setParamNormalized(kScSourceId, 1.0);
    return plugin;
}

Stereo<float> render(HostedVst3Plugin& plugin) {
    plugin.setup(44100.0, kSample32);
    plugin.activate(true);
    Stereo<float> in = bursts<float>(8000, 44100.0), out(8000);
    processVst3(plugin, in, out, 0, 8000);
    return out;
}

TEST(Vst3State, TheRecordsLayout) {
    const std::vector<uint8_t> bytes = editedPlugin()->state();
    ASSERT_EQ(bytes.size(), kRecordSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QVLS");
    EXPECT_EQ(littleEndianWord(bytes, 4), 2u);
    EXPECT_EQ(littleEndianWord(bytes, 8), 2u);
    // The effect's own values, as every edition keeps them: -12.5 dB is a quarter of the way.
    EXPECT_EQ(littleEndianWord(bytes, 12 + 4 * 3), bitsOf(0.25f));
    EXPECT_EQ(littleEndianWord(bytes, 12 + 4 * 16), bitsOf(1.0f));
    EXPECT_EQ(littleEndianWord(bytes, 12 + 4 * 21), bitsOf(1.0f));
}

// A session saved before SC Source existed holds the 21 slots alone, under version 1: it loads,
// with the internal source it always had, whatever the instance held before.
TEST(Vst3State, ARecordWithoutScSourceLoadsWithTheInternalSource) {
    std::vector<uint8_t> old = editedPlugin()->state();
    old.resize(old.size() - 4);
    putWord(old, 4, 1);
    auto plugin = editedPlugin();
    ASSERT_EQ(plugin->controller()->getParamNormalized(kScSourceId), 1.0);
    ASSERT_EQ(plugin->setState(old), kResultOk);
    EXPECT_EQ(plugin->controller()->getParamNormalized(kScSourceId), 0.0);
    EXPECT_EQ(plugin->controller()->getParamNormalized(kBypassId), 1.0);
    EXPECT_EQ(plugin->controller()->getParamNormalized(kProgramId), 2.0 / 6.0);
    std::vector<uint8_t> shortOld = old;
    shortOld.pop_back();
    EXPECT_EQ(plugin->setState(shortOld), kResultFalse);
}

TEST(Vst3State, ARoundTripRestoresValuesProgramBypassAndSound) {
    auto original = editedPlugin();
    const std::vector<uint8_t> saved = original->state();
    auto restored = loadVst3();
    ASSERT_EQ(restored->setState(saved), kResultOk);
    for (ParamID id = 0; id <= kScSourceId; ++id)
        EXPECT_EQ(restored->controller()->getParamNormalized(id),
                  original->controller()->getParamNormalized(id))
            << "parameter " << id;
    EXPECT_EQ(restored->controller()->getParamNormalized(kProgramId), 2.0 / 6.0);
    EXPECT_EQ(restored->controller()->getParamNormalized(kBypassId), 1.0);
    EXPECT_EQ(restored->state(), saved);
    EXPECT_TRUE(sameSamples(render(*original), render(*restored)));
    // The host is told to read the values again.
    EXPECT_EQ(restored->handler().calls().back(), "restart " + std::to_string(kParamValuesChanged));
}

// What is refused is the shared editions' contract; here what a VST 3 host learns of it.
TEST(Vst3State, ARefusedRecordIsTheFormatsFalseAndAsksTheHostForNothing) {
    const std::vector<uint8_t> good = editedPlugin()->state();
    std::vector<uint8_t> damaged = good;
    putWord(damaged, 12 + 4 * 4, bitsOf(1.00002f));
    auto plugin = loadVst3();
    const std::vector<uint8_t> before = plugin->state();
    EXPECT_EQ(plugin->setState(damaged), kResultFalse);
    EXPECT_EQ(plugin->state(), before);
    EXPECT_EQ(plugin->component()->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin->component()->getState(nullptr), kInvalidArgument);
    EXPECT_TRUE(plugin->handler().calls().empty()) << "nothing changed, so nothing to reread";
}

} // namespace
