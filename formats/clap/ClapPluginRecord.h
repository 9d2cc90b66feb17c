#pragma once

#include <clap/plugin.h>

class ClapPlugin;

// The record a host holds for one instance: the plug-in's functions and its extensions, each
// a line that forwards to the instance.
clap_plugin_t makePluginRecord(const clap_plugin_descriptor_t* descriptor, ClapPlugin* plugin);
