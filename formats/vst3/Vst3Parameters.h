#pragma once

#include "plugin/ParameterTable.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <string>

// The parameters as a VST 3 host lists them: the effect's, as its table lists them for this
// edition, with their indices as IDs, so automation and sessions map across the editions (the
// two slots that do nothing are not listed); then the program change, which belongs to this
// format alone. The effect's Bypass is the host's bypass.
//
// The edition's normalized values rise with the plain values: for a parameter whose plain
// value falls as the effect's value rises (Threshold), the host's normalized value is turned
// round. Everything inside keeps the effect's value.
namespace vst3param {

using Steinberg::Vst::ParamID;
using Steinberg::Vst::ParamValue;

constexpr ParamID kProgramChange = 101;
constexpr Steinberg::Vst::ProgramListID kProgramList = 1;

int listedCount();
// The ID at a place in the host's list; false beyond it.
bool idAt(int listIndex, ParamID& id);
bool isEffectParameter(ParamID id);
bool isKnown(ParamID id);
bool describe(int listIndex, Steinberg::Vst::ParameterInfo& info);

// A normalized value a host sent, made one the edition takes: NaN is refused (false), anything
// else limited to 0..1.
bool usableValue(ParamValue value, ParamValue& limited);
// Between the host's normalized value of an effect parameter and the effect's value.
float effectValue(ParamID id, ParamValue normalized);
ParamValue normalizedOf(ParamID id, float effectValue);
int programAt(ParamValue normalized);
ParamValue programValue(int program);

// What a user typed, read as the other editions read it: a value in the control's unit or a
// named setting, the program by its name or number; false for text that is no value.
bool valueFromText(ParamID id, const std::string& text, ParamValue& normalized);

ParamValue toPlain(ParamID id, ParamValue normalized);
ParamValue toNormalized(ParamID id, ParamValue plain);

} // namespace vst3param
