// The DSP binary as a host loads it, in a process of its own: the VST2 module, which brings its
// editor's libraries and stays loaded, must not be in the same process for the library check.
#include "Lv2TestSupport.h"

#include <gtest/gtest.h>
#include <lv2/core/lv2.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(Lv2BundleAlone, NeedsNoFeatureAndTheDspBinaryLoadsNoGuiLibrary) {
    const std::unique_ptr<HostedLv2Plugin> host = loadLv2(48000.0);
    ASSERT_TRUE(host->isLoaded()) << host->error();
    const auto uri = [&](const char* text) { return lilv_new_uri(host->world(), text); };
    LilvNodes* required = lilv_plugin_get_required_features(host->plugin());
    EXPECT_EQ(lilv_nodes_size(required), 0u);
    lilv_nodes_free(required);
    LilvNode* hardRt = uri(LV2_CORE__hardRTCapable);
    EXPECT_TRUE(lilv_plugin_has_feature(host->plugin(), hardRt));
    lilv_node_free(hardRt);

    LilvUIs* uis = lilv_plugin_get_uis(host->plugin());
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    LilvNode* x11 = uri("http://lv2plug.in/ns/extensions/ui#X11UI");
    EXPECT_TRUE(lilv_ui_is_a(ui, x11));
    EXPECT_FALSE(
        lilv_node_equals(lilv_ui_get_binary_uri(ui), lilv_plugin_get_library_uri(host->plugin())));
    lilv_node_free(x11);
    lilv_uis_free(uis);

    // The instance is made: its binary is mapped, the GUI libraries must not be.
    std::ifstream maps("/proc/self/maps");
    const std::string mapped((std::istreambuf_iterator<char>(maps)), {});
    EXPECT_NE(mapped.find("qvl-feedback-compressor-dsp.so"), std::string::npos);
    for (const char* library : {"libcairo", "libX11", "libfontconfig"})
        EXPECT_EQ(mapped.find(library), std::string::npos) << library;
}

} // namespace
