#pragma once
// Name and version of the library. Plain constants, so that programs without Qt can show them.

class QString;

namespace vorn {

inline constexpr const char* kVornProductName = "Vorn Drawing Engine v1.00";
inline constexpr int kVornVersionMajor = 1;
inline constexpr int kVornVersionMinor = 0;

// "Vorn Drawing Engine v1.00", as the library reports itself.
QString VornVersionText();

}  // namespace vorn
