#pragma once

#include "DynamicLibrary.h"
#include "formats/vst2/Vst2Interface.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One callback the plug-in made to its host, as recorded for inspection.
struct HostCall {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

struct HostOptions {
    // The answer to audioMasterVersion; 0 tells the plug-in that this host is too old.
    intptr_t versionAnswer = vst2::kVstVersion;
    // Keep every callback for hostCalls(); off for rendering and timing, where a plug-in may
    // call back from its processing and the record would only grow.
    bool recordCalls = true;
};

// A VST 2.4 plug-in loaded as a host loads it: the module is opened, its entry is called with
// this host's callback, and requests go through the returned record.
class HostedPlugin {
  public:
    explicit HostedPlugin(const std::string& modulePath, HostOptions options = {});
    ~HostedPlugin(); // closes the effect, then unloads the module
    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    // True when the module loaded and its entry returned a record with the right magic.
    bool isLoaded() const { return effect_ != nullptr; }
    const std::string& error() const { return error_; }
    vst2::AEffect& effect() { return *effect_; }
    const DynamicLibrary& library() const { return library_; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Texts read into a zeroed buffer of generous size.
    std::string effectName();
    std::string vendorString();
    std::string productString();
    std::string parameterName(int index);
    std::string parameterLabel(int index);
    std::string parameterDisplay(int index);
    std::string programName();
    std::string programNameIndexed(int index);
    intptr_t vendorVersion() { return dispatch(vst2::effGetVendorVersion); }
    intptr_t category() { return dispatch(vst2::effGetPlugCategory); }
    bool canDo(const char* capability);

    void setProgram(int index) { dispatch(vst2::effSetProgram, 0, index); }
    int program() { return static_cast<int>(dispatch(vst2::effGetProgram)); }
    void setSampleRate(float sampleRateHz) {
        dispatch(vst2::effSetSampleRate, 0, 0, nullptr, sampleRateHz);
    }
    void setBlockSize(int frames) { dispatch(vst2::effSetBlockSize, 0, frames); }
    void resume() { dispatch(vst2::effMainsChanged, 0, 1); }
    void suspend() { dispatch(vst2::effMainsChanged, 0, 0); }

    void setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }
    float getParameter(int index) { return effect_->getParameter(effect_, index); }
    void process(float** inputs, float** outputs, int frames);
    void process(double** inputs, double** outputs, int frames);

    // Every callback made since loading (or since the last clear), audioMasterVersion included.
    std::vector<HostCall> hostCalls() const;
    void clearHostCalls();

  private:
    static intptr_t VST2_CALL hostCallback(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, float opt);
    std::string readText(int32_t opcode, int32_t index);

    HostOptions options_;
    DynamicLibrary library_;
    vst2::AEffect* effect_ = nullptr;
    std::string error_;
    mutable std::mutex callsMutex_;
    std::vector<HostCall> calls_;
};
