// The CLAP module beside the program, loaded through our CLAP host as a host on Windows loads
// it, renders every factory program as the Linux build does: the pinned fingerprints, through
// 64-bit buffers. The setup program's test runs this beside each installed .clap file.
#include "ClapStateBytes.h"
#include "HostedClapPlugin.h"
#include "ProductIdentity.h"
#include "plugin/FactoryPrograms.h"
#include "tests/plugin/ProgramFingerprints.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The factory program reaches the plug-in as a saved state holding it, as a session restores it.
std::vector<uint8_t> factoryProgramState(int program) {
    std::vector<float> values;
    for (int index = 0; index < kNumParameters; ++index)
        values.push_back(factoryProgramValue(program, index));
    return stateRecord(program, values);
}

class ClapModuleFingerprint : public testing::TestWithParam<int> {};

TEST_P(ClapModuleFingerprint, FactoryProgramSoundsAsOnLinux) {
    const int program = GetParam();
    const float sampleRateHz = 44100.0f;
    HostedClapPlugin plugin(utf8Path(modulePath()), kClapPluginId);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    ASSERT_TRUE(plugin.loadState(factoryProgramState(program)));
    ASSERT_TRUE(plugin.activate(sampleRateHz, kFingerprintBlock));

    const Fingerprint actual =
        measuredFingerprint(sampleRateHz, [&](double** inputs, double** outputs, int frames) {
            EXPECT_EQ(plugin.process(inputs, outputs, static_cast<uint32_t>(frames)),
                      CLAP_PROCESS_CONTINUE);
        });
    EXPECT_TRUE(matchesFingerprint(actual, kAt44k[program]))
        << "program " << program << " measures " << fingerprintText(actual);
}

INSTANTIATE_TEST_SUITE_P(FactoryPrograms, ClapModuleFingerprint, testing::Range(0, kNumPrograms));

} // namespace
