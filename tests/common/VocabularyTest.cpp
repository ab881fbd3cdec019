// The vocabulary: enumeration orders (a file format), sets and their text form, subranges.
#include <vorn/common/Consts.h>
#include <vorn/common/DrawingCommons.h>
#include <vorn/common/Graphics.h>
#include <vorn/controls/ControlTypes.h>
#include <vorn/extras/ArrowShapeTypes.h>
#include <vorn/inspector/InspectorTypes.h>
#include <vorn/layermanager/LayerManagerTypes.h>

#include <gtest/gtest.h>

#include <QMetaEnum>

namespace vorn {
namespace {

// All names of a registered enumeration in ordinal order, comma separated.
template <class E>
QString Names() {
  const QMetaEnum meta = QMetaEnum::fromType<E>();
  QStringList names;
  for (int i = 0; i < meta.keyCount(); ++i) {
    EXPECT_EQ(meta.value(i), i) << meta.key(i) << " is not at its position";
    names << QString::fromLatin1(meta.key(i));
  }
  return names.join(QLatin1Char(','));
}

TEST(EnumerationOrder, DocumentModelOrdinalsNeverMove) {
  EXPECT_EQ(Names<TKxDeAction>(),
            "kxacChanging,kxacChangingBrush,kxacChangingPen,kxacChangingFont,kxacChangingPicture,"
            "kxacChangingGradient,kxacSizing,kxacClearing,kxacInserting,kxacInserted,kxacRemoving,"
            "kxacRemoved,kxacGrouping,kxacPacking,kxacGrouped,kxacPacked,kxacUngrouping,kxacUnpacking,"
            "kxacSendingBack,kxacSendingBackward,kxacBringingFront,kxacBringingForward,"
            "kxacReorderingShape,kxacReorderedShape,kxacChangingFormula,kxacChangingVariables");
  EXPECT_EQ(Names<TKxDeShapeStyle>(),
            "kxssIsContainer,kxssAcceptsPoint,kxssCanRemovePoint,kxssSingleClickCreation,kxssCanRotate,"
            "kxssCanHottrack,kxssUsesCaption,kxssUsesLabel,kxssUsesPointControls,kxssUsesControls,"
            "kxssUsesPicture,kxssUsesBrush,kxssUsesPen,kxssUsesFont,kxssUsesGradient,kxssNoPreview,"
            "kxssNoPenWidth,kxssPictureColorSplit,kxssProportionnalResize,kxssDontShowInLayerManager");
  EXPECT_EQ(Names<TKxDeShapeRefPos>(),
            "kxrpBottomLeft,kxrpMidLeft,kxrpTopLeft,kxrpTopMid,kxrpTopRight,kxrpMidRight,"
            "kxrpBottomRight,kxrpBottomMid,kxrpMidMid");
  EXPECT_EQ(Names<TKxDeHitType>(),
            "kxhtNone,kxhtGuide,kxhtLayer,kxhtRulerHorz,kxhtRulerVert,kxhtShape,kxhtPoint,kxhtControl,"
            "kxhtPointControl,kxhtOrientIcon");
  EXPECT_EQ(Names<TKxDeEditState>(),
            "kxesNone,kxesRectSelect,kxesZoomRect,kxesMoving,kxesSizing,kxesRotating,kxesNewGuide,"
            "kxesDragGuide,kxesToolEdit,kxesCreateNew,kxesAddPoint,kxesRemovePoint,kxesOrientIcon");
  EXPECT_EQ(Names<TKxDeEditOption>(),
            "kxdoHottrack,kxdoCanUndo,kxdoCanSelect,kxdoMultiSelect,kxdoKeyActions,kxdoMouseActions,"
            "kxdoDblClickEndsCreation,kxdoRightClickEndsCreation,kxdoShowCursorGuide,kxdoShowGuides,"
            "kxdoSnapToGrid,kxdoLeftClickEndsCreation");
  EXPECT_EQ(Names<TKxDeSizeRotation>(), "kxsrSouthEast,kxsrSouthWest,kxsrNorthWest,kxsrNorthEast");
  EXPECT_EQ(Names<TKxDeKindOfLayer>(), "kxdekoAll,kxdekol200,kxdekol300,kxdekol600,kxdekolLaser");
  EXPECT_EQ(QMetaEnum::fromType<TKxDeShapeGradientStyle>().keyCount(), 24);
  EXPECT_EQ(static_cast<int>(TKxDeShapeGradientStyle::kxdgsButterfly), 23);
  EXPECT_EQ(static_cast<int>(TKxDeShapeGradientStyle::kxdgsLinearH), 10);
  EXPECT_EQ(Names<TmekDataBehavior>(), "mekdbNone,mekdbVariable,mekdbOLEDatabase,mekdbSQLDatabase,mekdbBarcodeWizard");
}

TEST(EnumerationOrder, ControlAndOtherUnitsOrdinalsNeverMove) {
  EXPECT_EQ(QMetaEnum::fromType<TKxDeBorder>().keyCount(), 17);
  EXPECT_EQ(static_cast<int>(kxdcbLastControlBorder), 14);
  EXPECT_EQ(ClampControlBorder(TKxDeBorder::kxdcbFlatBoldRounded), TKxDeBorder::kxdcbFlatBold);
  EXPECT_EQ(Names<TKxDeRotationCenter>(), "kxdroPtGravity,kxdroPtBottomLeft,kxdroPtBottomRight,kxdroRefPoint");
  EXPECT_EQ(Names<TKxDeShapePictureStyle>(), "kxdspCenter,kxdspDefault,kxdspTiled,kxdspStretch");
  EXPECT_EQ(QMetaEnum::fromType<TKxDeScrollbarStyle>().keyCount(), 16);
  EXPECT_EQ(Names<TKxDeScrollerHitPart>(),
            "kxspNone,kxspLeftSpare,kxspRightSpare,kxspThumb,kxspExtraButton,kxspLeftButton,kxspRightButton");
  EXPECT_EQ(Names<KxDEControl::TKxDeImageLayout>(), "kxilBottom,kxilLeft,kxilRight,kxilTop");
  EXPECT_EQ(Names<TKxDeImageLayout>(), "kxdilBottom,kxdilLeft,kxdilRight,kxdilTop");
  EXPECT_EQ(Names<TKxDeListHitPart>(),
            "kxdlhNone,kxdlhLayerExpandButton,kxdlhLayerCaption,kxdlhLayerHideButton,kxdlhLayerLockButton,"
            "kxdlhItem,kxdlhItemHideButton,kxdlhItemLockButton");
  EXPECT_EQ(QMetaEnum::fromType<TMek_VSTEditorType>().keyCount(), 16);
  EXPECT_EQ(static_cast<int>(TMek_VSTEditorType::etPictureEditor), 15);
  EXPECT_EQ(QMetaEnum::fromType<TGlyphStyle>().keyCount(), 15);
  EXPECT_EQ(Names<TvornArrowExtremity>(), "vornaeNone,vornaeLeft,vornaeRight,vornaeBoth");
  EXPECT_EQ(Names<TPenMode>(),
            "pmBlack,pmWhite,pmNop,pmNot,pmCopy,pmNotCopy,pmMergePenNot,pmMaskPenNot,pmMergeNotPen,"
            "pmMaskNotPen,pmMerge,pmNotMerge,pmMask,pmNotMask,pmXor,pmNotXor");
}

TEST(EnumerationText, NamesConvertBothWays) {
  EXPECT_EQ(EnumToText(TKxDeAction::kxacSizing), QStringLiteral("kxacSizing"));
  TKxDeAction a{};
  EXPECT_TRUE(TextToEnum(QStringLiteral(" kxacPacked "), a));
  EXPECT_EQ(a, TKxDeAction::kxacPacked);
  EXPECT_FALSE(TextToEnum(QStringLiteral("kxacNothing"), a));
  EXPECT_EQ(a, TKxDeAction::kxacPacked);  // unchanged on failure
  EXPECT_EQ(EnumToText(static_cast<TKxDeAction>(200)), QString());
  EXPECT_EQ(EnumCount<TKxDeShapeState>(), 5);
}

TEST(Sets, MembershipAndArithmetic) {
  TKxDeShiftKeys keys{TKxDeShiftKey::kxskShift};
  keys.Include(TKxDeShiftKey::kxskCtrl);
  EXPECT_TRUE(keys.Contains(TKxDeShiftKey::kxskCtrl));
  EXPECT_FALSE(keys.Contains(TKxDeShiftKey::kxskAlt));
  EXPECT_EQ(keys.ToInt(), 0b101u);
  const TKxDeShiftKeys alt{TKxDeShiftKey::kxskAlt};
  EXPECT_EQ((keys + alt).ToInt(), 0b111u);
  EXPECT_EQ((keys - TKxDeShiftKeys{TKxDeShiftKey::kxskShift}).ToInt(), 0b100u);
  EXPECT_EQ((keys * alt).ToInt(), 0u);
  EXPECT_TRUE((keys * alt).Empty());
  EXPECT_TRUE(TKxDeShiftKeys{TKxDeShiftKey::kxskShift} <= keys);
  EXPECT_FALSE(alt <= keys);
  // The highest ordinal of a 20-value set lands in bit 19.
  const TKxDeShapeStyles styles{TKxDeShapeStyle::kxssDontShowInLayerManager};
  EXPECT_EQ(styles.ToInt(), 1u << 19);
  EXPECT_EQ(TKxDeShapeStyles::FromInt(1u << 19), styles);
}

TEST(Sets, TextFormRoundTrips) {
  const TKxDeShiftKeys keys{TKxDeShiftKey::kxskCtrl, TKxDeShiftKey::kxskShift};
  EXPECT_EQ(keys.ToText(), QStringLiteral("[kxskShift,kxskCtrl]"));
  EXPECT_EQ(TKxDeShiftKeys().ToText(), QStringLiteral("[]"));
  TKxDeShiftKeys back;
  ASSERT_TRUE(TKxDeShiftKeys::FromText(QStringLiteral("[ kxskCtrl , kxskShift ]"), back));
  EXPECT_EQ(back, keys);
  ASSERT_TRUE(TKxDeShiftKeys::FromText(QStringLiteral("[]"), back));
  EXPECT_TRUE(back.Empty());
  back = keys;
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("[kxskCtrl,kxskMeta]"), back));
  EXPECT_FALSE(TKxDeShiftKeys::FromText(QStringLiteral("kxskCtrl"), back));
  EXPECT_EQ(back, keys);  // a failed read leaves the value alone
}

TEST(Subranges, AssignmentsClamp) {
  EXPECT_EQ(TKxDeGradientShift::Clamp(250), 100);
  EXPECT_EQ(TKxDeGradientShift::Clamp(-101), -100);
  EXPECT_EQ(TKxDeGradientRotation::Clamp(42), 42);
  EXPECT_EQ(TKxDeScrollbarInc::Clamp(0), 1);
  EXPECT_EQ(TKxDeScrollbarInc::Clamp(40000), 32767);
  EXPECT_EQ(TKxDeBevelWidth::Clamp(-5), 0);
  EXPECT_EQ(TKxDeBevelWidth::Clamp(int64_t{1} << 40), 2147483647);
}

}  // namespace
}  // namespace vorn
