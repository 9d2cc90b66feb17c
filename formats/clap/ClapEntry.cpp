#include "ProductIdentity.h"
#include "formats/clap/ClapPlugin.h"
#include "formats/common/ModuleEditor.h"

#include <clap/entry.h>
#include <clap/plugin-factory.h>

#include <cstring>

namespace {

// The header of this CLAP version takes the list without const.
const char* kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_COMPRESSOR,
                           CLAP_PLUGIN_FEATURE_MASTERING, CLAP_PLUGIN_FEATURE_STEREO, nullptr};

const clap_plugin_descriptor_t kDescriptor = {CLAP_VERSION_INIT,
                                              kClapPluginId,
                                              kProductName,
                                              kVendorName,
                                              kProductUrl,
                                              "",
                                              "",
                                              QVL_VERSION_TEXT,
                                              "Stereo compressor with feedback detection",
                                              kFeatures};

uint32_t pluginCount(const clap_plugin_factory_t*) {
    return 1;
}

const clap_plugin_descriptor_t* pluginDescriptor(const clap_plugin_factory_t*, uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin_t* createPlugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                  const char* pluginId) {
    if (!host || !pluginId || std::strcmp(pluginId, kClapPluginId) != 0 ||
        !clap_version_is_compatible(host->clap_version))
        return nullptr;
    ClapPlugin* plugin = createClapPlugin(host, &kDescriptor, moduleEditorFactory());
    return plugin ? plugin->record() : nullptr;
}

const clap_plugin_factory_t kFactory = {pluginCount, pluginDescriptor, createPlugin};

bool entryInit(const char*) {
    return true;
}

void entryDeinit() {}

const void* factory(const char* factoryId) {
    return factoryId && std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

} // namespace

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, entryInit,
                                                               entryDeinit, factory};
