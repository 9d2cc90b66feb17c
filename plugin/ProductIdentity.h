#pragma once

// The product's name and maker as every format presents them to hosts and users.
constexpr const char* kProductName = "QVL Feedback Compressor";
constexpr const char* kVendorName = "Velmorinth Labs";
