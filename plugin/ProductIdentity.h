#pragma once

#include "ProductVersion.h"

// The product's name and maker as every format presents them to hosts and users; the build
// takes them from the project, where the packages and the version resource read them too.
constexpr const char* kProductName = QVL_PRODUCT_NAME;
constexpr const char* kVendorName = QVL_VENDOR_NAME;
constexpr const char* kProductUrl = QVL_PRODUCT_URL;
constexpr const char* kVendorUrl = QVL_VENDOR_URL;
