#include "platform/SystemViewPlatform.h"

// The tests draw, read the artwork and open windows with the system's platform layer, as the
// plug-in modules do; it is in use before the first test runs.
[[maybe_unused]] static const bool systemPlatformInUse =
    (useViewPlatform(systemViewPlatform()), true);
