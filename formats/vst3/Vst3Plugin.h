#pragma once

#include "formats/common/EditorBinding.h"
#include "formats/common/HostKeySpan.h"
#include "formats/common/HostValueMirror.h"
#include "plugin/CompressorEffect.h"
#include "plugin/EffectHost.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <atomic>

class Vst3View;

// The effect as one VST 3 object: component, audio processor, edit controller and unit info
// in one, so host and editor reach the same effect and nothing travels between halves. The
// adapter translates and keeps the editor; the effect keeps the values and programs.
class Vst3Plugin final : public Steinberg::Vst::IComponent,
                         public Steinberg::Vst::IAudioProcessor,
                         public Steinberg::Vst::IProcessContextRequirements,
                         public Steinberg::Vst::IEditController,
                         public Steinberg::Vst::IUnitInfo,
                         public EffectHost {
  public:
    using tresult = Steinberg::tresult;
    using TBool = Steinberg::TBool;
    using int32 = Steinberg::int32;
    using uint32 = Steinberg::uint32;
    using ParamID = Steinberg::Vst::ParamID;
    using ParamValue = Steinberg::Vst::ParamValue;

    Vst3Plugin();
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

    CompressorEffect& effect() { return effect_; }
    // The open view tells the plug-in it exists, so the editor's size requests reach its frame.
    void viewOpened(Vst3View* view) { view_ = view; }
    void viewClosed(Vst3View* view);

    // FUnknown
    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override;
    uint32 PLUGIN_API release() override;

    // IPluginBase, shared by component and controller
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    tresult PLUGIN_API terminate() override;

    // IComponent
    tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
    tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
    int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                 Steinberg::Vst::BusDirection dir) override;
    tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                  int32 index, Steinberg::Vst::BusInfo& bus) override;
    tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                      Steinberg::Vst::RoutingInfo& outInfo) override;
    tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                   int32 index, TBool state) override;
    tresult PLUGIN_API setActive(TBool state) override;
    tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
    tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

    // IAudioProcessor
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs,
                                          int32 numOuts) override;
    tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, int32 index,
                                         Steinberg::Vst::SpeakerArrangement& arr) override;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
    uint32 PLUGIN_API getLatencySamples() override;
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
    tresult PLUGIN_API setProcessing(TBool state) override;
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
    uint32 PLUGIN_API getTailSamples() override;

    // IProcessContextRequirements
    uint32 PLUGIN_API getProcessContextRequirements() override { return 0; }

    // IEditController
    tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) override;
    int32 PLUGIN_API getParameterCount() override;
    tresult PLUGIN_API getParameterInfo(int32 paramIndex,
                                        Steinberg::Vst::ParameterInfo& info) override;
    tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             Steinberg::Vst::String128 string) override;
    tresult PLUGIN_API getParamValueByString(ParamID id, Steinberg::Vst::TChar* string,
                                             ParamValue& valueNormalized) override;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) override;
    ParamValue PLUGIN_API getParamNormalized(ParamID id) override;
    tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) override;
    tresult PLUGIN_API setComponentHandler(Steinberg::Vst::IComponentHandler* handler) override;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

    // IUnitInfo: the root unit with the factory programs as its one program list
    int32 PLUGIN_API getUnitCount() override { return 1; }
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, Steinberg::Vst::UnitInfo& info) override;
    int32 PLUGIN_API getProgramListCount() override { return 1; }
    tresult PLUGIN_API getProgramListInfo(int32 listIndex,
                                          Steinberg::Vst::ProgramListInfo& info) override;
    tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::String128 name) override;
    tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::CString attributeId,
                                      Steinberg::Vst::String128 attributeValue) override;
    tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                            int32 programIndex) override;
    tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                           Steinberg::int16 midiPitch,
                                           Steinberg::Vst::String128 name) override;
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override {
        return Steinberg::Vst::kRootUnitId;
    }
    tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) override;
    tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type,
                                    Steinberg::Vst::BusDirection dir, int32 busIndex, int32 channel,
                                    Steinberg::Vst::UnitID& unitId) override;
    tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                          Steinberg::IBStream* data) override;

    // EffectHost: the editor's changes go to the host as edits of the same IDs.
    void automate(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    bool resizeEditorWindow(int width, int height) override;
    // A program chosen in the editor is the host's current program, set through the
    // program-change parameter; the host then reads every value anew.
    bool listsPrograms() const override { return true; }
    void programChanged() override;

  private:
    ~Vst3Plugin();
    template <typename Sample>
    HostKeySpan<Sample> keySpan(Steinberg::Vst::ProcessData& data, int32 start) const;
    template <typename Sample>
    void processSpan(Steinberg::Vst::ProcessData& data, int32 start, int32 end);
    void applyChange(ParamID id, ParamValue value);
    void restartValues();
    void reportOwnChanges(Steinberg::Vst::IParameterChanges* outputs);
    bool hasAudio(const Steinberg::Vst::ProcessData& data) const;
    static void silenceOutputs(Steinberg::Vst::ProcessData& data);

    std::atomic<uint32> references_{1};
    std::atomic<bool> active_{false};
    // The key bus: whether the host switched it on, and its channels as arranged (1 or 2).
    std::atomic<bool> keyActive_{false};
    std::atomic<int32> keyChannels_{2};
    Steinberg::Vst::IComponentHandler* handler_ = nullptr;
    Vst3View* view_ = nullptr;
    // Declared last so they are destroyed first, while the handler and view the editor may
    // reach are whole; the editor goes before the effect it reads.
    CompressorEffect effect_;
    HostValueMirror hostValues_;
    EditorBinding editor_;
};
