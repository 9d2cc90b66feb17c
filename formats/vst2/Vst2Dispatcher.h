#pragma once

#include "formats/vst2/Vst2Interface.h"

class Vst2Plugin;

// The answer to every host request except effClose, which the record's entry handles.
intptr_t dispatchRequest(Vst2Plugin& plugin, int32_t opcode, int32_t index, intptr_t value,
                         void* ptr, float opt);
