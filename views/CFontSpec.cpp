#include "views/CFontSpec.h"

#include <array>

CFontSpec* stockFont(StockFont which) {
    // Created once and never destroyed: views and surfaces in any static object may still
    // hold them at exit.
    static const std::array<CFontSpec*, 8> fonts{
        new CFontSpec("Arial", 12), new CFontSpec("Arial", 18),  new CFontSpec("Arial", 14),
        new CFontSpec("Arial", 12), new CFontSpec("Arial", 11),  new CFontSpec("Arial", 10),
        new CFontSpec("Arial", 9),  new CFontSpec("Symbol", 13),
    };
    const auto index = static_cast<std::size_t>(which);
    return index < fonts.size() ? fonts[index] : fonts[0];
}
