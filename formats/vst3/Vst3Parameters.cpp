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
    info.defaultNormalizedValue = defaultValue(index);
    info.flags = ParameterInfo::kCanAutomate;
    if (isList(parameter.plain)) info.flags |= ParameterInfo::kIsList;
}

} // namespace

int listedCount() {
    return ::listedCount(kInVst3) + 2;
}

bool idAt(int listIndex, ParamID& id) {
    if (listIndex < 0 || listIndex >= listedCount()) return false;
    const int index = listedAt(kInVst3, listIndex);
    if (index >= 0)
        id = static_cast<ParamID>(index);
    else
        id = listIndex == ::listedCount(kInVst3) ? kHostBypass : kProgramChange;
    return true;
}

bool isEffectParameter(ParamID id) {
    return id < static_cast<ParamID>(kNumParameters) && isListedIn(kInVst3, static_cast<int>(id));
}

bool isKnown(ParamID id) {
    return isEffectParameter(id) || id == kHostBypass || id == kProgramChange;
}

bool describe(int listIndex, ParameterInfo& info) {
    ParamID id;
    if (!idAt(listIndex, id)) return false;
    info = ParameterInfo{};
    info.unitId = Steinberg::Vst::kRootUnitId;
    if (isEffectParameter(id)) {
        describeEffectParameter(static_cast<int>(id), info);
    } else if (id == kHostBypass) {
        info.id = id;
        copyToUtf16("Host Bypass", info.title, 128);
        copyToUtf16("Bypass", info.shortTitle, 128);
        info.stepCount = 1;
        info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;
    } else {
        info.id = id;
        copyToUtf16("Program", info.title, 128);
        copyToUtf16("Program", info.shortTitle, 128);
        info.stepCount = kNumPrograms - 1;
        info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
    }
    return true;
}

bool usableValue(ParamValue value, float& stored) {
    if (std::isnan(value)) return false;
    stored = static_cast<float>(std::clamp(value, 0.0, 1.0));
    return true;
}

int programAt(ParamValue normalized) {
    const double limited = std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
    return static_cast<int>(std::lround(limited * (kNumPrograms - 1)));
}

ParamValue programValue(int program) {
    return static_cast<ParamValue>(program) / (kNumPrograms - 1);
}

bool hostBypassOn(ParamValue normalized) {
    return normalized >= 0.5;
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
    if (!isEffectParameter(id) && id != kHostBypass) return false;
    const ParsedValue parsed = ::valueFromText(id == kHostBypass ? kBypass : int(id), text);
    if (parsed.ok) normalized = parsed.normalized;
    return parsed.ok;
}

ParamValue toPlain(ParamID id, ParamValue normalized) {
    float stored = 0.0f;
    usableValue(normalized, stored);
    if (isEffectParameter(id)) return kParameters[id].plain.toPlain(stored);
    if (id == kHostBypass) return hostBypassOn(stored) ? 1.0 : 0.0;
    if (id == kProgramChange) return programAt(stored);
    return 0.0;
}

ParamValue toNormalized(ParamID id, ParamValue plain) {
    if (isEffectParameter(id)) return kParameters[id].plain.toNormalized(plain);
    if (std::isnan(plain)) return 0.0;
    if (id == kHostBypass) return plain >= 0.5 ? 1.0 : 0.0;
    if (id == kProgramChange)
        return programValue(
            static_cast<int>(std::lround(std::clamp(plain, 0.0, double{kNumPrograms - 1}))));
    return 0.0;
}

} // namespace vst3param
