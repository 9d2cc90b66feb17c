#pragma once

#include <string>
#include <vector>

// Where the renderer looks for the plug-in when no --plugin is given, edition by edition in
// this order: the VST 2.4 module, the VST 3 bundle, the CLAP module, the LV2 bundle. Each is
// looked for beside the tools of an install (`toolFolder` joined with the edition's
// `...FromTools` folder), in the user's folder for the format under `home` (empty: none), and
// in /usr/local/lib and /usr/lib; the module built with the renderer (`buildModule`) comes first
// when the renderer runs from its build folder (`buildFolder`).
struct PluginSearch {
    std::string vst2Module, vst3Bundle, clapModule, lv2Bundle; // file and folder names
    std::string vst2FromTools, vst3FromTools, clapFromTools, lv2FromTools;
    std::string toolFolder;
    std::string home;
    std::string buildFolder;
    std::string buildModule;
};

struct PluginPlace {
    const char* what; // "the VST 2.4 module", "the VST 3 bundle", ...
    std::string path;
};

std::vector<PluginPlace> pluginPlaces(const PluginSearch& search);

// The first place that holds its edition (a readable file or a bundle folder); empty when none.
std::string firstPluginFound(const std::vector<PluginPlace>& places);

// Every place, grouped by edition, for the message that nothing was found: "the VST 2.4
// module a.so in /x, /y; the VST 3 bundle ...".
std::string placesLookedAt(const std::vector<PluginPlace>& places);

// The search of this running renderer, from its own location and the environment.
PluginSearch thisRenderersPluginSearch();
