#pragma once

#include "resources/EmbeddedResources.h"

// The images as the build embedded them (generated source), in resource-number order.
extern const EmbeddedResource kEmbeddedPngs[];
extern const std::size_t kEmbeddedPngCount;
