#pragma once

#include "ClapStateBytes.h"
#include "HostedClapPlugin.h"
#include "HostedPlugin.h"
#include "ProductIdentity.h"

#include <cstdint>
#include <memory>
#include <vector>

constexpr clap_id kBypassId = 16;
// The window system the editor embeds into on the system the tests run on.
#ifdef _WIN32
constexpr const char* kNativeWindowApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char* kNativeWindowApi = CLAP_WINDOW_API_X11;
#endif

inline std::unique_ptr<HostedClapPlugin> loadClap() {
    return std::make_unique<HostedClapPlugin>(QVL_CLAP_MODULE_PATH, kClapPluginId);
}

// A factory program's 21 values as the VST 2 edition holds them once it is chosen.
inline std::vector<float> vst2ProgramValues(int program) {
    HostedPlugin vst2(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    vst2.setProgram(program);
    std::vector<float> values;
    for (int i = 0; i < 21; ++i)
        values.push_back(vst2.getParameter(i));
    return values;
}
