#include "engine/Exponential.h"

#include <limits>

// The tails need more than double precision.
static_assert(std::numeric_limits<long double>::digits > std::numeric_limits<double>::digits,
              "the exponential's table is computed in long double");

namespace {

ExponentialTable makeExponentialTable() {
    ExponentialTable table{};
    for (int j = 0; j < ExponentialTable::kSize; ++j) {
        const long double exact = std::exp2(static_cast<long double>(j) / ExponentialTable::kSize);
        table.scale[j] = static_cast<double>(exact);
        table.tail[j] = static_cast<double>((exact - table.scale[j]) / table.scale[j]);
    }
    return table;
}

} // namespace

const ExponentialTable kExponentialTable = makeExponentialTable();
