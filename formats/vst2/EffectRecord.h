#pragma once

#include "formats/vst2/Vst2Interface.h"

class Vst2Plugin;

// Fills the record's magic, object and entry functions; each entry forwards to the plug-in.
void bindEffectRecord(vst2::AEffect& record, Vst2Plugin& plugin);
