#include "PluginSearch.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

std::vector<std::string> pluginPlaces(const PluginSearch& search) {
    std::vector<std::string> places;
    // An install under /usr or /usr/local finds its own folder again among the system ones.
    const auto add = [&places](const fs::path& place) {
        const std::string text = place.lexically_normal().string();
        if (std::find(places.begin(), places.end(), text) == places.end()) places.push_back(text);
    };
    if (!search.buildModule.empty() && !search.buildFolder.empty() &&
        search.toolFolder == search.buildFolder)
        add(search.buildModule);
    if (!search.toolFolder.empty())
        add(fs::path(search.toolFolder) / search.installedFolder / search.moduleName);
    if (!search.home.empty()) add(fs::path(search.home) / ".vst" / search.moduleName);
    for (const char* system : {"/usr/local/lib/vst", "/usr/lib/vst"})
        add(fs::path(system) / search.moduleName);
    return places;
}

std::string firstReadableFile(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        std::error_code error;
        if (fs::is_regular_file(place, error) && access(place.c_str(), R_OK) == 0) return place;
    }
    return {};
}

PluginSearch thisRenderersPluginSearch() {
    PluginSearch search;
    search.moduleName = QVL_PLUGIN_MODULE_NAME;
    search.installedFolder = QVL_PLUGIN_FOLDER_FROM_BIN;
    search.buildModule = QVL_BUILD_PLUGIN_PATH;
    std::error_code error;
    search.buildFolder = fs::weakly_canonical(QVL_RENDER_BUILD_FOLDER, error).string();
    // The real file, so that a link to the renderer (in ~/.local/bin, say) still finds the
    // module unpacked beside it.
    const fs::path self = fs::canonical("/proc/self/exe", error);
    if (!error) search.toolFolder = self.parent_path().string();
    if (const char* home = std::getenv("HOME")) search.home = home;
    return search;
}
