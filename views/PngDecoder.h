#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded PNG: straight (not premultiplied) 8-bit RGBA, top row first.
struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
    std::vector<uint8_t*> rows; // scratch for the decoder
};

// Palette, grey and 16-bit images come out as 8-bit RGBA; interlaced images are read pass by
// pass. False (and `out` unusable) for data that is not a readable PNG.
bool decodePng(const unsigned char* data, std::size_t size, DecodedPng& out);
