#include "formats/vst3/Vst3Parameters.h"

#include "formats/vst3/Vst3Text.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ValueFromText.h"

#include <algorithm>
#include <cmath>

namespace vst3param {
namespace {

using Steinberg::Vst::ParameterInfo;

void describeEffectParameter(int index, ParameterInfo& info) {
    const ::ParameterInfo& parameter = kParameters[index];
    info.id = static_cast<ParamID>(index);
    copyToUtf16(parameter.name, info.title, 128);
    copyToUtf16(parameter.shortName, info.shortTitle, 128);
    copyToUtf16(unitSymbol(parameter.plain.unit), info.units, 128);
    info.stepCount = stepCount(parameter.plain);
    info.defaultNormalizedValue = normalizedOf(info.id, defaultValue(index));
    info.flags = ParameterInfo::kCanAutomate;
    if (isList(parameter.plain)) info.flags |= ParameterInfo::kIsList;
    // Hosts' own bypass buttons then drive the latency-matched Bypass.
    if (parameter.designation == Designation::bypass) info.flags |= ParameterInfo::kIsBypass;
}

} // namespace

int listedCount() {
    return ::listedCount(kInVst3) + 1;
}

bool idAt(int listIndex, ParamID& id) {
    if (listIndex < 0 || listIndex >= listedCount()) return false;
    const int index = listedAt(kInVst3, listIndex);
    id = index >= 0 ? static_cast<ParamID>(index) : kProgramChange;
    return true;
}

bool isEffectParameter(ParamID id) {
    return id < static_cast<ParamID>(kNumParameters) && isListedIn(kInVst3, static_cast<int>(id));
}

bool isKnown(ParamID id) {
    return isEffectParameter(id) || id == kProgramChange;
}

bool describe(int listIndex, ParameterInfo& info) {
    ParamID id;
    if (!idAt(listIndex, id)) return false;
    info = ParameterInfo{};
    info.unitId = Steinberg::Vst::kRootUnitId;
    if (isEffectParameter(id)) {
        describeEffectParameter(static_cast<int>(id), info);
    } else {
        info.id = id;
        copyToUtf16("Program", info.title, 128);
        copyToUtf16("Program", info.shortTitle, 128);
        info.stepCount = kNumPrograms - 1;
        info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
    }
    return true;
}

bool usableValue(ParamValue value, ParamValue& limited) {
    if (std::isnan(value)) return false;
    limited = std::clamp(value, 0.0, 1.0);
    return true;
}

float effectValue(ParamID id, ParamValue normalized) {
    return valueFromRising(kParameters[id].plain, normalized);
}

ParamValue normalizedOf(ParamID id, float effectValue) {
    return risingNormalized(kParameters[id].plain, effectValue);
}

int programAt(ParamValue normalized) {
    const double limited = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    return static_cast<int>(std::lround(limited * (kNumPrograms - 1)));
}

ParamValue programValue(int program) {
    return static_cast<ParamValue>(program) / (kNumPrograms - 1);
}

bool valueFromText(ParamID id, const std::string& text, ParamValue& normalized) {
    if (id == kProgramChange) {
        for (int program = 0; program < kNumPrograms; ++program)
            if (text == factoryProgramName(program) || text == std::to_string(program)) {
                normalized = programValue(program);
                return true;
            }
        return false;
    }
    if (!isEffectParameter(id)) return false;
    const ParsedValue parsed = ::valueFromText(static_cast<int>(id), text);
    if (parsed.ok) normalized = normalizedOf(id, parsed.normalized);
    return parsed.ok;
}

ParamValue toPlain(ParamID id, ParamValue normalized) {
    ParamValue limited = 0.0;
    usableValue(normalized, limited);
    if (isEffectParameter(id)) return kParameters[id].plain.toPlain(effectValue(id, limited));
    if (id == kProgramChange) return programAt(limited);
    return 0.0;
}

ParamValue toNormalized(ParamID id, ParamValue plain) {
    if (isEffectParameter(id)) return normalizedOf(id, kParameters[id].plain.toNormalized(plain));
    if (std::isnan(plain)) return 0.0;
    if (id == kProgramChange)
        return programValue(
            static_cast<int>(std::lround(std::clamp(plain, 0.0, double{kNumPrograms - 1}))));
    return 0.0;
}

} // namespace vst3param
