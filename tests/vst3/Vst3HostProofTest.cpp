// The test host proven on a bundle made by another framework (Debian's zam-plugins) before it
// is trusted with ours: it finds the class, makes component and controller, and processes.
#include "Vst3TestSupport.h"

#include <unistd.h>

namespace {

constexpr const char* kThirdParty = "/usr/lib/vst3/ZamCompX2.vst3";

TEST(Vst3HostProof, LoadsAThirdPartyCompressorAndProcessesThroughIt) {
    if (access(vst3ModulePath(kThirdParty).c_str(), R_OK) != 0)
        GTEST_SKIP() << "zam-plugins is not installed";
    HostedVst3Plugin plugin(kThirdParty);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    Steinberg::PClassInfo info{};
    ASSERT_EQ(plugin.factory()->getClassInfo(0, &info), Steinberg::kResultOk);
    EXPECT_STREQ(info.name, "ZamCompX2");
    EXPECT_GT(plugin.controller()->getParameterCount(), 5);

    ASSERT_EQ(plugin.setup(48000.0, Steinberg::Vst::kSample32), Steinberg::kResultOk);
    plugin.activate(true);
    Stereo<float> in = bursts<float>(24000, 48000.0), out(24000);
    for (std::size_t start = 0; start < 24000; start += 480)
        ASSERT_EQ(processVst3(plugin, in, out, start, 480), Steinberg::kResultOk);
    double energy = 0.0;
    for (float x : out.left)
        energy += static_cast<double>(x) * x;
    EXPECT_GT(energy, 1.0) << "the compressor passes the bursts";

    const std::vector<uint8_t> saved = plugin.state();
    EXPECT_FALSE(saved.empty());
    EXPECT_EQ(plugin.setState(saved), Steinberg::kResultOk);
}

} // namespace
