#pragma once

#include "ProductIdentity.h"

// The names hosts know the LV2 edition by; the description generator writes the same ones.
namespace lv2uri {

constexpr const char* kPlugin = kLv2Uri;
constexpr const char* kUi = QVL_LV2_URI "#ui";
constexpr const char* kPresetPrefix = QVL_LV2_URI "#preset";
constexpr const char* kDspBinary = QVL_MODULE_NAME "-dsp.so";
constexpr const char* kUiBinary = QVL_MODULE_NAME "-ui.so";

} // namespace lv2uri
