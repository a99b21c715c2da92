#include "ui/framework/FontSpec.h"

#include <cstdint>
#include <cstdlib>

namespace lumora {

namespace {

constexpr int kDefaultDpi = 96;

// a * b / c rounded half away from zero, as Windows' MulDiv; c > 0.
int MulDiv(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    const std::int64_t result = product >= 0 ? (product + half) / c : (product - half) / c;
    if (result > INT32_MAX || result < INT32_MIN) {
        return product >= 0 ? INT32_MAX : INT32_MIN;
    }
    return static_cast<int>(result);
}

int DpiOrDefault(int dpi) {
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int PointsFromHeight(int height, int dpi) {
    const int pixels = height == INT32_MIN ? INT32_MAX : std::abs(height);
    return MulDiv(pixels, 72, DpiOrDefault(dpi));
}

int HeightFromPoints(int points, int dpi) {
    return -MulDiv(points, DpiOrDefault(dpi), 72);
}

}  // namespace lumora
