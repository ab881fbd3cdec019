#pragma once
// The drawing vocabulary the engine speaks:
// pen and brush styles, pen modes, font styles, shift states, mouse buttons and cursors.

#include "vorn/common/Color.h"
#include "vorn/common/Set.h"

#include <QObject>

#include <cstdint>

namespace vorn {
namespace Graphics {
Q_NAMESPACE

enum class TPenStyle : uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame,
  psUserStyle,
  psAlternate
};
Q_ENUM_NS(TPenStyle)

enum class TPenMode : uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
Q_ENUM_NS(TPenMode)

enum class TBrushStyle : uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
Q_ENUM_NS(TBrushStyle)

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
Q_ENUM_NS(TFontStyle)

enum class TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

enum class TShiftStateItem : uint8_t {
  ssShift,
  ssAlt,
  ssCtrl,
  ssLeft,
  ssRight,
  ssMiddle,
  ssDouble,
  ssTouch,
  ssPen,
  ssCommand,
  ssHorizontal
};
Q_ENUM_NS(TShiftStateItem)

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

}  // namespace Graphics

using namespace Graphics;

using TFontStyles = TSet<TFontStyle>;
using TShiftState = TSet<TShiftStateItem>;

// Cursors keep the framework's numbering; GetCursor answers use these values.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSize = -22;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// The Qt cursor shape of a framework cursor value (unknown values give the arrow).
Qt::CursorShape CursorToQt(TCursor Cursor);

}  // namespace vorn
