#pragma once

#include "plugin/ParameterTable.h"

// The value texts the host shows for each parameter. The single/double precision steps are
// part of the behaviour: they decide the last printed digit that saved sessions display.
namespace hostText {

ParameterText detection(float v);
ParameterText scFilterType(float v);
ParameterText scFilterFreq(float v);
ParameterText threshold(float v);
ParameterText knee(float v);
ParameterText ratio(float v);
ParameterText attack(float v);
ParameterText release(float v);
ParameterText dryMix(float v);
ParameterText makeUpGain(float v);
ParameterText onOff(float v);
ParameterText harmonicsAmount(float v);
ParameterText meterScale(float v);
ParameterText scSource(float v);
ParameterText noFunction(float v);

} // namespace hostText
