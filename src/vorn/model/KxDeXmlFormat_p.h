#pragma once
// Shared rules of the model's XML elements: lengths are stored in millimetres, enumerations as
// ordinals, and everything read from a document is checked before it reaches a field.

#include "vorn/common/Units.h"
#include "vorn/common/XmlUtils.h"

#include <cfloat>
#include <cstdint>
#include <utility>

namespace vorn::xmlformat {

// The largest coordinate or length taken from a document, in millimetres (one kilometre). Larger
// values are treated as absent: single-precision world units lose their fractions long before,
// and device coordinates derived from them would overflow.
inline constexpr double MaxLengthMM = 1.0e6;

// World units to millimetres and back, computed in double precision so that a coordinate written
// and read again is the same Single.
inline double WorldToMM(float Value) {
  return static_cast<double>(Value) / static_cast<double>(CoordsPixelsPerMMConvertValue);
}
inline float MMToWorld(double Value) {
  return static_cast<float>(Value * static_cast<double>(CoordsPixelsPerMMConvertValue));
}

// A length in millimetres as a Double value element; Default (millimetres) when absent, not a
// number or beyond MaxLengthMM.
inline double ReadLengthMM(TXmlNode Node, const char* Name, double Default) {
  return XmlReadDoubleIn(Node, Name, Default, -MaxLengthMM, MaxLengthMM);
}
// The same as a Single.
inline float ReadSingleLengthMM(TXmlNode Node, const char* Name, float Default) {
  return XmlReadSingleIn(Node, Name, Default, static_cast<float>(-MaxLengthMM), static_cast<float>(MaxLengthMM));
}
// Any finite Single.
inline float ReadFiniteSingle(TXmlNode Node, const char* Name, float Default) {
  return XmlReadSingleIn(Node, Name, Default, -FLT_MAX, FLT_MAX);
}
inline double ReadFiniteDouble(TXmlNode Node, const char* Name, double Default) {
  return XmlReadDoubleIn(Node, Name, Default, -DBL_MAX, DBL_MAX);
}

// An enumeration stored as its ordinal; Default when absent or outside [0, Last].
template <class E>
E ReadOrdinal(TXmlNode Node, const char* Name, E Default, E Last) {
  const int32_t v = XmlReadIntegerIn(Node, Name, -1, 0, static_cast<int32_t>(Last));
  return v < 0 ? Default : static_cast<E>(v);
}
template <class E>
E ReadAttrOrdinal(TXmlNode Node, const char* Name, E Default, E Last) {
  const int64_t v = XmlReadAttrInt64In(Node, Name, -1, 0, static_cast<int64_t>(Last));
  return v < 0 ? Default : static_cast<E>(v);
}
template <class E>
void WriteOrdinal(TXmlNode Node, const char* Name, E Value) {
  XmlWriteInteger(Node, Name, static_cast<int32_t>(Value));
}

}  // namespace vorn::xmlformat
