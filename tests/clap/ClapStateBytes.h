#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// The saved state as the CLAP and VST 3 editions share it, written out here from its layout:
// "QVLS", version, program, the values, all little-endian: version 1 holds the VST 2 module's 21
// slots, version 2 SC Source after them.
inline std::vector<uint8_t> stateRecord(int program, const std::vector<float>& values,
                                        uint32_t version = 1) {
    std::vector<uint8_t> bytes = {'Q', 'V', 'L', 'S'};
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
