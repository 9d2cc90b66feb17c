#include "formats/vst2/EffectRecord.h"

#include "formats/vst2/Vst2Dispatcher.h"
#include "formats/vst2/Vst2Plugin.h"

#include <algorithm>

namespace {

intptr_t VST2_CALL dispatcherEntry(vst2::AEffect* record, int32_t opcode, int32_t index,
                                   intptr_t value, void* ptr, float opt) {
    Vst2Plugin* plugin = Vst2Plugin::fromRecord(record);
    if (!plugin) return 0;
    if (opcode == vst2::effClose) {
        delete plugin;
        return 1;
    }
    return dispatchRequest(*plugin, opcode, index, value, ptr, opt);
}

// A VST 2 host's values run from 0 to 1 by the format's definition, and a host saves only what
// the module reports: a value past an end is taken as that end, so no host reads back or saves
// a value the module does not declare. Values inside the range pass unchanged; not a number
// passes too, and the effect stores it as 0.
float hostValue(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

void VST2_CALL setParameterEntry(vst2::AEffect* record, int32_t index, float value) {
    Vst2Plugin* plugin = Vst2Plugin::fromRecord(record);
    if (plugin && isVst2Slot(index)) plugin->effect().setParameter(index, hostValue(value));
}

float VST2_CALL getParameterEntry(vst2::AEffect* record, int32_t index) {
    Vst2Plugin* plugin = Vst2Plugin::fromRecord(record);
    return plugin ? plugin->getParameter(index) : 0.0f;
}

template <typename Sample> bool hasStereoBuffers(Sample** inputs, Sample** outputs) {
    return inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
}

template <typename Sample>
void processEntry(vst2::AEffect* record, Sample** inputs, Sample** outputs, int32_t frames) {
    Vst2Plugin* plugin = Vst2Plugin::fromRecord(record);
    if (plugin && hasStereoBuffers(inputs, outputs))
        plugin->effect().process(inputs, outputs, frames);
}

void VST2_CALL processReplacingEntry(vst2::AEffect* record, float** inputs, float** outputs,
                                     int32_t frames) {
    processEntry(record, inputs, outputs, frames);
}

void VST2_CALL processDoubleReplacingEntry(vst2::AEffect* record, double** inputs, double** outputs,
                                           int32_t frames) {
    processEntry(record, inputs, outputs, frames);
}

// The deprecated accumulating call is not offered; hosts that still use it get silence added.
void VST2_CALL processAccumulatingEntry(vst2::AEffect*, float**, float**, int32_t) {}

} // namespace

void bindEffectRecord(vst2::AEffect& record, Vst2Plugin& plugin) {
    record.magic = vst2::kEffectMagic;
    record.object = &plugin;
    record.dispatcher = dispatcherEntry;
    record.setParameter = setParameterEntry;
    record.getParameter = getParameterEntry;
    record.processReplacing = processReplacingEntry;
    record.processDoubleReplacing = processDoubleReplacingEntry;
    record.process = processAccumulatingEntry;
}
