#pragma once

#include "plugin/vst2/Vst2Interface.h"

class CompressorEffect;

// Fills the record's magic, object and entry functions; each entry forwards to the effect.
void bindEffectRecord(vst2::AEffect& record, CompressorEffect& effect);
