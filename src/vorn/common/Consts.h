#pragma once
// Vocabulary of the custom-drawn control framework (borders, layouts, scroll bars).

#include "vorn/common/Set.h"

#include <QObject>

#include <cstdint>

namespace vorn {
namespace KxDEConsts {
Q_NAMESPACE

enum class TKxDeBorder : uint8_t {
  kxdcbNone, kxdcb3DRaised, kxdcb3DLowered, kxdcbRaised, kxdcbLowered, kxdcbBumped, kxdcbEtched,
  kxdcbMacLowered, kxdcbMacRaised, kxdcbMetal, kxdcbSoftLowered, kxdcbSoftRaised, kxdcbColor,
  kxdcbFlat, kxdcbFlatBold, kxdcbFlatRounded, kxdcbFlatBoldRounded
};
Q_ENUM_NS(TKxDeBorder)

enum class TKxDeBorderEdge : uint8_t { kxdbeLeft, kxdbeRight, kxdbeTop, kxdbeBottom };
Q_ENUM_NS(TKxDeBorderEdge)

enum class TKxDeLayout : uint8_t { kxdlaBottom, kxdlaMiddle, kxdlaTop };
Q_ENUM_NS(TKxDeLayout)

enum class TKxDeEllipsis : uint8_t { kxdelNone, kxdelEndEllipsis, kxdelPathEllipsis };
Q_ENUM_NS(TKxDeEllipsis)

enum class TKxDeRotation : uint8_t { kxdroLeft, kxdroRight, kxdroTop };
Q_ENUM_NS(TKxDeRotation)

enum class TKxDeRotationCenter : uint8_t { kxdroPtGravity, kxdroPtBottomLeft, kxdroPtBottomRight, kxdroRefPoint };
Q_ENUM_NS(TKxDeRotationCenter)

enum class TKxDeEditLayout : uint8_t { kxdelBottom, kxdelCenter, kxdelTop };
Q_ENUM_NS(TKxDeEditLayout)

enum class TKxDeImageLayout : uint8_t { kxdilBottom, kxdilLeft, kxdilRight, kxdilTop };
Q_ENUM_NS(TKxDeImageLayout)

enum class TKxDePictureOrient : uint8_t {
  kxdpoTopLeft, kxdpoTopRight, kxdpoBottomLeft, kxdpoBottomRight, kxdpoCenter, kxdpoTiled, kxdpoStretch
};
Q_ENUM_NS(TKxDePictureOrient)

enum class TKxDeShapePictureStyle : uint8_t { kxdspCenter, kxdspDefault, kxdspTiled, kxdspStretch };
Q_ENUM_NS(TKxDeShapePictureStyle)

enum class TKxDeOrientation : uint8_t { kxoHorizontal, kxoVertical };
Q_ENUM_NS(TKxDeOrientation)

enum class TKxDeGradient : uint8_t { kxdgNone, kxdgLeftToRight, kxdgRightToLeft, kxdgTopToBottom, kxdgBottomToTop };
Q_ENUM_NS(TKxDeGradient)

enum class TKxDeScrollbarKind : uint8_t { kxdskHorizontal, kxdskVertical };
Q_ENUM_NS(TKxDeScrollbarKind)

enum class TKxDeScrollbarDrawKind : uint8_t { kxsdkHorizontal, kxsdkVertical, kxsdkAll };
Q_ENUM_NS(TKxDeScrollbarDrawKind)

enum class TKxDeScrollbarHitKind : uint8_t { kxshkNone, kxshkHorizontal, kxshkVertical };
Q_ENUM_NS(TKxDeScrollbarHitKind)

enum class TKxDeScrollerHitPart : uint8_t {
  kxspNone, kxspLeftSpare, kxspRightSpare, kxspThumb, kxspExtraButton, kxspLeftButton, kxspRightButton
};
Q_ENUM_NS(TKxDeScrollerHitPart)

enum class TKxDeScrollerPart : uint8_t {
  kxdsbpBkground, kxdsbpIcon, kxdsbpButtons, kxdsbpExtraButton, kxdsbpLeftButton, kxdsbpRightButton, kxdsbpThumb
};
Q_ENUM_NS(TKxDeScrollerPart)

enum class TKxDeScrollButtonLayout : uint8_t { kxdsbDefault, kxdsbLeftTop, kxdsbRightBottom };
Q_ENUM_NS(TKxDeScrollButtonLayout)

enum class TKxDeScrollbarStyle : uint8_t {
  kxssDefault, kxssDefaultEx, kxssFlat, kxssFlatEx, kxssFlatHover, kxssOffice12, kxssOffice2k,
  kxssMetal, kxssXP, kxssXP2, kxss3D, kxss3DX, kxssNew, kxssNewX, kxssMac, kxssSports
};
Q_ENUM_NS(TKxDeScrollbarStyle)

enum class TKxDeScrollThumbline : uint8_t { kxtlNone, kxtlLowered, kxtlRised, kxtlDots, kxtlDash, kxtlWideDash };
Q_ENUM_NS(TKxDeScrollThumbline)

enum class TKxDeThumbStyle : uint8_t {
  kxtsArrow,
  kxtsExArrow,
  kxtsMac,
  kxtsMetal,
  kxtsNew,
  kxtsPS,
  kxtsPSNew,
  kxtsWindows
};
Q_ENUM_NS(TKxDeThumbStyle)

enum class TKxDePictureChangeAction : uint8_t { kxpcaChanged, kxpcaDestroyed };
Q_ENUM_NS(TKxDePictureChangeAction)

}  // namespace KxDEConsts

using namespace KxDEConsts;

// A control border is one of the first fifteen border looks (kxdcbNone to kxdcbFlatBold).
using TKxDeControlBorder = TKxDeBorder;
inline constexpr TKxDeBorder kxdcbLastControlBorder = TKxDeBorder::kxdcbFlatBold;
inline constexpr TKxDeControlBorder ClampControlBorder(TKxDeBorder Value) {
  return Value > kxdcbLastControlBorder ? kxdcbLastControlBorder : Value;
}

using TKxDeBorderEdges = TSet<TKxDeBorderEdge>;

}  // namespace vorn
