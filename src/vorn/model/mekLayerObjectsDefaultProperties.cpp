#include "vorn/model/mekLayerObjectsDefaultProperties.h"

namespace vorn {

TmekLayerObjectsDefaultProperties::TmekLayerObjectsDefaultProperties()
    : FColorManagementProperties(Create<TmekColorManagementProperties>(this)) {
  // New shapes start green to white when they use a gradient, drawn in a thin black pen, with
  // black fill and text of 3 mm in Swiss 721.
  FGradient = TKxDeShapeGradienthRec{0x00FF00, 0xFFFFFF, false, 0, 0, TKxDeShapeGradientStyle::kxdgsNone};
  FPen = TKxDePenRec{clBlack, TPenMode::pmCopy, TPenStyle::psSolid, cstPenDefaultWidth};
  FFont = TKxDeShapeFontRec2{1, QStringLiteral("Swiss 721"), 3.0f, TFontStyles{}};
  FBrush = TKxDeBrushRec{clBlack, TBrushStyle::bsSolid};
}

void TmekLayerObjectsDefaultProperties::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TmekLayerObjectsDefaultProperties*>(Source)) {
    FGradient = src->FGradient;
    FPen = src->FPen;
    FUseGradient = src->FUseGradient;
    FUsePen = src->FUsePen;
    FFont = src->FFont;
    FUseFont = src->FUseFont;
    FBrush = src->FBrush;
    FUseBrush = src->FUseBrush;
    FColorManagementProperties->Assign(src->FColorManagementProperties.get());
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace vorn
