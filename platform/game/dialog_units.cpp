#include "dialog_units.h"

#include <cstdlib>

namespace blok::qt {

int DialogBaseUnits::Scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long magnitude = (std::llabs(product) + half) / denominator;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

}  // namespace blok::qt
