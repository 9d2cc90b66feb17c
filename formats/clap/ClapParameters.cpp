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
    if (scaleOf(id).hints & (kHintToggled | kHintEnumeration | kHintInteger))
        flags |= CLAP_PARAM_IS_STEPPED;
    // Hosts' own bypass buttons then drive the latency-matched Bypass.
    if (id == kBypass) flags |= CLAP_PARAM_IS_BYPASS;
    return flags;
}

} // namespace

bool info(uint32_t index, clap_param_info_t& out) {
    if (!isShownId(index)) return false;
    const PlainScale& scale = scaleOf(index);
    out = {};
    out.id = index;
    out.flags = flagsOf(index);
    std::snprintf(out.name, sizeof out.name, "%s", kParameters[index].name);
    out.min_value = scale.min;
    out.max_value = scale.max;
    out.default_value = toPlain(index, defaultValue(static_cast<int>(index)));
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
