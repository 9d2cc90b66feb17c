#pragma once

// The ID hosts know the CLAP edition by: sessions name it, so it never changes.
constexpr const char* kClapId = "com.velmorinthlabs.qvl-feedback-compressor";
