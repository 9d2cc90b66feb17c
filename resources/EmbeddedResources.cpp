#include "resources/EmbeddedResources.h"

#include "resources/EmbeddedPngTable.h"

const EmbeddedResource* findEmbeddedPng(int id) {
    for (std::size_t i = 0; i < kEmbeddedPngCount; ++i)
        if (kEmbeddedPngs[i].id == id) return &kEmbeddedPngs[i];
    return nullptr;
}
