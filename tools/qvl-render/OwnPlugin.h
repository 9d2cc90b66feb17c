#pragma once

#include "HostedLv2Plugin.h"
#include "HostedPlugin.h"

#include "formats/lv2/Lv2Uris.h"
#include "formats/vst2/Vst2Plugin.h"

// Whether a loaded plug-in is ours, in either edition: only then are its parameters' curves,
// its gain readout and its meter outputs known to the tool.
inline bool isOwnPlugin(HostedPlugin& plugin) {
    return plugin.effect().uniqueID == Vst2Plugin::kUniqueId;
}

inline bool isOwnPlugin(const HostedLv2Plugin& plugin) {
    return plugin.uri() == lv2uri::kPlugin;
}
