#pragma once
// The one rounding rule of the engine: to the nearest integer, halves to the even neighbour.

#include <cmath>
#include <cstdint>
#include <limits>

namespace vorn {

// Rounds to the nearest integer with ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Values
// beyond the range of the result saturate at its limits and NaN gives 0, so damaged input can
// never cause an undefined conversion.
inline int64_t Round(double Value) {
  // std::nearbyint honours the current rounding mode, which the engine never changes from
  // round-to-nearest-even.
  const double r = std::nearbyint(Value);
  if (!(r == r)) return 0;
  if (r >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (r <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

// The same rule for values that fit 32 bits (coordinates, pixel positions), saturating likewise.
inline int32_t Round32(double Value) {
  const double r = std::nearbyint(Value);
  if (!(r == r)) return 0;
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

}  // namespace vorn
