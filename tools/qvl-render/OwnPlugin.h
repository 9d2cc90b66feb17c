#pragma once

#include "HostedLv2Plugin.h"
#include "HostedPlugin.h"

#include "ProductIdentity.h"

// Whether a loaded plug-in is ours, in either edition: only then are its parameters' curves,
// its gain readout and its meter outputs known to the tool.
inline bool isOwnPlugin(HostedPlugin& plugin) {
    return plugin.effect().uniqueID == kVst2UniqueId;
}

inline bool isOwnPlugin(const HostedLv2Plugin& plugin) {
    return plugin.uri() == kLv2Uri;
}
