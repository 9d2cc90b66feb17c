#include "PluginSearch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct EditionPlaces {
    const char* what;
    const std::string PluginSearch::*name;
    const std::string PluginSearch::*fromTools;
    const char* userFolder;   // under the home folder
    const char* systemFolder; // under /usr/local and /usr
};

constexpr EditionPlaces kEditions[] = {
    {"the VST 2.4 module", &PluginSearch::vst2Module, &PluginSearch::vst2FromTools, ".vst",
     "lib/vst"},
    {"the VST 3 bundle", &PluginSearch::vst3Bundle, &PluginSearch::vst3FromTools, ".vst3",
     "lib/vst3"},
    {"the CLAP module", &PluginSearch::clapModule, &PluginSearch::clapFromTools, ".clap",
     "lib/clap"},
    {"the LV2 bundle", &PluginSearch::lv2Bundle, &PluginSearch::lv2FromTools, ".lv2", "lib/lv2"},
};

} // namespace

std::vector<PluginPlace> pluginPlaces(const PluginSearch& search) {
    std::vector<PluginPlace> places;
    // An install under /usr or /usr/local finds its own folder again among the system ones.
    const auto add = [&places](const char* what, const fs::path& place) {
        const std::string text = place.lexically_normal().string();
        for (const PluginPlace& known : places)
            if (known.path == text) return;
        places.push_back({what, text});
    };
    if (!search.buildModule.empty() && !search.buildFolder.empty() &&
        search.toolFolder == search.buildFolder)
        add(kEditions[0].what, search.buildModule);
    for (const EditionPlaces& edition : kEditions) {
        const std::string& name = search.*edition.name;
        if (name.empty()) continue;
        if (!search.toolFolder.empty())
            add(edition.what, fs::path(search.toolFolder) / (search.*edition.fromTools) / name);
        if (!search.home.empty())
            add(edition.what, fs::path(search.home) / edition.userFolder / name);
        for (const char* prefix : {"/usr/local", "/usr"})
            add(edition.what, fs::path(prefix) / edition.systemFolder / name);
    }
    return places;
}

std::string firstPluginFound(const std::vector<PluginPlace>& places) {
    for (const PluginPlace& place : places) {
        std::error_code error;
        if (std::strstr(place.what, "bundle")
                ? fs::is_directory(place.path, error)
                : fs::is_regular_file(place.path, error) && access(place.path.c_str(), R_OK) == 0)
            return place.path;
    }
    return {};
}

std::string placesLookedAt(const std::vector<PluginPlace>& places) {
    std::string text;
    const char* group = nullptr;
    for (const PluginPlace& place : places) {
        const fs::path path(place.path);
        if (!group || std::strcmp(group, place.what) != 0) {
            group = place.what;
            text += (text.empty() ? "" : "; ") + std::string(place.what) + " " +
                    path.filename().string() + " in ";
        } else {
            text += ", ";
        }
        text += path.parent_path().string();
    }
    return text;
}

PluginSearch thisRenderersPluginSearch() {
    PluginSearch search;
    search.vst2Module = QVL_PLUGIN_MODULE_NAME;
    search.vst3Bundle = QVL_VST3_BUNDLE_NAME;
    search.clapModule = QVL_CLAP_MODULE_NAME;
    search.lv2Bundle = QVL_LV2_BUNDLE_NAME;
    search.vst2FromTools = QVL_PLUGIN_FOLDER_FROM_BIN;
    search.vst3FromTools = QVL_VST3_FOLDER_FROM_BIN;
    search.clapFromTools = QVL_CLAP_FOLDER_FROM_BIN;
    search.lv2FromTools = QVL_LV2_FOLDER_FROM_BIN;
    search.buildModule = QVL_BUILD_PLUGIN_PATH;
    std::error_code error;
    search.buildFolder = fs::weakly_canonical(QVL_RENDER_BUILD_FOLDER, error).string();
    // The real file, so that a link to the renderer (in ~/.local/bin, say) still finds the
    // plug-in unpacked beside it.
    const fs::path self = fs::canonical("/proc/self/exe", error);
    if (!error) search.toolFolder = self.parent_path().string();
    if (const char* home = std::getenv("HOME")) search.home = home;
    return search;
}
