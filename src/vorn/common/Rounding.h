#pragma once
// The one rounding rule of the engine: to the nearest integer, halves to the even neighbour.

#include <cmath>
#include <cstdint>

namespace vorn {

// Rounds to the nearest integer with ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int64_t Round(double Value) {
  // std::nearbyint honours the current rounding mode, which the engine never changes from
  // round-to-nearest-even; rint-family functions are exact for every finite double.
  return static_cast<int64_t>(std::nearbyint(Value));
}

// The same rule for values known to fit 32 bits (coordinates, pixel positions).
inline int32_t Round32(double Value) { return static_cast<int32_t>(std::nearbyint(Value)); }

}  // namespace vorn
