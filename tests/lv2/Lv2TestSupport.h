#pragma once

#include "HostedLv2Plugin.h"
#include "ProductIdentity.h"

#include <cstdlib>
#include <memory>
#include <string>

// The edition as a host finds it: the build tree's bundle folder first on LV2_PATH, then the
// system's folders for the LV2 core and extension bundles (lv2-dev).
inline std::unique_ptr<HostedLv2Plugin> loadLv2(double sampleRateHz) {
    setenv("LV2_PATH", QVL_LV2_FOLDER ":/usr/lib/lv2", 1);
    return std::make_unique<HostedLv2Plugin>(kLv2Uri, sampleRateHz);
}

// LV2 port numbers of the two stereo pairs and the first parameter, as a host reads them from
// the description.
inline int parameterPort(HostedLv2Plugin& plugin, int parameter) {
    int seen = -1;
    for (uint32_t p = 0; p < plugin.numPorts(); ++p)
        if (plugin.isControlInput(p) && ++seen == parameter) return static_cast<int>(p);
    return -1;
}
