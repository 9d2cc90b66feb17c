#pragma once

#include <cstdint>
#include <vector>

struct EmbeddedResource;

struct Rgba8 {
    std::uint8_t r, g, b, a;
};

// An embedded PNG decoded by libpng into straight (not premultiplied) RGBA, rows top to bottom.
struct DecodedPng {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<Rgba8> pixels;

    const Rgba8& at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

DecodedPng decodePng(const EmbeddedResource& resource);
