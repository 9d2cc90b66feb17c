#pragma once

#include <pluginterfaces/base/ipluginbase.h>

// The module's one factory: it describes the audio-effect class and makes its instances.
Steinberg::IPluginFactory* vst3Factory();
