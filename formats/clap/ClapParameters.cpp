#include "formats/clap/ClapParameters.h"

#include "plugin/ParameterTable.h"
#include "plugin/ValueFromText.h"

#include <cmath>
#include <cstdio>

namespace clapParams {
namespace {

const PlainScale& scaleOf(clap_id id) {
    return kParameters[id].plain;
}

clap_param_info_flags flagsOf(clap_id id) {
    clap_param_info_flags flags = CLAP_PARAM_IS_AUTOMATABLE;
    if (isStepped(scaleOf(id))) flags |= CLAP_PARAM_IS_STEPPED;
    // Hosts' own bypass buttons then drive the latency-matched Bypass.
    if (kParameters[id].designation == Designation::bypass) flags |= CLAP_PARAM_IS_BYPASS;
    return flags;
}

} // namespace

uint32_t count() {
    return static_cast<uint32_t>(listedCount(kInClap));
}

bool isShownId(clap_id id) {
    return id < static_cast<clap_id>(kNumParameters) && isListedIn(kInClap, static_cast<int>(id));
}

bool info(uint32_t index, clap_param_info_t& out) {
    if (index >= count()) return false;
    const int parameter = listedAt(kInClap, static_cast<int>(index));
    const auto id = static_cast<clap_id>(parameter);
    const PlainScale& scale = scaleOf(id);
    out = {};
    out.id = id;
    out.flags = flagsOf(id);
    std::snprintf(out.name, sizeof out.name, "%s", kParameters[parameter].name);
    out.min_value = scale.min;
    out.max_value = scale.max;
    out.default_value = toPlain(id, defaultValue(parameter));
    return true;
}

double toPlain(clap_id id, float normalized) {
    return scaleOf(id).toPlain(normalized);
}

bool toNormalized(clap_id id, double plain, float& normalized) {
    if (std::isnan(plain)) return false;
    normalized = scaleOf(id).toNormalized(plain);
    return true;
}

bool valueText(clap_id id, double plain, char* display, uint32_t size) {
    float normalized = 0.0f;
    if (!isShownId(id) || !display || size == 0 || !toNormalized(id, plain, normalized))
        return false;
    std::snprintf(display, size, "%s", kParameters[id].hostText(normalized).text);
    return true;
}

bool valueFromText(clap_id id, const char* text, double& plain) {
    if (!isShownId(id) || !text) return false;
    const ParsedValue parsed = ::valueFromText(static_cast<int>(id), text);
    if (!parsed.ok) return false;
    plain = toPlain(id, parsed.normalized);
    return true;
}

} // namespace clapParams
