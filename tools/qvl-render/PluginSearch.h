#pragma once

#include <string>
#include <vector>

// Where the renderer looks for the VST 2.4 module when no --plugin is given, in order.
// `moduleName` is the module's file name, `toolFolder` the folder this renderer runs from,
// `installedFolder` the plug-in folder of an install relative to its tools' folder, `home` the
// user's home folder (empty: none) and `buildModule` the module built with it, which is looked at
// first only when the renderer runs from its build folder (`buildFolder`).
struct PluginSearch {
    std::string moduleName;
    std::string toolFolder;
    std::string installedFolder;
    std::string home;
    std::string buildFolder;
    std::string buildModule;
};

std::vector<std::string> pluginPlaces(const PluginSearch& search);

// The first of the places that holds a readable file; empty when none does.
std::string firstReadableFile(const std::vector<std::string>& places);

// The search of this running renderer, from its own location and the environment.
PluginSearch thisRenderersPluginSearch();
