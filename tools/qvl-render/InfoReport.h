#pragma once

#include <iosfwd>

class HostedPlugin;

// Prints the plug-in's identity, latency, parameters and programs. The plug-in is resumed
// once to read its latency and suspended again.
void printInfoReport(HostedPlugin& plugin, std::ostream& out);
