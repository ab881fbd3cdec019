#pragma once
// The vocabulary of the document model and of editing. The ordinals of these enumerations are
// stored in documents and undo records: never reorder or insert values.

#include "vorn/common/Set.h"

#include <QObject>

#include <algorithm>
#include <cstdint>

namespace vorn {
namespace KxDrawingCommons {
Q_NAMESPACE

enum class TKxDeAction : uint8_t {
  kxacChanging, kxacChangingBrush, kxacChangingPen, kxacChangingFont, kxacChangingPicture,
  kxacChangingGradient, kxacSizing, kxacClearing, kxacInserting, kxacInserted, kxacRemoving,
  kxacRemoved, kxacGrouping, kxacPacking, kxacGrouped, kxacPacked, kxacUngrouping, kxacUnpacking,
  kxacSendingBack, kxacSendingBackward, kxacBringingFront, kxacBringingForward,
  kxacReorderingShape, kxacReorderedShape, kxacChangingFormula, kxacChangingVariables
};
Q_ENUM_NS(TKxDeAction)

enum class TKxDeShapeStyle : uint8_t {
  kxssIsContainer, kxssAcceptsPoint, kxssCanRemovePoint, kxssSingleClickCreation, kxssCanRotate,
  kxssCanHottrack, kxssUsesCaption, kxssUsesLabel, kxssUsesPointControls, kxssUsesControls,
  kxssUsesPicture, kxssUsesBrush, kxssUsesPen, kxssUsesFont, kxssUsesGradient, kxssNoPreview,
  kxssNoPenWidth, kxssPictureColorSplit, kxssProportionnalResize, kxssDontShowInLayerManager
};
Q_ENUM_NS(TKxDeShapeStyle)

enum class TKxDeShapeState : uint8_t { kxstCreating, kxstLoading, kxstDestroying, kxstInUndo, kxstInRedo };
Q_ENUM_NS(TKxDeShapeState)

enum class TKxDeShapeRefPos : uint8_t {
  kxrpBottomLeft, kxrpMidLeft, kxrpTopLeft, kxrpTopMid, kxrpTopRight, kxrpMidRight,
  kxrpBottomRight, kxrpBottomMid, kxrpMidMid
};
Q_ENUM_NS(TKxDeShapeRefPos)

enum class TKxDeShapePart : uint8_t { kxspNone, kxspShape, kxspBorder, kxspPoint, kxspControl, kxspPointControl };
Q_ENUM_NS(TKxDeShapePart)

enum class TKxDeShapeHitState : uint8_t { kxhsNone, kxhsHot, kxhsSelected };
Q_ENUM_NS(TKxDeShapeHitState)

enum class TKxDeHitType : uint8_t {
  kxhtNone, kxhtGuide, kxhtLayer, kxhtRulerHorz, kxhtRulerVert, kxhtShape, kxhtPoint, kxhtControl,
  kxhtPointControl, kxhtOrientIcon
};
Q_ENUM_NS(TKxDeHitType)

enum class TKxDePointType : uint8_t { kxptNone, kxptPoint, kxptPointControl, kxptControl };
Q_ENUM_NS(TKxDePointType)

enum class TKxDeEditState : uint8_t {
  kxesNone, kxesRectSelect, kxesZoomRect, kxesMoving, kxesSizing, kxesRotating, kxesNewGuide,
  kxesDragGuide, kxesToolEdit, kxesCreateNew, kxesAddPoint, kxesRemovePoint, kxesOrientIcon
};
Q_ENUM_NS(TKxDeEditState)

enum class TKxDeEditOption : uint8_t {
  kxdoHottrack, kxdoCanUndo, kxdoCanSelect, kxdoMultiSelect, kxdoKeyActions, kxdoMouseActions,
  kxdoDblClickEndsCreation, kxdoRightClickEndsCreation, kxdoShowCursorGuide, kxdoShowGuides,
  kxdoSnapToGrid, kxdoLeftClickEndsCreation
};
Q_ENUM_NS(TKxDeEditOption)

enum class TKxDeShiftKey : uint8_t { kxskShift, kxskAlt, kxskCtrl };
Q_ENUM_NS(TKxDeShiftKey)

enum class TKxShapeType : uint8_t { kxtyRectangle, kxtyPolyPoints, kxtyFreeHand };
Q_ENUM_NS(TKxShapeType)

enum class TKxDeSizeRotation : uint8_t { kxsrSouthEast, kxsrSouthWest, kxsrNorthWest, kxsrNorthEast };
Q_ENUM_NS(TKxDeSizeRotation)

enum class TKxDeSelectionType : uint8_t { kxdsHottrack, kxdsSelected, kxdsMoving, kxdsSizing };
Q_ENUM_NS(TKxDeSelectionType)

enum class TKxDeGridType : uint8_t { kxgtNone, kxgtDot, kxgtLine };
Q_ENUM_NS(TKxDeGridType)

enum class TKxDeGuideType : uint8_t { kxgtHorizontal, kxgtVertical };
Q_ENUM_NS(TKxDeGuideType)

enum class TKxDeRulerType : uint8_t { kxdrHorizontal, kxdrVertical };
Q_ENUM_NS(TKxDeRulerType)

enum class TKxDeRulerMode : uint8_t { kxrmPixel, kxrmCm, kxrmInch };
Q_ENUM_NS(TKxDeRulerMode)

enum class TKxDeRulersOrigin : uint8_t { kxrulOrigTopLeft, kxrulOrigCenter };
Q_ENUM_NS(TKxDeRulersOrigin)

enum class TKxDeEditorOrient : uint8_t { kxedtDesOrientPortrait, kxedtDesOrientLandscape };
Q_ENUM_NS(TKxDeEditorOrient)

enum class TKxDeKindOfLayer : uint8_t { kxdekoAll, kxdekol200, kxdekol300, kxdekol600, kxdekolLaser };
Q_ENUM_NS(TKxDeKindOfLayer)

enum class TKxDeLayerTransparency : uint8_t { kxltNone, kxltChecked, kxltFull };
Q_ENUM_NS(TKxDeLayerTransparency)

enum class TKxDeLineOrientation : uint8_t { kxloPoint, kxloHorizontal, kxloVertical };
Q_ENUM_NS(TKxDeLineOrientation)

enum class TKxDeShapeGradientStyle : uint8_t {
  kxdgsNone, kxdgsRadialC, kxdgsRadialT, kxdgsRadialB, kxdgsRadialL, kxdgsRadialR, kxdgsRadialTL,
  kxdgsRadialTR, kxdgsRadialBL, kxdgsRadialBR, kxdgsLinearH, kxdgsLinearV, kxdgsReflectedH,
  kxdgsReflectedV, kxdgsDiagonalLF, kxdgsDiagonalLB, kxdgsDiagonalRF, kxdgsDiagonalRB, kxdgsArrowL,
  kxdgsArrowR, kxdgsArrowU, kxdgsArrowD, kxdgsDiamond, kxdgsButterfly
};
Q_ENUM_NS(TKxDeShapeGradientStyle)

enum class TmekLineShape : uint8_t { mekLshSquared, mekLshRounded, mekLshArrowed };
Q_ENUM_NS(TmekLineShape)

enum class TmekPolyFillMode : uint8_t { mekpolyfAlternate, mekpolyfWinding };
Q_ENUM_NS(TmekPolyFillMode)

enum class TmekPictureSplitMode : uint8_t { mekpicSaturation, mekpicExact };
Q_ENUM_NS(TmekPictureSplitMode)

enum class TmekDataBehavior : uint8_t {
  mekdbNone,
  mekdbVariable,
  mekdbOLEDatabase,
  mekdbSQLDatabase,
  mekdbBarcodeWizard
};
Q_ENUM_NS(TmekDataBehavior)

// Which edges or centres of the selected shapes an alignment lines up: the left edges, the
// horizontal centres, the right edges, then the same vertically.
enum class TKxDeAlignment : uint8_t { kxalLeft, kxalCenter, kxalRight, kxalTop, kxalMiddle, kxalBottom };
Q_ENUM_NS(TKxDeAlignment)

// How the selected shapes are spread: their centres at equal distances, or equal gaps between
// neighbours, along either axis.
enum class TKxDeDistribution : uint8_t { kxdiCentersHorz, kxdiCentersVert, kxdiGapsHorz, kxdiGapsVert };
Q_ENUM_NS(TKxDeDistribution)

// What the selection is aligned with or spread over.
enum class TKxDeAlignReference : uint8_t { kxarFirstSelected, kxarLastSelected, kxarPage };
Q_ENUM_NS(TKxDeAlignReference)

}  // namespace KxDrawingCommons

using namespace KxDrawingCommons;

using TKxDeShapeStyles = TSet<TKxDeShapeStyle>;
using TKxDeShapeStates = TSet<TKxDeShapeState>;
using TKxDeEditOptions = TSet<TKxDeEditOption>;
using TKxDeShiftKeys = TSet<TKxDeShiftKey>;

// Integer subranges: assignments clamp into the range.
template <int64_t Low, int64_t High, class Rep = int32_t>
struct TSubrange {
  static constexpr Rep Min = static_cast<Rep>(Low);
  static constexpr Rep Max = static_cast<Rep>(High);
  static constexpr Rep Clamp(int64_t Value) { return static_cast<Rep>(std::clamp<int64_t>(Value, Low, High)); }
};

using TKxDeGradientShift = TSubrange<-100, 100>;     // shift of a gradient's centre, in percent
using TKxDeGradientRotation = TSubrange<-100, 100>;  // rotation parameter of a gradient
using TKxDeScrollbarInc = TSubrange<1, 32767>;       // scroll increments of the custom scroll bars
using TKxDeBevelWidth = TSubrange<0, 2147483647>;    // border bevel widths

}  // namespace vorn
