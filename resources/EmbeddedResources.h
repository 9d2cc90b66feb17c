#pragma once

#include <cstddef>

// The editor's PNG images, carried inside the library so an installed plug-in needs no files.
struct EmbeddedResource {
    int id;
    const unsigned char* data;
    std::size_t size;
};

// The image with resource number `id`, or null when the library has none.
const EmbeddedResource* findEmbeddedPng(int id);
