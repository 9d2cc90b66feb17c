#pragma once

// The sidechain filter's positions as the editor's selector captions them. LV2 hosts' generic
// controls show these names, VST hosts the host texts ("off", "3 dB/oct", "6 dB/oct"); a value
// typed by a user may be either.
constexpr const char* kScFilterCaptions[] = {"Off", "3dB HP", "6dB HP"};
