#include "vorn/common/Units.h"

#include <numbers>

namespace vorn {

float CoordsPixelsPerMMConvertValue = 96.0f / 25.4f;
int32_t ScreenPixelsPerInch = 96;
double PiRadian = std::numbers::pi / 180.0;

}  // namespace vorn
