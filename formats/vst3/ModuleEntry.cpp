#include "formats/vst3/Vst3Factory.h"

// The module's exports. The factory is a static object, so loading and unloading have
// nothing to prepare or release, on either system.
extern "C" {

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
    return vst3Factory();
}

#ifdef _WIN32
SMTG_EXPORT_SYMBOL bool InitDll() {
    return true;
}
SMTG_EXPORT_SYMBOL bool ExitDll() {
    return true;
}
#else
SMTG_EXPORT_SYMBOL bool ModuleEntry(void*) {
    return true;
}
SMTG_EXPORT_SYMBOL bool ModuleExit() {
    return true;
}
#endif
}
