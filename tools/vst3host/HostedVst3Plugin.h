#pragma once

#include "DynamicLibrary.h"
#include "HostObjects.h"

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <string>
#include <vector>

// The module inside a bundle for this machine: BUNDLE/Contents/x86_64-linux/NAME.so, or on
// Windows BUNDLE\Contents\x86_64-win\NAME.vst3 (x86-win for 32 bits).
std::string vst3ModulePath(const std::string& bundlePath);

// A VST 3 plug-in loaded as a host loads it: the module's entry, its factory, the first
// audio-effect class made into a component, and its controller, from the component itself or
// from the class the component names. Processing goes through one stereo bus each way.
class HostedVst3Plugin {
  public:
    explicit HostedVst3Plugin(const std::string& bundlePath);
    ~HostedVst3Plugin(); // terminates and releases everything, then leaves the module
    HostedVst3Plugin(const HostedVst3Plugin&) = delete;
    HostedVst3Plugin& operator=(const HostedVst3Plugin&) = delete;

    bool isLoaded() const { return processor_ != nullptr && controller_ != nullptr; }
    const std::string& error() const { return error_; }

    Steinberg::IPluginFactory* factory() { return factory_; }
    Steinberg::Vst::IComponent* component() { return component_; }
    Steinberg::Vst::IAudioProcessor* processor() { return processor_; }
    Steinberg::Vst::IEditController* controller() { return controller_; }
    Steinberg::Vst::IUnitInfo* unitInfo(); // null when the controller has none
    ComponentHandler& handler() { return handler_; }
    bool controllerIsComponent() const { return separateController_ == nullptr; }

    // setupProcessing with the largest block the tests use, then setActive and setProcessing.
    Steinberg::tresult setup(double rateHz, Steinberg::int32 sampleSize,
                             Steinberg::int32 maxBlock = 8192);
    void activate(bool on);

    // One process call; the changes arrive in the block's parameter queues, and what the
    // plug-in reported back is kept in outputChanges.
    template <typename Sample>
    Steinberg::tresult process(Sample** inputs, Sample** outputs, Steinberg::int32 frames,
                               const std::vector<ParameterPoint>& changes = {});
    Steinberg::tresult processData(Steinberg::Vst::ProcessData& data);
    const std::vector<ParameterPoint>& outputChanges() const { return outputChanges_; }

    std::vector<uint8_t> state();
    Steinberg::tresult setState(const std::vector<uint8_t>& bytes);

    std::string text(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized);
    std::string parameterTitle(int listIndex);

  private:
    DynamicLibrary library_;
    std::string error_;
    HostApplication application_;
    ComponentHandler handler_;
    Steinberg::IPluginFactory* factory_ = nullptr;
    Steinberg::Vst::IComponent* component_ = nullptr;
    Steinberg::Vst::IAudioProcessor* processor_ = nullptr;
    Steinberg::Vst::IEditController* controller_ = nullptr;
    Steinberg::Vst::IEditController* separateController_ = nullptr;
    Steinberg::int32 sampleSize_ = Steinberg::Vst::kSample32;
    std::vector<ParameterPoint> outputChanges_;
};

// UTF-16 from the interfaces as ASCII text, for comparisons.
std::string asciiText(const Steinberg::Vst::TChar* text);
