#pragma once

#include "HostedClapPlugin.h"
#include "HostedPlugin.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

constexpr const char* kClapId = "com.velmorinthlabs.qvl-feedback-compressor";
constexpr clap_id kBypassId = 16;

inline std::unique_ptr<HostedClapPlugin> loadClap() {
    return std::make_unique<HostedClapPlugin>(QVL_CLAP_MODULE_PATH, kClapId);
}

// The saved state as the CLAP and VST 3 editions share it, written out here from its layout:
// "QVLs", version, program, 21 floats, all little-endian.
inline std::vector<uint8_t> stateRecord(int program, const std::vector<float>& values,
                                        uint32_t version = 1) {
    std::vector<uint8_t> bytes = {'Q', 'V', 'L', 's'};
    const auto word = [&](uint32_t w) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
    };
    word(version);
    word(static_cast<uint32_t>(program));
    for (float v : values) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        word(bits);
    }
    return bytes;
}

// A factory program's 21 values as the VST 2 edition holds them once it is chosen.
inline std::vector<float> vst2ProgramValues(int program) {
    HostedPlugin vst2(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    vst2.setProgram(program);
    std::vector<float> values;
    for (int i = 0; i < 21; ++i)
        values.push_back(vst2.getParameter(i));
    return values;
}
