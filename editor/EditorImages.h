#pragma once

#include <cstdint>

// The editor's images by resource number; the artwork program paints each under its number.
enum EditorImage : int32_t {
    kImageBackground = 201,
    kImageKnob = 202,
    kImageReadoutPlate = 203,
    kImageTextKnobPlate = 204,
    kImageBypass = 205,
    kImageHfHarmonics = 207,
    kImageLfHarmonics = 208,
    kImageDelta = 209,
    kImageScPreview = 210,
    kImageScFilterType = 212,
    kImageAboutCard = 214,
    kImageLampLeft = 215,
    kImageLampRight = 216,
};
