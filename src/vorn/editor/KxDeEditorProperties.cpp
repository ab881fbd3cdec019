#include "vorn/editor/KxDeEditorProperties.h"

namespace vorn {

void TKxDeFeedbackPenProps::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TKxDeFeedbackPenProps*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FLineColor = s->FLineColor;
  FLineStyle = s->FLineStyle;
  FLineMode = s->FLineMode;
  Changed();
}

TKxDeSelectionProps::TKxDeSelectionProps()
    : TKxDeSelectionProps(0xFFA800, TPenStyle::psSolid, 0xFFA800, 0x00FFFF, 0xFFFFFF) {}

TKxDeSelectionProps::TKxDeSelectionProps(TColor Line, TPenStyle Style, TColor Handles, TColor CtrlIn,
                                         TColor PointIn)
    : TKxDeFeedbackPenProps(Line, Style, TPenMode::pmCopy),
      FCtrlInColor(CtrlIn),
      FCtrlOutColor(Handles),
      FPointInColor(PointIn),
      FPointOutColor(Handles) {}

void TKxDeSelectionProps::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TKxDeSelectionProps*>(Source)) {
    FCtrlInColor = s->FCtrlInColor;
    FCtrlOutColor = s->FCtrlOutColor;
    FPointInColor = s->FPointInColor;
    FPointOutColor = s->FPointOutColor;
    FRefPointColor = s->FRefPointColor;
    FPointSize = s->FPointSize;
  }
  TKxDeFeedbackPenProps::Assign(Source);
}

TKxDeSelectionData TKxDeSelectionProps::Data(TKxDeSelectionType Type) const {
  TKxDeSelectionData d;
  d.LineColor = LineColor();
  d.LineStyle = LineStyle();
  d.LineMode = LineMode();
  d.CtrlInColor = FCtrlInColor;
  d.CtrlOutColor = FCtrlOutColor;
  d.PointInColor = FPointInColor;
  d.PointOutColor = FPointOutColor;
  d.RefPointColor = FRefPointColor;
  d.PointSize = FPointSize;
  d.SelectionType = Type;
  return d;
}

TKxDeHottrackProps::TKxDeHottrackProps()
    : TKxDeSelectionProps(clNone, TPenStyle::psClear, 0x0000FF, 0x0000FF, 0x0000FF) {}

TKxDeSelectionData TKxDeMoveSizeProps::Data() const {
  TKxDeSelectionData d;
  d.LineColor = LineColor();
  d.LineStyle = LineStyle();
  d.LineMode = LineMode();
  d.CtrlInColor = d.CtrlOutColor = d.PointInColor = d.PointOutColor = clNone;
  d.PointSize = 0;
  d.SelectionType = TKxDeSelectionType::kxdsMoving;
  return d;
}

void TKxDeSmartGuidesProps::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TKxDeSmartGuidesProps*>(Source)) {
    FEnabled = s->FEnabled;
    FDistance = s->FDistance;
    FSnapEdges = s->FSnapEdges;
    FSnapCenters = s->FSnapCenters;
    FSnapPage = s->FSnapPage;
    FSnapGuides = s->FSnapGuides;
  }
  TKxDeFeedbackPenProps::Assign(Source);
}

}  // namespace vorn
