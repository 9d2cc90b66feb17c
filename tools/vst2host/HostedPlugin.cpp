#include "HostedPlugin.h"

namespace {
// The plug-in calls back before it has a record to carry our pointer; during its entry the
// calls on this thread belong to the plug-in being loaded.
thread_local HostedPlugin* loadingPlugin = nullptr;
} // namespace

HostedPlugin::HostedPlugin(const std::string& modulePath, HostOptions options)
    : options_(options), library_(modulePath) {
    if (!library_.isLoaded()) {
        error_ = library_.error();
        return;
    }
    auto entry = reinterpret_cast<vst2::PluginEntryProc>(library_.symbol("VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<vst2::PluginEntryProc>(library_.symbol("main"));
    if (!entry) {
        error_ = modulePath + " exports neither VSTPluginMain nor main";
        return;
    }
    loadingPlugin = this;
    vst2::AEffect* effect = entry(hostCallback);
    loadingPlugin = nullptr;
    if (!effect) {
        error_ = modulePath + ": the plug-in's entry returned no effect";
        return;
    }
    if (effect->magic != vst2::kEffectMagic) {
        error_ = modulePath + ": the entry returned a record without the VST magic";
        return;
    }
    // resvd1 is the host's field of the record; it routes later callbacks back to us.
    effect->resvd1 = reinterpret_cast<intptr_t>(this);
    effect_ = effect;
}

HostedPlugin::~HostedPlugin() {
    if (effect_) dispatch(vst2::effClose);
}

intptr_t HostedPlugin::hostCallback(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void*, float opt) {
    HostedPlugin* host =
        effect && effect->resvd1 ? reinterpret_cast<HostedPlugin*>(effect->resvd1) : loadingPlugin;
    if (!host) return opcode == vst2::audioMasterVersion ? vst2::kVstVersion : 0;
    return host->answer(opcode, index, value, opt);
}

intptr_t HostedPlugin::answer(int32_t opcode, int32_t index, intptr_t value, float opt) {
    if (options_.recordCalls) {
        std::lock_guard<std::mutex> lock(callsMutex_);
        calls_.push_back(HostCall{opcode, index, value, opt});
    }
    return opcode == vst2::audioMasterVersion ? options_.versionAnswer : 0;
}

std::vector<HostCall> HostedPlugin::hostCalls() const {
    std::lock_guard<std::mutex> lock(callsMutex_);
    return calls_;
}

void HostedPlugin::clearHostCalls() {
    std::lock_guard<std::mutex> lock(callsMutex_);
    calls_.clear();
}

intptr_t HostedPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    const intptr_t result = effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    if (opcode == vst2::effClose) effect_ = nullptr;
    return result;
}

std::string HostedPlugin::readText(int32_t opcode, int32_t index) {
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

std::string HostedPlugin::effectName() {
    return readText(vst2::effGetEffectName, 0);
}
std::string HostedPlugin::vendorString() {
    return readText(vst2::effGetVendorString, 0);
}
std::string HostedPlugin::productString() {
    return readText(vst2::effGetProductString, 0);
}
std::string HostedPlugin::parameterName(int index) {
    return readText(vst2::effGetParamName, index);
}
std::string HostedPlugin::parameterLabel(int index) {
    return readText(vst2::effGetParamLabel, index);
}
std::string HostedPlugin::parameterDisplay(int index) {
    return readText(vst2::effGetParamDisplay, index);
}
std::string HostedPlugin::programName() {
    return readText(vst2::effGetProgramName, 0);
}
std::string HostedPlugin::programNameIndexed(int index) {
    return readText(vst2::effGetProgramNameIndexed, index);
}

bool HostedPlugin::canDo(const char* capability) {
    return dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(capability)) == 1;
}

void HostedPlugin::process(float** inputs, float** outputs, int frames) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

void HostedPlugin::process(double** inputs, double** outputs, int frames) {
    effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
}
