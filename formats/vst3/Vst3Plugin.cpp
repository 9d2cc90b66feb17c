#include "formats/vst3/Vst3Plugin.h"

#include "formats/common/HostKeySpan.h"
#include "formats/common/SystemEditor.h"
#include "formats/vst3/Vst3Parameters.h"
#include "formats/vst3/Vst3Text.h"
#include "formats/vst3/Vst3View.h"
#include "plugin/StateRecord.h"

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kMaxQueues = 64;

bool isIid(const TUID asked, const TUID iid) {
    return FUnknownPrivate::iidEqual(asked, iid);
}

bool isMainAudioBus(MediaType type, int32 index) {
    return type == kAudio && index == 0;
}

// The key input: an aux bus beside the main input, stereo or mono, which the host switches on.
constexpr int32 kKeyBus = 1;
bool isKeyBus(MediaType type, BusDirection dir, int32 index) {
    return type == kAudio && dir == kInput && index == kKeyBus;
}

int32 channelsOf(SpeakerArrangement arrangement) {
    return arrangement == SpeakerArr::kMono ? 1 : 2;
}

// Where a queue's next point lands in the block: never before what is already processed,
// never after the block's end.
int32 pointOffset(IParamValueQueue* queue, int32 point, int32 done, int32 frames,
                  ParamValue& value) {
    int32 offset = 0;
    if (queue->getPoint(point, offset, value) != kResultOk) {
        value = std::nan("");
        return done;
    }
    return std::clamp(offset, done, frames);
}

template <typename Sample> Sample** channels(AudioBusBuffers& bus);
template <> Sample32** channels<Sample32>(AudioBusBuffers& bus) {
    return bus.channelBuffers32;
}
template <> Sample64** channels<Sample64>(AudioBusBuffers& bus) {
    return bus.channelBuffers64;
}

} // namespace

Vst3Plugin::Vst3Plugin()
    : effect_(this), hostValues_(effect_, kInVst3), editor_(effect_, *this, createSystemEditor) {}

// The editor goes after this body, and may still report edits as it closes.
Vst3Plugin::~Vst3Plugin() {
    setComponentHandler(nullptr);
}

void Vst3Plugin::viewClosed(Vst3View* view) {
    if (view_ == view) view_ = nullptr;
}

tresult PLUGIN_API Vst3Plugin::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (isIid(iid, FUnknown_iid) || isIid(iid, IPluginBase_iid) || isIid(iid, IComponent_iid))
        *obj = static_cast<IComponent*>(this);
    else if (isIid(iid, IAudioProcessor_iid))
        *obj = static_cast<IAudioProcessor*>(this);
    else if (isIid(iid, IProcessContextRequirements_iid))
        *obj = static_cast<IProcessContextRequirements*>(this);
    else if (isIid(iid, IEditController_iid))
        *obj = static_cast<IEditController*>(this);
    else if (isIid(iid, IUnitInfo_iid))
        *obj = static_cast<IUnitInfo*>(this);
    else {
        *obj = nullptr;
        return kNoInterface;
    }
    addRef();
    return kResultOk;
}

uint32 PLUGIN_API Vst3Plugin::addRef() {
    return ++references_;
}

uint32 PLUGIN_API Vst3Plugin::release() {
    const uint32 left = --references_;
    if (left == 0) delete this;
    return left;
}

// Hosts that see one object as both halves may initialize it twice; both calls succeed.
tresult PLUGIN_API Vst3Plugin::initialize(FUnknown*) {
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::terminate() {
    setActive(false);
    setComponentHandler(nullptr);
    return kResultOk;
}

// The controller is this same object, which hosts find by asking it for IEditController.
tresult PLUGIN_API Vst3Plugin::getControllerClassId(TUID) {
    return kNotImplemented;
}

tresult PLUGIN_API Vst3Plugin::setIoMode(IoMode) {
    return kResultOk;
}

int32 PLUGIN_API Vst3Plugin::getBusCount(MediaType type, BusDirection dir) {
    if (type != kAudio) return 0;
    return dir == kInput ? kKeyBus + 1 : 1;
}

tresult PLUGIN_API Vst3Plugin::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                          BusInfo& bus) {
    if (isKeyBus(type, dir, index)) {
        bus = BusInfo{};
        bus.mediaType = kAudio;
        bus.direction = kInput;
        bus.channelCount = keyChannels_.load();
        copyToUtf16("Sidechain", bus.name, 128);
        bus.busType = kAux;
        bus.flags = 0; // inactive until the host routes a key to it
        return kResultOk;
    }
    if (!isMainAudioBus(type, index)) return kInvalidArgument;
    bus = BusInfo{};
    bus.mediaType = kAudio;
    bus.direction = dir;
    bus.channelCount = 2;
    copyToUtf16(dir == kInput ? "Stereo In" : "Stereo Out", bus.name, 128);
    bus.busType = kMain;
    bus.flags = BusInfo::kDefaultActive;
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
    return kNotImplemented;
}

// The main buses are always active; the key bus is active while the host says so.
tresult PLUGIN_API Vst3Plugin::activateBus(MediaType type, BusDirection dir, int32 index,
                                           TBool state) {
    if (isKeyBus(type, dir, index)) {
        keyActive_.store(state != 0);
        return kResultOk;
    }
    return isMainAudioBus(type, index) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Plugin::setActive(TBool state) {
    const bool on = state != 0;
    if (on == active_.load()) return kResultOk;
    if (on)
        effect_.resume();
    else
        effect_.suspend();
    active_.store(on);
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::setState(IBStream* state) {
    if (!state) return kInvalidArgument;
    stateRecord::Bytes bytes{};
    int32 read = 0;
    if (state->read(bytes.data(), static_cast<int32>(bytes.size()), &read) != kResultOk)
        return kResultFalse;
    EffectState restored;
    if (!stateRecord::read(bytes.data(), static_cast<std::size_t>(std::max(read, 0)), restored))
        return kResultFalse;
    restoreState(effect_, restored);
    restartValues();
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getState(IBStream* state) {
    if (!state) return kInvalidArgument;
    stateRecord::Bytes bytes = stateRecord::write(currentState(effect_));
    int32 written = 0;
    const tresult result = state->write(bytes.data(), static_cast<int32>(bytes.size()), &written);
    return result == kResultOk && written == static_cast<int32>(bytes.size()) ? kResultOk
                                                                              : kResultFalse;
}

// Stereo main buses, and a key that is stereo or mono; a host that names the main buses alone
// keeps the key's arrangement. Anything else is refused, and the host reads back what holds.
tresult PLUGIN_API Vst3Plugin::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                  SpeakerArrangement* outputs, int32 numOuts) {
    const bool mainStereo = (numIns == 1 || numIns == kKeyBus + 1) && numOuts == 1 && inputs &&
                            outputs && inputs[0] == SpeakerArr::kStereo &&
                            outputs[0] == SpeakerArr::kStereo;
    if (!mainStereo) return kResultFalse;
    if (numIns == 1) return kResultTrue;
    const SpeakerArrangement key = inputs[kKeyBus];
    if (key != SpeakerArr::kStereo && key != SpeakerArr::kMono) return kResultFalse;
    keyChannels_.store(channelsOf(key));
    return kResultTrue;
}

tresult PLUGIN_API Vst3Plugin::getBusArrangement(BusDirection dir, int32 index,
                                                 SpeakerArrangement& arr) {
    if (isKeyBus(kAudio, dir, index)) {
        arr = keyChannels_.load() == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        return kResultOk;
    }
    if (index != 0) return kInvalidArgument;
    arr = SpeakerArr::kStereo;
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::canProcessSampleSize(int32 symbolicSampleSize) {
    return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                              : kResultFalse;
}

uint32 PLUGIN_API Vst3Plugin::getLatencySamples() {
    return CompressorEffect::kLatencySamples;
}

tresult PLUGIN_API Vst3Plugin::setupProcessing(ProcessSetup& setup) {
    const float rateHz = static_cast<float>(setup.sampleRate);
    if (!std::isfinite(rateHz) || rateHz <= 0.0f ||
        canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    effect_.setSampleRate(rateHz);
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::setProcessing(TBool) {
    return kResultOk;
}

bool Vst3Plugin::hasAudio(const ProcessData& data) const {
    if (!active_.load(std::memory_order_relaxed) || data.numSamples <= 0) return false;
    if (data.numInputs < 1 || data.numOutputs < 1 || !data.inputs || !data.outputs) return false;
    const AudioBusBuffers& in = data.inputs[0];
    const AudioBusBuffers& out = data.outputs[0];
    if (in.numChannels < 2 || out.numChannels < 2) return false;
    if (data.symbolicSampleSize == kSample32)
        return in.channelBuffers32 && out.channelBuffers32 && in.channelBuffers32[0] &&
               in.channelBuffers32[1] && out.channelBuffers32[0] && out.channelBuffers32[1];
    if (data.symbolicSampleSize == kSample64)
        return in.channelBuffers64 && out.channelBuffers64 && in.channelBuffers64[0] &&
               in.channelBuffers64[1] && out.channelBuffers64[0] && out.channelBuffers64[1];
    return false;
}

void Vst3Plugin::silenceOutputs(ProcessData& data) {
    if (data.numSamples <= 0 || data.numOutputs < 1 || !data.outputs) return;
    AudioBusBuffers& out = data.outputs[0];
    for (int32 c = 0; c < out.numChannels; ++c) {
        if (data.symbolicSampleSize == kSample32 && out.channelBuffers32 && out.channelBuffers32[c])
            std::fill_n(out.channelBuffers32[c], data.numSamples, 0.0f);
        if (data.symbolicSampleSize == kSample64 && out.channelBuffers64 && out.channelBuffers64[c])
            std::fill_n(out.channelBuffers64[c], data.numSamples, 0.0);
    }
    out.silenceFlags = out.numChannels >= 64 ? ~uint64(0) : (uint64(1) << out.numChannels) - 1;
}

// The key is heard only from an active key bus whose buffers have the channels its arrangement
// has; anything else a host hands over is silence.
template <typename Sample>
HostKeySpan<Sample> Vst3Plugin::keySpan(ProcessData& data, int32 start) const {
    if (!keyActive_.load(std::memory_order_relaxed) || data.numInputs <= kKeyBus) return {};
    AudioBusBuffers& key = data.inputs[kKeyBus];
    if (key.numChannels != keyChannels_.load(std::memory_order_relaxed)) return {};
    return {channels<Sample>(key), key.numChannels, start};
}

template <typename Sample> void Vst3Plugin::processSpan(ProcessData& data, int32 start, int32 end) {
    Sample** in = channels<Sample>(data.inputs[0]);
    Sample** out = channels<Sample>(data.outputs[0]);
    Sample* inputs[2] = {in[0] + start, in[1] + start};
    Sample* outputs[2] = {out[0] + start, out[1] + start};
    const HostKeySpan<Sample> key = keySpan<Sample>(data, start);
    effect_.process(inputs, outputs, end - start, key.key());
}

// What the host sent: the effect takes it, and the host knows it.
void Vst3Plugin::applyChange(ParamID id, ParamValue value) {
    ParamValue limited;
    if (!vst3param::usableValue(value, limited)) return;
    if (vst3param::isEffectParameter(id)) {
        const float effectValue = vst3param::effectValue(id, limited);
        effect_.setParameter(static_cast<int>(id), effectValue);
        hostValues_.heard(static_cast<int>(id), effectValue);
    } else if (id == vst3param::kProgramChange) {
        effect_.setProgram(vst3param::programAt(limited));
    }
}

// The host reads every value again, the program's too.
void Vst3Plugin::restartValues() {
    hostValues_.heardAll();
    if (handler_) handler_->restartComponent(kParamValuesChanged);
}

// What the effect changed by itself goes to the host as the block's last points, so its lanes
// and generic controls show what is heard.
void Vst3Plugin::reportOwnChanges(IParameterChanges* outputs) {
    hostValues_.report([&](int index, float value) {
        const auto id = static_cast<ParamID>(index);
        int32 queueIndex = 0, pointIndex = 0;
        IParamValueQueue* queue = outputs ? outputs->addParameterData(id, queueIndex) : nullptr;
        return queue &&
               queue->addPoint(0, vst3param::normalizedOf(id, value), pointIndex) == kResultOk;
    });
}

// The block is cut at every parameter change, so each lands on its own sample.
tresult PLUGIN_API Vst3Plugin::process(ProcessData& data) {
    IParameterChanges* changes = data.inputParameterChanges;
    const int32 numQueues = changes ? std::clamp(changes->getParameterCount(), 0, kMaxQueues) : 0;
    IParamValueQueue* queues[kMaxQueues] = {};
    int32 nextPoint[kMaxQueues] = {};
    for (int32 q = 0; q < numQueues; ++q)
        queues[q] = changes->getParameterData(q);

    const bool audio = hasAudio(data);
    const int32 frames = std::max(data.numSamples, 0);
    for (int32 done = 0;;) {
        int32 nextChange = frames;
        bool pending = false;
        for (int32 q = 0; q < numQueues; ++q) {
            if (!queues[q] || nextPoint[q] >= queues[q]->getPointCount()) continue;
            ParamValue value;
            nextChange =
                std::min(nextChange, pointOffset(queues[q], nextPoint[q], done, frames, value));
            pending = true;
        }
        if (audio && nextChange > done) {
            if (data.symbolicSampleSize == kSample32)
                processSpan<Sample32>(data, done, nextChange);
            else
                processSpan<Sample64>(data, done, nextChange);
        }
        done = nextChange;
        if (!pending) break;
        for (int32 q = 0; q < numQueues; ++q) {
            while (queues[q] && nextPoint[q] < queues[q]->getPointCount()) {
                ParamValue value;
                if (pointOffset(queues[q], nextPoint[q], done, frames, value) > done) break;
                const ParamID id = queues[q]->getParameterId();
                applyChange(id, value);
                // A program chosen through automation set every value without the host.
                if (id == vst3param::kProgramChange) hostValues_.programChosen();
                ++nextPoint[q];
            }
        }
    }
    if (audio)
        data.outputs[0].silenceFlags = 0;
    else
        silenceOutputs(data);
    reportOwnChanges(data.outputParameterChanges);
    return kResultOk;
}

// Measured: once the input falls silent, its trace in the output sinks below -160 dBFS within
// 6 ms after the latency for every program from 22.05 to 192 kHz; the engine's own output
// noise goes on regardless, so the tail is where the input stops being heard, with a margin.
uint32 PLUGIN_API Vst3Plugin::getTailSamples() {
    constexpr double kRingingSeconds = 0.010;
    return CompressorEffect::kLatencySamples +
           static_cast<uint32>(std::ceil(effect_.sampleRate() * kRingingSeconds));
}

// The component's state is this object's own; there is nothing more to take over.
tresult PLUGIN_API Vst3Plugin::setComponentState(IBStream*) {
    return kResultOk;
}

int32 PLUGIN_API Vst3Plugin::getParameterCount() {
    return static_cast<int32>(vst3param::listedCount());
}

tresult PLUGIN_API Vst3Plugin::getParameterInfo(int32 paramIndex, Vst::ParameterInfo& info) {
    return vst3param::describe(paramIndex, info) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Plugin::getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                     String128 string) {
    ParamValue limited;
    if (!string || !vst3param::isKnown(id) || !vst3param::usableValue(valueNormalized, limited))
        return kInvalidArgument;
    if (vst3param::isEffectParameter(id))
        copyToUtf16(kParameters[id].hostText(vst3param::effectValue(id, limited)).text, string,
                    128);
    else
        copyToUtf16(effect_.programName(vst3param::programAt(limited)), string, 128);
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getParamValueByString(ParamID id, TChar* string,
                                                     ParamValue& valueNormalized) {
    if (!string) return kInvalidArgument;
    return vst3param::valueFromText(id, fromUtf16(string, 128), valueNormalized) ? kResultOk
                                                                                 : kResultFalse;
}

ParamValue PLUGIN_API Vst3Plugin::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
    return vst3param::toPlain(id, valueNormalized);
}

ParamValue PLUGIN_API Vst3Plugin::plainParamToNormalized(ParamID id, ParamValue plainValue) {
    return vst3param::toNormalized(id, plainValue);
}

ParamValue PLUGIN_API Vst3Plugin::getParamNormalized(ParamID id) {
    if (vst3param::isEffectParameter(id))
        return vst3param::normalizedOf(id, effect_.getParameter(static_cast<int>(id)));
    if (id == vst3param::kProgramChange) return vst3param::programValue(effect_.getProgram());
    return 0.0;
}

// The host sets what it already sent the processor, or a program it chose from its menu; a
// value the effect holds already is not set again, so the exclusions stay as they are.
tresult PLUGIN_API Vst3Plugin::setParamNormalized(ParamID id, ParamValue value) {
    ParamValue limited;
    if (!vst3param::isKnown(id) || !vst3param::usableValue(value, limited)) return kInvalidArgument;
    if (vst3param::isEffectParameter(id) &&
        effect_.getParameter(static_cast<int>(id)) == vst3param::effectValue(id, limited))
        return kResultOk;
    if (id == vst3param::kProgramChange && vst3param::programAt(limited) == effect_.getProgram())
        return kResultOk;
    applyChange(id, limited);
    if (id == vst3param::kProgramChange) restartValues();
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::setComponentHandler(IComponentHandler* handler) {
    if (handler == handler_) return kResultOk;
    if (handler) handler->addRef();
    if (handler_) handler_->release();
    handler_ = handler;
    return kResultOk;
}

IPlugView* PLUGIN_API Vst3Plugin::createView(FIDString name) {
    if (!name || std::strcmp(name, ViewType::kEditor) != 0 || !editor_.editor() || view_)
        return nullptr;
    return new (std::nothrow) Vst3View(*this, *editor_.editor());
}

tresult PLUGIN_API Vst3Plugin::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex != 0) return kInvalidArgument;
    info = UnitInfo{};
    info.id = kRootUnitId;
    info.parentUnitId = kNoParentUnitId;
    copyToUtf16("Root", info.name, 128);
    info.programListId = vst3param::kProgramList;
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex != 0) return kInvalidArgument;
    info = ProgramListInfo{};
    info.id = vst3param::kProgramList;
    copyToUtf16("Factory Programs", info.name, 128);
    info.programCount = kNumPrograms;
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getProgramName(ProgramListID listId, int32 programIndex,
                                              String128 name) {
    if (listId != vst3param::kProgramList || programIndex < 0 || programIndex >= kNumPrograms ||
        !name)
        return kInvalidArgument;
    copyToUtf16(effect_.programName(programIndex), name, 128);
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::getProgramInfo(ProgramListID, int32, Vst::CString, String128) {
    return kResultFalse;
}

tresult PLUGIN_API Vst3Plugin::hasProgramPitchNames(ProgramListID, int32) {
    return kResultFalse;
}

tresult PLUGIN_API Vst3Plugin::getProgramPitchName(ProgramListID, int32, int16, String128) {
    return kResultFalse;
}

tresult PLUGIN_API Vst3Plugin::selectUnit(UnitID unitId) {
    return unitId == kRootUnitId ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Plugin::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID& unitId) {
    unitId = kRootUnitId;
    return kResultOk;
}

tresult PLUGIN_API Vst3Plugin::setUnitProgramData(int32, int32, IBStream*) {
    return kResultFalse;
}

void Vst3Plugin::automate(int index, float value) {
    const auto id = static_cast<ParamID>(index);
    if (!vst3param::isEffectParameter(id)) return;
    hostValues_.heard(index, value);
    if (handler_) handler_->performEdit(id, vst3param::normalizedOf(id, value));
}

void Vst3Plugin::beginEdit(int index) {
    if (handler_ && vst3param::isEffectParameter(static_cast<ParamID>(index)))
        handler_->beginEdit(static_cast<ParamID>(index));
}

void Vst3Plugin::endEdit(int index) {
    if (handler_ && vst3param::isEffectParameter(static_cast<ParamID>(index)))
        handler_->endEdit(static_cast<ParamID>(index));
}

void Vst3Plugin::programChanged() {
    if (handler_) {
        handler_->beginEdit(vst3param::kProgramChange);
        handler_->performEdit(vst3param::kProgramChange,
                              vst3param::programValue(effect_.getProgram()));
        handler_->endEdit(vst3param::kProgramChange);
    }
    restartValues();
}

bool Vst3Plugin::resizeEditorWindow(int width, int height) {
    return view_ && view_->askFrameToResize(width, height);
}
