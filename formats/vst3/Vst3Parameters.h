#pragma once

#include "plugin/ParameterTable.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <string>

// The parameters as a VST 3 host lists them: the effect's, as its table lists them for this
// edition, with their indices as IDs, so automation and sessions map across the editions (the
// two slots that do nothing are not listed). Two more belong to this format alone: the host's
// bypass switch and the program change.
namespace vst3param {

using Steinberg::Vst::ParamID;
using Steinberg::Vst::ParamValue;

constexpr ParamID kHostBypass = 100;
constexpr ParamID kProgramChange = 101;
constexpr Steinberg::Vst::ProgramListID kProgramList = 1;

int listedCount();
// The ID at a place in the host's list; false beyond it.
bool idAt(int listIndex, ParamID& id);
bool isEffectParameter(ParamID id);
bool isKnown(ParamID id);
bool describe(int listIndex, Steinberg::Vst::ParameterInfo& info);

// The normalized value a host sent, made storable: NaN is refused (false), anything else
// limited to 0..1.
bool usableValue(ParamValue value, float& stored);
int programAt(ParamValue normalized);
ParamValue programValue(int program);
bool hostBypassOn(ParamValue normalized);

// What a user typed, read as the other editions read it: a value in the control's unit or a
// named setting, the program by its name or number; false for text that is no value.
bool valueFromText(ParamID id, const std::string& text, ParamValue& normalized);

ParamValue toPlain(ParamID id, ParamValue normalized);
ParamValue toNormalized(ParamID id, ParamValue plain);

} // namespace vst3param
