#include "vorn/shapes/VornShape.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Rounding.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapeGradient.h>
#include <vorn/model/KxDeShapePen.h>

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace vorn {

TVornShape::TVornShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TKxDeShape(ASurface, AOwner) {
  IncludeStyles({TKxDeShapeStyle::kxssCanRotate});
}

void TVornShape::IncludeStyles(std::initializer_list<TKxDeShapeStyle> Styles) {
  TKxDeShapeStyles s = ShapeStyle();
  for (TKxDeShapeStyle x : Styles) s.Include(x);
  SetShapeStyle(s);
}

void TVornShape::ExcludeStyles(std::initializer_list<TKxDeShapeStyle> Styles) {
  TKxDeShapeStyles s = ShapeStyle();
  for (TKxDeShapeStyle x : Styles) s.Exclude(x);
  SetShapeStyle(s);
}

// ---- Geometry -------------------------------------------------------------------------------------

TVornVertices TVornShape::Vertices() const {
  TVornVertices v;
  v.reserve(static_cast<size_t>(PointCount()));
  for (int32_t i = 0; i < PointCount(); ++i) {
    const TKxDePoint* p = Points(i);
    TVornVertex x;
    x.P = p->GetValue();
    if (const TKxDePointControl* c = p->Control_1()) {
      x.HasC1 = true;
      x.C1 = c->GetValue();
    }
    if (const TKxDePointControl* c = p->Control_2()) {
      x.HasC2 = true;
      x.C2 = c->GetValue();
    }
    v.push_back(x);
  }
  return v;
}

QTransform TVornShape::WorldRotation() const {
  if (Rotation() == 0 || !ShapeStyle().Contains(TKxDeShapeStyle::kxssCanRotate)) return QTransform();
  const TPointF c = GetRotationPoint();
  // The engine turns by -Angle in the y-down frame: positive angles are counter-clockwise on
  // screen. Qt's rotate() turns clockwise on screen for positive angles.
  QTransform t;
  t.translate(c.X, c.Y);
  t.rotate(-static_cast<double>(Rotation()));
  t.translate(-c.X, -c.Y);
  return t;
}

QPainterPath TVornShape::WorldOutline() const { return WorldRotation().map(OutlinePath()); }

TPointF TVornShape::ToShapeFrame(const TPointF& P) const {
  if (Rotation() == 0 || !ShapeStyle().Contains(TKxDeShapeStyle::kxssCanRotate)) return P;
  return TKxDeUtils::RotatePoint(P, -Rotation(), GetRotationPoint());
}

TPointF TVornShape::FromShapeFrame(const TPointF& P) const {
  if (Rotation() == 0 || !ShapeStyle().Contains(TKxDeShapeStyle::kxssCanRotate)) return P;
  return TKxDeUtils::RotatePoint(P, Rotation(), GetRotationPoint());
}

float TVornShape::PenWorldWidth() const {
  if (!HasPen()) return 0;
  return Pen()->Width() * CoordsPixelsPerMMConvertValue;
}

int32_t TVornShape::InkWidth(double Zoom) const {
  if (!HasPen()) return 0;
  return DevicePenWidth(Pen(), Zoom);
}

bool TVornShape::IsFilled() const { return IsClosedGeometry() && (HasBrush() || HasGradient()); }

// ---- Hit testing ----------------------------------------------------------------------------------

bool TVornShape::PointOnShape(const TPointF& P, float Fuzz, bool) const {
  if (PointCount() == 0) return false;
  if (Fuzz < 0) Fuzz = 0;
  return HitGeometry(ToShapeFrame(P), Fuzz);
}

bool TVornShape::HitGeometry(const TPointF& P, float Fuzz) const {
  const TVornVertices v = Vertices();
  const QPointF q = ToQt(P);
  const bool closed = IsClosedGeometry();
  if (IsFilled() && GeometryPath(v, 0).contains(q)) return true;
  // The ink of the outline: a frame pen lies inside a closed outline, a line pen on its centre.
  const float pen = PenWorldWidth();
  const float width = pen + 2 * Fuzz;
  if (width <= 0) return false;
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setJoinStyle(closed ? Qt::MiterJoin : Qt::RoundJoin);
  stroker.setCapStyle(Qt::RoundCap);
  return stroker.createStroke(GeometryPath(v, closed ? pen / 2 : 0)).contains(q);
}

QRectF TVornShape::TurnedExtent() const {
  // Curves stay within their control points: the vertices and their handles bound the outline.
  // Read from the points directly: the surface asks this of every shape it indexes.
  const int32_t n = PointCount();
  if (n == 0) return QRectF();
  const TPointF first = Points(0)->GetValue();
  double l = first.X, t = first.Y, r = l, b = t;
  auto take = [&](double x, double y) {
    l = std::min(l, x);
    r = std::max(r, x);
    t = std::min(t, y);
    b = std::max(b, y);
  };
  for (int32_t i = 0; i < n; ++i) {
    const TKxDePoint* p = Points(i);
    const TPointF v = p->GetValue();
    take(v.X, v.Y);
    for (const TKxDePointControl* c : {p->Control_1(), p->Control_2()})
      if (c) take(static_cast<double>(v.X + c->x()), static_cast<double>(v.Y + c->y()));
  }
  const double pad = ExtentPadding();
  return WorldRotation().mapRect(QRectF(QPointF(l - pad, t - pad), QPointF(r + pad, b + pad)));
}

TRectF TVornShape::HitExtent() const {
  if (PointCount() == 0) return TRectF{};
  return ExtentRect(TurnedExtent(), 2.5 * PenWorldWidth());
}

TRectF TVornShape::ExtentRect(const QRectF& R, double Reach) {
  // The hit test turns the point back in single precision, the extent is turned in double: a
  // margin far above the rounding of either keeps the two apart.
  const double magnitude = std::max({std::abs(R.left()), std::abs(R.top()), std::abs(R.right()), std::abs(R.bottom())});
  const double d = Reach + 1e-5 * (magnitude + 1);
  return TRectF{static_cast<float>(R.left() - d), static_cast<float>(R.top() - d), static_cast<float>(R.right() + d),
                static_cast<float>(R.bottom() + d)};
}

bool TVornShape::InRect(const TRectF& R) const {
  if (PointCount() == 0 || R.IsEmpty()) return false;
  const QRectF r = ToQt(R);
  // The quick answers first (most shapes lie wholly inside or outside the area asked about);
  // only a shape whose extent straddles the area's edge has its outline examined. The extent of
  // a straight line has no width or no height: compared with <=, not QRectF::intersects.
  const QRectF e = TurnedExtent();
  if (e.right() < r.left() || e.left() > r.right() || e.bottom() < r.top() || e.top() > r.bottom()) return false;
  if (e.left() >= r.left() && e.right() <= r.right() && e.top() >= r.top() && e.bottom() <= r.bottom()) return true;
  const QPainterPath outline = WorldOutline();
  if (outline.intersects(r)) return true;
  // A line of no extent (all points equal) is still somewhere.
  const QRectF b = outline.controlPointRect();
  return r.contains(b.topLeft()) || r.contains(b.bottomRight());
}

// ---- Painting -------------------------------------------------------------------------------------

QPen TVornShape::DevicePen(double Zoom, bool Closed) const {
  if (!HasPen()) return QPen(Qt::NoPen);
  const TmekLineShape start = Closed ? TmekLineShape::mekLshSquared : StartLineShape();
  const TmekLineShape end = Closed ? TmekLineShape::mekLshSquared : EndLineShape();
  QPen pen = CreateExtendedPen(Pen(), Zoom, start, end);
  // Frames meet themselves mitred, so that a rectangle keeps square corners; rounded lines bend
  // round.
  const bool round = !Closed && (start == TmekLineShape::mekLshRounded || end == TmekLineShape::mekLshRounded);
  pen.setJoinStyle(round ? Qt::RoundJoin : Qt::MiterJoin);
  return pen;
}

QBrush TVornShape::DeviceBrush() const {
  // The shape brush as a Qt brush, set on the painter directly: going through the canvas brush
  // would make the canvas refresh its whole painter state for every shape.
  TBrush brush;
  Brush()->AssignTo(&brush);
  return brush.ToQBrush();
}

void TVornShape::FillDevicePath(TCanvas* C, const QPainterPath& DevicePath) {
  if (!IsClosedGeometry() || DevicePath.isEmpty()) return;
  if (HasGradient()) {
    QPainter* p = C->Painter();
    p->save();
    p->setClipPath(DevicePath, Qt::IntersectClip);
    const QRectF b = DevicePath.boundingRect();
    GetGradient()->Paint(
        C, TRect{static_cast<int32_t>(std::floor(b.left())), static_cast<int32_t>(std::floor(b.top())),
                 static_cast<int32_t>(std::ceil(b.right())), static_cast<int32_t>(std::ceil(b.bottom()))});
    p->restore();
    return;
  }
  if (!HasBrush()) return;
  QPainter* p = C->DevicePainter();
  p->setPen(Qt::NoPen);
  p->setBrush(DeviceBrush());
  p->drawPath(DevicePath);
}

void TVornShape::StrokeDevicePath(TCanvas* C, const QPainterPath& DevicePath, double Zoom, bool Closed) {
  if (!HasPen() || DevicePath.isEmpty()) return;
  C->Pen()->SetMode(Pen()->Mode());
  QPainter* p = C->DevicePainter();
  p->setPen(DevicePen(Zoom, Closed));
  p->setBrush(Qt::NoBrush);
  p->drawPath(DevicePath);
  C->Pen()->SetMode(TPenMode::pmCopy);
}

void TVornShape::PaintGeometry(TCanvas* C, const QTransform& ToDevice, double Zoom) {
  const TVornVertices v = Vertices();
  const bool closed = IsClosedGeometry();
  FillDevicePath(C, ToDevice.map(GeometryPath(v, 0)));
  // A frame pen draws inside the outline: its centre runs half its width in.
  const int32_t w = InkWidth(Zoom);
  const float inset = closed && Zoom > 0 ? static_cast<float>(w / 2.0 / Zoom) : 0.0f;
  StrokeDevicePath(C, ToDevice.map(GeometryPath(v, inset)), Zoom, closed);
}

void TVornShape::PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t, PmekDeviceCapsInfo) {
  PaintGeometry(C, ToDevice, Zoom);
}

void TVornShape::Paint(TCanvas* C, float X, float Y, double Zoom, int32_t GDIRotation,
                       PmekDeviceCapsInfo DeviceCapsInfo) {
  if (!C || PointCount() == 0 || Zoom <= 0) return;
  const QTransform saved = C->Transform();
  // The engine's painting transform turns the canvas about the shape's rotation centre.
  SetRotationMatrix(C, X, Y, Zoom, Rotation());
  PaintShape(C, VornDeviceTransform(X, Y, Zoom), Zoom, GDIRotation, DeviceCapsInfo);
  if (C->Transform() != saved) C->SetTransform(saved);
}

// ---- Selection feedback ---------------------------------------------------------------------------

void TVornShape::ApplyDrag(TVornVertices& V, const TKxDeDragPoint& DragPoint) const {
  const int32_t i = DragPoint.PartIndex;
  if (i < 0 || i >= static_cast<int32_t>(V.size())) return;
  TVornVertex& x = V[static_cast<size_t>(i)];
  const TPointF d = DragPoint.Offset;
  if (DragPoint.PointType == TKxDePointType::kxptPoint) {
    x.P = x.P + d;
  } else if (DragPoint.PointType == TKxDePointType::kxptPointControl) {
    if (DragPoint.SubIndex == 0 && x.HasC1) x.C1 = x.C1 + d;
    if (DragPoint.SubIndex == 1 && x.HasC2) x.C2 = x.C2 + d;
  }
}

void TVornShape::DrawSelection(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                               const TKxDeSelectionData& Data, double Zoom) {
  if (!C || PointCount() == 0 || Zoom <= 0) return;
  TVornVertices v = Vertices();
  ApplyDrag(v, DragPoint);
  const QTransform saved = C->Transform();
  SetRotationMatrix(C, static_cast<float>(X), static_cast<float>(Y), Zoom, Rotation());
  // Where the turned device frame puts a point, in the canvas's own coordinates.
  const QTransform turn = C->Transform() * saved.inverted();
  const QTransform toDevice = VornDeviceTransform(X, Y, Zoom);

  if (Data.LineColor != clNone && Data.LineStyle != TPenStyle::psClear) {
    C->Pen()->SetColor(Data.LineColor);
    C->Pen()->SetStyle(Data.LineStyle);
    C->Pen()->SetMode(Data.LineMode);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    QPainter* p = C->Painter();
    p->setBrush(Qt::NoBrush);
    p->drawPath(toDevice.map(GeometryPath(v, 0)));
  }
  C->SetTransform(saved);

  const int32_t size = Data.PointSize;
  const bool handleColours = Data.PointInColor != clNone || Data.PointOutColor != clNone;
  if (size < 2 || Data.SelectionType == TKxDeSelectionType::kxdsMoving) {
    C->Pen()->SetMode(TPenMode::pmCopy);
    return;
  }
  auto square = [&](const QPointF& At) {
    const int32_t l = Round32(At.x()) - size / 2;
    const int32_t t = Round32(At.y()) - size / 2;
    return TRect{l, t, l + size, t + size};
  };
  // Bezier handles of the points: a thin line from the point to each handle and a small square.
  if (ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesPointControls) &&
      Data.SelectionType == TKxDeSelectionType::kxdsSelected &&
      (Data.CtrlInColor != clNone || Data.CtrlOutColor != clNone)) {
    for (const TVornVertex& x : v) {
      const QPointF at = turn.map(toDevice.map(ToQt(x.P)));
      for (int k = 0; k < 2; ++k) {
        if (!(k == 0 ? x.HasC1 : x.HasC2)) continue;
        const TPointF o = k == 0 ? x.C1 : x.C2;
        const QPointF h = turn.map(toDevice.map(QPointF(x.P.X + o.X, x.P.Y + o.Y)));
        C->Pen()->SetColor(Data.CtrlOutColor != clNone ? Data.CtrlOutColor : Data.CtrlInColor);
        C->Pen()->SetStyle(TPenStyle::psSolid);
        C->Pen()->SetMode(TPenMode::pmCopy);
        C->Pen()->SetWidth(1);
        C->Painter()->drawLine(at, h);
        DrawPoint(C, square(h), Data.CtrlOutColor, Data.CtrlInColor);
      }
    }
  }
  if (handleColours) {
    const TVornVertices handles = HandleVertices(v);
    for (size_t i = 0; i < handles.size(); ++i) {
      const QPointF at = turn.map(toDevice.map(ToQt(handles[i].P)));
      // Points picked for point editing show inverted colours.
      const bool picked = handles.size() == v.size() && IsSelected(static_cast<int32_t>(i));
      DrawPoint(C, square(at), picked ? Data.PointInColor : Data.PointOutColor,
                picked ? Data.PointOutColor : Data.PointInColor);
    }
  }
  C->Pen()->SetMode(TPenMode::pmCopy);
}

}  // namespace vorn
