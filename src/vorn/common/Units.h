#pragma once
// Library-wide unit settings. Hosts (and tests) may change them; the defaults describe a
// 96-dpi screen where one world unit is one pixel at zoom 100.

#include <cstdint>

namespace vorn {

// World units per millimetre.
extern float CoordsPixelsPerMMConvertValue;
// Screen resolution used to convert font points.
extern int32_t ScreenPixelsPerInch;
// Degrees to radians, by multiplication.
extern double PiRadian;

}  // namespace vorn
