#pragma once

// The names hosts know the LV2 edition by; the description generator writes the same ones.
namespace lv2uri {

constexpr const char* kPlugin = "http://www.velmorinthlabs.com/plugins/qvl-feedback-compressor";
constexpr const char* kUi = "http://www.velmorinthlabs.com/plugins/qvl-feedback-compressor#ui";
constexpr const char* kPresetPrefix =
    "http://www.velmorinthlabs.com/plugins/qvl-feedback-compressor#preset";
constexpr const char* kDspBinary = "qvl-feedback-compressor-dsp.so";
constexpr const char* kUiBinary = "qvl-feedback-compressor-ui.so";

} // namespace lv2uri
