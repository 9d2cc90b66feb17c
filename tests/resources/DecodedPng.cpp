#include "DecodedPng.h"

#include "resources/EmbeddedResources.h"

#include <png.h>

#include <cstring>

DecodedPng decodePng(const EmbeddedResource& resource) {
    DecodedPng result;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, resource.data, resource.size)) return result;
    image.format = PNG_FORMAT_RGBA;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    result.ok = png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return result;
}
