#include "vorn/extras/vornArrowShape.h"

#include "vorn/common/Rounding.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace vorn {

TvornArrowShape::TvornArrowShape(QWidget* Parent)
    : QWidget(Parent), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  // A window-less control in spirit: it paints only its arrow and lets its parent show through.
  setAttribute(Qt::WA_NoSystemBackground);
  resize(65, 5);
  FPen->SetColor(clBlack);
  FPen->SetStyle(TPenStyle::psSolid);
  FBrush->SetColor(clBlack);
  FPen->OnChange = [this] { StyleChanged(this); };
  FBrush->OnChange = [this] { StyleChanged(this); };
}

TvornArrowShape::~TvornArrowShape() {
  FPen->OnChange = nullptr;
  FBrush->OnChange = nullptr;
}

const TClass* TvornArrowShape::ClassType() const { return ClassOf<TvornArrowShape>(); }

void TvornArrowShape::SetPen(const TPen* Value) {
  if (Value) FPen->Assign(*Value);
}

void TvornArrowShape::SetBrush(const TBrush* Value) {
  if (Value) FBrush->Assign(*Value);
}

void TvornArrowShape::SetArrowLength(int32_t Value) {
  if (Value == FArrowLength) return;
  FArrowLength = Value;
  FArrowWidth = Value / 2;
  update();
}

void TvornArrowShape::SetArrowWidth(int32_t Value) {
  if (Value == FArrowWidth) return;
  FArrowWidth = Value;
  update();
}

void TvornArrowShape::SetArrowAngle(double Value) {
  if (std::fabs(Value) > 360) Value = std::fmod(Value, 360.0);
  if (Value < 0) Value += 360;
  if (Value == FArrowAngle) return;
  FArrowAngle = Value;
  update();
}

void TvornArrowShape::SetArrowExtremity(TvornArrowExtremity Value) {
  if (Value == FArrowExtremity) return;
  FArrowExtremity = Value;
  update();
}

void TvornArrowShape::StyleChanged(TObject* Sender) {
  Q_UNUSED(Sender);
  update();
}

double TvornArrowShape::AngleOfPoints(const TPoint& A, const TPoint& B) {
  constexpr double pi = std::numbers::pi;
  const double dx = static_cast<double>(B.X) - A.X;
  const double dy = static_cast<double>(B.Y) - A.Y;
  // The angle on screen (clockwise, y down), then turned into the counter-clockwise one.
  double a = 0;
  if (dx == 0) {
    a = dy > 0 ? pi / 2 : (dy < 0 ? 3 * pi / 2 : 0);
  } else {
    a = std::atan(dy / dx);
    if (dx < 0)
      a += pi;
    else if (dy < 0)
      a += 2 * pi;
  }
  if (a == 0) return 0;
  const double deg = 360 - a * 180 / pi;
  return deg >= 360 ? 0 : deg;
}

TvornArrowGeometry TvornArrowShape::Geometry() const {
  constexpr double pi = std::numbers::pi;
  TvornArrowGeometry g;
  const int32_t w = width(), h = height();
  const int32_t cx = w / 2, cy = h / 2;
  const double angle = FArrowAngle;
  const double rad = pi * angle / 180;
  const int32_t dir = (angle >= 90 && angle <= 270) ? -1 : 1;
  // The angle of the control's diagonal separates lines that cross the side edges from lines
  // that cross the top and bottom edges.
  const double d = AngleOfPoints(TPoint{0, h}, TPoint{w, 0});
  const bool nearHorizontal = (angle >= -d && angle <= d) || (angle >= 180 - d && angle <= 180 + d) ||
                              (angle >= 360 - d && angle <= 360);
  if (nearHorizontal) {
    const int32_t s = Round32(std::sin(rad) * cx);
    g.StartPoint = TPoint{dir == 1 ? 1 : w, cy + s};
    g.EndPoint = TPoint{dir == 1 ? w : 1, cy - s};
  } else {
    // The line runs from the bottom edge to the top edge.
    const double t = std::sin(pi / 2 - rad) * cx;
    g.StartPoint = TPoint{Round32(cx - std::cos(rad) * t * dir), h};
    g.EndPoint = TPoint{Round32(cx + std::cos(rad) * t * dir), 1};
  }

  if (FArrowExtremity == TvornArrowExtremity::vornaeNone) return g;
  const double sx = g.StartPoint.X, sy = g.StartPoint.Y, ex = g.EndPoint.X, ey = g.EndPoint.Y;
  const double len = std::hypot(ex - sx, ey - sy);
  // A line without length has no direction for a head: it is drawn as it is, without heads.
  if (len == 0) return g;
  const double ux = (ex - sx) / len, uy = (ey - sy) / len;
  const double l = FArrowLength, wd = FArrowWidth;
  if (FArrowExtremity == TvornArrowExtremity::vornaeRight || FArrowExtremity == TvornArrowExtremity::vornaeBoth)
    g.EndHead = {g.EndPoint, TPoint{Round32(ex - l * ux + wd * uy), Round32(ey - l * uy - wd * ux)},
                 TPoint{Round32(ex - l * ux - wd * uy), Round32(ey - l * uy + wd * ux)}};
  if (FArrowExtremity == TvornArrowExtremity::vornaeLeft || FArrowExtremity == TvornArrowExtremity::vornaeBoth)
    g.StartHead = {g.StartPoint, TPoint{Round32(sx + l * ux + wd * uy), Round32(sy + l * uy - wd * ux)},
                   TPoint{Round32(sx + l * ux - wd * uy), Round32(sy + l * uy + wd * ux)}};
  return g;
}

void TvornArrowShape::Paint(TCanvas* Canvas) {
  if (!Canvas) return;
  Canvas->Pen()->Assign(*FPen);
  Canvas->Brush()->Assign(*FBrush);
  const TvornArrowGeometry g = Geometry();
  Canvas->MoveTo(g.StartPoint.X, g.StartPoint.Y);
  Canvas->LineTo(g.EndPoint.X, g.EndPoint.Y);
  if (!g.EndHead.empty()) Canvas->Polygon(g.EndHead);
  if (!g.StartHead.empty()) Canvas->Polygon(g.StartHead);
}

void TvornArrowShape::paintEvent(QPaintEvent* Event) {
  Q_UNUSED(Event);
  QPainter painter(this);
  TCanvas canvas(&painter);
  Paint(&canvas);
}

}  // namespace vorn
