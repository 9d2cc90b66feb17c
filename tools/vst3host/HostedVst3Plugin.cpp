#include "HostedVst3Plugin.h"

#include <pluginterfaces/vst/ivstmessage.h>

#include <cstring>

#ifndef _WIN32
#include <dlfcn.h>
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

#ifdef _WIN32
using ModuleEntryProc = bool (*)();
constexpr const char* kModuleEntry = "InitDll";
constexpr const char* kModuleExit = "ExitDll";
// The bundle's folder for the architecture this host is built for, and the module's suffix.
constexpr const char* kArchFolder = sizeof(void*) == 8 ? "x86_64-win" : "x86-win";
constexpr const char* kModuleSuffix = ".vst3";
// Paths handed in may use either separator; the ones made here use the system's own.
constexpr const char* kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
using ModuleEntryProc = bool (*)(void*);
constexpr const char* kModuleEntry = "ModuleEntry";
constexpr const char* kModuleExit = "ModuleExit";
constexpr const char* kArchFolder = "x86_64-linux";
constexpr const char* kModuleSuffix = ".so";
constexpr const char* kSeparators = "/";
constexpr char kSeparator = '/';
#endif
using ModuleExitProc = bool (*)();
using GetFactoryProc = IPluginFactory*(PLUGIN_API*)();

template <typename Interface> Interface* ask(FUnknown* object, const TUID iid) {
    void* result = nullptr;
    if (!object || object->queryInterface(iid, &result) != kResultOk) return nullptr;
    return static_cast<Interface*>(result);
}

template <typename Interface> void releaseAndClear(Interface*& object) {
    if (object) object->release();
    object = nullptr;
}

std::string bundleName(const std::string& bundlePath) {
    std::string name = bundlePath;
    while (!name.empty() && std::strchr(kSeparators, name.back()))
        name.pop_back();
    name = name.substr(name.find_last_of(kSeparators) + 1);
    return name.substr(0, name.rfind(".vst3"));
}

} // namespace

std::string vst3ModulePath(const std::string& bundlePath) {
    return bundlePath + kSeparator + "Contents" + kSeparator + kArchFolder + kSeparator +
           bundleName(bundlePath) + kModuleSuffix;
}

std::string asciiText(const TChar* text) {
    std::string result;
    for (int n = 0; text && text[n] != 0 && n < 128; ++n)
        result += text[n] < 0x80 ? static_cast<char>(text[n]) : '?';
    return result;
}

HostedVst3Plugin::HostedVst3Plugin(const std::string& bundlePath)
    : library_(vst3ModulePath(bundlePath)) {
    if (!library_.isLoaded()) {
        error_ = library_.error();
        return;
    }
    auto entry = reinterpret_cast<ModuleEntryProc>(library_.symbol(kModuleEntry));
    auto getFactory = reinterpret_cast<GetFactoryProc>(library_.symbol("GetPluginFactory"));
    if (!entry || !getFactory) {
        error_ = std::string("the module exports no ") + kModuleEntry + " or GetPluginFactory";
        return;
    }
#ifdef _WIN32
    const bool entered = entry();
#else
    // The entry takes the module's handle, which the loader gives a second time without loading.
    void* handle = dlopen(vst3ModulePath(bundlePath).c_str(), RTLD_NOW | RTLD_NOLOAD);
    const bool entered = entry(handle);
    if (handle) dlclose(handle);
#endif
    if (!entered) {
        error_ = std::string(kModuleEntry) + " failed";
        return;
    }
    factory_ = getFactory();
    if (!factory_) {
        error_ = "GetPluginFactory returned nothing";
        return;
    }
    for (int32 i = 0; i < factory_->countClasses() && !component_; ++i) {
        PClassInfo info{};
        if (factory_->getClassInfo(i, &info) != kResultOk ||
            std::strcmp(info.category, kVstAudioEffectClass) != 0)
            continue;
        void* made = nullptr;
        if (factory_->createInstance(info.cid, IComponent_iid, &made) == kResultOk)
            component_ = static_cast<IComponent*>(made);
    }
    if (!component_ || component_->initialize(&application_) != kResultOk) {
        error_ = "no audio-effect component could be made and initialized";
        return;
    }
    processor_ = ask<IAudioProcessor>(component_, IAudioProcessor_iid);
    controller_ = ask<IEditController>(component_, IEditController_iid);
    if (!controller_) {
        TUID controllerId;
        void* made = nullptr;
        if (component_->getControllerClassId(controllerId) == kResultOk &&
            factory_->createInstance(controllerId, IEditController_iid, &made) == kResultOk) {
            separateController_ = controller_ = static_cast<IEditController*>(made);
            controller_->initialize(&application_);
            auto* a = ask<IConnectionPoint>(component_, IConnectionPoint_iid);
            auto* b = ask<IConnectionPoint>(controller_, IConnectionPoint_iid);
            if (a && b) {
                a->connect(b);
                b->connect(a);
            }
            releaseAndClear(a);
            releaseAndClear(b);
            MemoryStream componentState;
            if (component_->getState(&componentState) == kResultOk) {
                componentState.seek(0, IBStream::kIBSeekSet, nullptr);
                controller_->setComponentState(&componentState);
            }
        }
    }
    if (controller_) controller_->setComponentHandler(&handler_);
    if (!processor_ || !controller_) error_ = "the component has no processor or controller";
}

HostedVst3Plugin::~HostedVst3Plugin() {
    if (processor_) processor_->setProcessing(false);
    if (component_) component_->setActive(false);
    if (controller_) controller_->setComponentHandler(nullptr);
    if (separateController_) separateController_->terminate();
    if (component_) component_->terminate();
    releaseAndClear(controller_);
    separateController_ = nullptr;
    releaseAndClear(processor_);
    releaseAndClear(component_);
    if (factory_) factory_->release();
    if (auto exit = reinterpret_cast<ModuleExitProc>(library_.symbol(kModuleExit))) exit();
}

IUnitInfo* HostedVst3Plugin::unitInfo() {
    IUnitInfo* info = ask<IUnitInfo>(controller_, IUnitInfo_iid);
    if (info) info->release(); // the controller keeps it alive
    return info;
}

tresult HostedVst3Plugin::setup(double rateHz, int32 sampleSize, int32 maxBlock) {
    SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    processor_->setBusArrangements(&stereo[0], 1, &stereo[1], 1);
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rateHz};
    sampleSize_ = sampleSize;
    return processor_->setupProcessing(setup);
}

void HostedVst3Plugin::activate(bool on) {
    if (on) {
        component_->setActive(true);
        processor_->setProcessing(true);
    } else {
        processor_->setProcessing(false);
        component_->setActive(false);
    }
}

template <typename Sample>
tresult HostedVst3Plugin::process(Sample** inputs, Sample** outputs, int32 frames,
                                  const std::vector<ParameterPoint>& changes) {
    AudioBusBuffers in{}, out{};
    in.numChannels = out.numChannels = 2;
    if constexpr (sizeof(Sample) == sizeof(Sample32)) {
        in.channelBuffers32 = inputs;
        out.channelBuffers32 = outputs;
    } else {
        in.channelBuffers64 = inputs;
        out.channelBuffers64 = outputs;
    }
    ParameterChanges inputChanges(changes), outputChanges;
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = sizeof(Sample) == sizeof(Sample32) ? kSample32 : kSample64;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = &inputChanges;
    data.outputParameterChanges = &outputChanges;
    const tresult result = processor_->process(data);
    outputChanges_ = outputChanges.points();
    return result;
}

template tresult HostedVst3Plugin::process<float>(float**, float**, int32,
                                                  const std::vector<ParameterPoint>&);
template tresult HostedVst3Plugin::process<double>(double**, double**, int32,
                                                   const std::vector<ParameterPoint>&);

tresult HostedVst3Plugin::processData(ProcessData& data) {
    return processor_->process(data);
}

std::vector<uint8_t> HostedVst3Plugin::state() {
    MemoryStream stream;
    component_->getState(&stream);
    return stream.bytes();
}

tresult HostedVst3Plugin::setState(const std::vector<uint8_t>& bytes) {
    MemoryStream stream(bytes);
    const tresult result = component_->setState(&stream);
    if (result == kResultOk && separateController_) {
        MemoryStream again(bytes);
        separateController_->setComponentState(&again);
    }
    return result;
}

std::string HostedVst3Plugin::text(ParamID id, ParamValue normalized) {
    String128 text{};
    if (controller_->getParamStringByValue(id, normalized, text) != kResultOk) return "<refused>";
    return asciiText(text);
}

std::string HostedVst3Plugin::parameterTitle(int listIndex) {
    ParameterInfo info{};
    if (controller_->getParameterInfo(listIndex, info) != kResultOk) return "<refused>";
    return asciiText(info.title);
}
