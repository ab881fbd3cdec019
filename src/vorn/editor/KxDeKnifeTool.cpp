#include "vorn/editor/KxDeKnifeTool.h"

#include "vorn/common/Canvas.h"

namespace vorn {

void TKxDeKnifeTool::Add(const TPointF& P) {
  if (GetCount() == 2) SetPoint(1, P);
  else TKxDeToolBase::Add(P);
}

void TKxDeKnifeTool::Paint(TCanvas* Canvas, int32_t X, int32_t Y, const TKxDeToolPaintData& Data, double Zoom) {
  if (!Canvas || GetCount() == 0 || Data.LineColor == clNone || Data.LineStyle == TPenStyle::psClear) return;
  TPointArray line;
  line.reserve(static_cast<size_t>(GetCount()));
  for (const TPointF& p : Points()) line.push_back(ScreenPoint(p, X, Y, Zoom));
  TPen* pen = Canvas->Pen();
  pen->SetColor(Data.LineColor);
  pen->SetStyle(Data.LineStyle);
  pen->SetMode(Data.LineMode);
  pen->SetWidth(1);
  Canvas->Polyline(line);
  pen->SetMode(TPenMode::pmCopy);
}

void TKxDeKnifeTool::Cut(TKxDeShapeBase*) {}

void TKxDeKnifeTool::Process() {}

}  // namespace vorn
