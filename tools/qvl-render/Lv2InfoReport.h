#pragma once

#include <iosfwd>

class HostedLv2Plugin;

// What an LV2 plug-in's description and a short run tell a host: names, class, version,
// features, UIs, latency, every port with its range, unit, properties and scale points (control
// inputs with their present values), and the presets.
void printLv2InfoReport(HostedLv2Plugin& plugin, std::ostream& out);
