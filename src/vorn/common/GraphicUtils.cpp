#include "vorn/common/GraphicUtils.h"

#include "vorn/common/Canvas.h"

#include <QPainterPath>

namespace vorn {

void TKxDeGraphicUtils::Line(TCanvas* Canvas, const TPoint& P1, const TPoint& P2) {
  Canvas->Polyline(TPointArray{P1, P2});
}

void TKxDeGraphicUtils::LineTo(TCanvas* Canvas, const TPoint& P1, const TPoint& P2) { Line(Canvas, P1, P2); }

void TKxDeGraphicUtils::Rectangle(TCanvas* Canvas, const TRect& R, bool Fill) {
  Canvas->MoveTo(R.Left, R.Top);
  if (!Fill) {
    Canvas->LineTo(R.Right, R.Top);
    Canvas->LineTo(R.Right, R.Bottom);
    Canvas->LineTo(R.Left, R.Bottom);
    Canvas->LineTo(R.Left, R.Top);
    return;
  }
  QPainterPath path(QPointF(R.Left, R.Top));
  path.lineTo(R.Right, R.Top);
  path.lineTo(R.Right, R.Bottom);
  path.lineTo(R.Left, R.Bottom);
  path.closeSubpath();
  QPainter* painter = Canvas->Painter();  // brings pen and brush up to date
  painter->drawPath(path);
}

}  // namespace vorn
