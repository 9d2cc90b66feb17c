#pragma once

#include <pluginterfaces/vst/vsttypes.h>

#include <string>

// Texts cross the VST 3 interface as UTF-16. Every text the effect writes is ASCII; any other
// byte becomes '?' rather than half a character. The copy always ends within `capacity`.
inline void copyToUtf16(const char* text, Steinberg::Vst::TChar* target, int capacity) {
    if (!target || capacity <= 0) return;
    int n = 0;
    for (; text && text[n] != '\0' && n < capacity - 1; ++n) {
        const auto byte = static_cast<unsigned char>(text[n]);
        target[n] = static_cast<Steinberg::Vst::TChar>(byte < 0x80 ? byte : '?');
    }
    target[n] = 0;
}

// What a host hands over, at most `capacity` characters up to its end. Every text the effect
// reads is ASCII; any other character becomes '?', which reads as no value.
inline std::string fromUtf16(const Steinberg::Vst::TChar* text, int capacity) {
    std::string out;
    for (int n = 0; text && n < capacity && text[n] != 0; ++n)
        out += text[n] < 0x80 ? static_cast<char>(text[n]) : '?';
    return out;
}
