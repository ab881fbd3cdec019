#include "vorn/shapes/VornBoxShape.h"

#include <vorn/common/Canvas.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapePen.h>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// Corner i shares its x with corner 3 - i (the one above or below it) and its y with the corner
// beside it: 0 and 1 along the top, 2 and 3 along the bottom.
constexpr int32_t XNeighbour(int32_t i) { return 3 - i; }
constexpr int32_t YNeighbour(int32_t i) { return i % 2 == 0 ? i + 1 : i - 1; }

}  // namespace

TVornBoxShape::TVornBoxShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornShape(ASurface, AOwner) {
  BeginPointUpdate();
  for (int i = 0; i < 4; ++i) Add(0, 0);
  EndPointUpdate();
}

QRectF TVornBoxShape::BoxOf(const TVornVertices& V) {
  if (V.empty()) return QRectF();
  float l = V[0].P.X, t = V[0].P.Y, r = l, b = t;
  for (const TVornVertex& x : V) {
    l = std::min(l, x.P.X);
    r = std::max(r, x.P.X);
    t = std::min(t, x.P.Y);
    b = std::max(b, x.P.Y);
  }
  return QRectF(QPointF(l, t), QPointF(r, b));
}

QRectF TVornBoxShape::Deflated(const QRectF& R, double D) {
  const double dx = std::min(D, R.width() / 2);
  const double dy = std::min(D, R.height() / 2);
  return R.adjusted(dx, dy, -dx, -dy);
}

QPainterPath TVornBoxShape::BoxPath(const QRectF& Box, double Inset) const {
  QPainterPath path;
  path.addRect(Deflated(Box, Inset));
  return path;
}

bool TVornBoxShape::DrawDeviceBox(QPainter*, const QRectF&) const { return false; }

QRectF TVornBoxShape::CornerBox() const {
  const int32_t n = PointCount();
  if (n == 0) return QRectF();
  const TPointF first = Points(0)->GetValue();
  float l = first.X, t = first.Y, r = l, b = t;
  for (int32_t i = 1; i < n; ++i) {
    const TPointF p = Points(i)->GetValue();
    l = std::min(l, p.X);
    r = std::max(r, p.X);
    t = std::min(t, p.Y);
    b = std::max(b, p.Y);
  }
  return QRectF(QPointF(l, t), QPointF(r, b));
}

void TVornBoxShape::PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                               PmekDeviceCapsInfo DeviceCapsInfo) {
  // Painted from painter paths: a gradient (clipped to the figure) and figures the painter has no
  // call for. The device transform only scales and shifts, so the box maps to a box.
  const QRectF box = ToDevice.mapRect(CornerBox());
  if (HasGradient() || !DrawDeviceBox(nullptr, box)) {
    TVornShape::PaintShape(C, ToDevice, Zoom, GDIRotation, DeviceCapsInfo);
    return;
  }
  if (HasBrush()) {
    QPainter* p = C->DevicePainter();
    p->setPen(Qt::NoPen);
    p->setBrush(DeviceBrush());
    DrawDeviceBox(p, box);
  }
  if (HasPen()) {
    // A frame pen draws inside the outline: its centre runs half its width in.
    C->Pen()->SetMode(Pen()->Mode());
    QPainter* p = C->DevicePainter();
    p->setPen(DevicePen(Zoom, true));
    p->setBrush(Qt::NoBrush);
    DrawDeviceBox(p, Deflated(box, InkWidth(Zoom) / 2.0));
    C->Pen()->SetMode(TPenMode::pmCopy);
  }
}

QPainterPath TVornBoxShape::GeometryPath(const TVornVertices& V, float Inset) const { return BoxPath(BoxOf(V), Inset); }

void TVornBoxShape::PlaceCorners(float L, float T, float W, float H) {
  if (PointCount() != 4) return;
  const TPointF corners[4] = {{L, T}, {L + W, T}, {L + W, T + H}, {L, T + H}};
  BeginPointUpdate();
  for (int32_t i = 0; i < 4; ++i) Points(i)->SetPosition(corners[i].X, corners[i].Y);
  EndPointUpdate();
}

void TVornBoxShape::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  NormalizeBounds(ALeft, ATop, AWidth, AHeight);
  if (PointCount() == 0) return;
  const TRectF b = GetBounds();
  if (b.Left == ALeft && b.Top == ATop && b.Width() == AWidth && b.Height() == AHeight && PointCount() == 4) return;
  if (PointCount() != 4) RestoreCorners();
  StartAction(this, TKxDeAction::kxacSizing, QString());
  NotifyChanging();
  BeginNotifyLock();
  BeginUpdate();
  NotifyUndo(this, TKxDeAction::kxacSizing, QString());
  PlaceCorners(ALeft, ATop, AWidth, AHeight);
  EndUpdate();
  EndNotifyLock();
  EndAction(this, TKxDeAction::kxacSizing, QString());
}

void TVornBoxShape::Resize(float NewWidth, float NewHeight) {
  if (InPointUpdate() || PointCount() < 2) return;
  const TRectF b = GetBounds();
  const float w = std::max(0.0f, b.Width());
  const float h = std::max(0.0f, b.Height());
  if (NewWidth < 0) NewWidth = w;
  if (NewHeight < 0) NewHeight = h;
  if (NewWidth == w && NewHeight == h) return;
  StartAction(this, TKxDeAction::kxacSizing, QString());
  NotifyChanging();
  BeginNotifyLock();
  BeginUpdate();
  NotifyUndo(this, TKxDeAction::kxacSizing, QString());
  PlaceCorners(b.Left, b.Top, NewWidth, NewHeight);
  EndUpdate();
  EndNotifyLock();
  EndAction(this, TKxDeAction::kxacSizing, QString());
}

void TVornBoxShape::ArrangeBoundsRect(TRectF& R) {
  TVornShape::ArrangeBoundsRect(R);
  const double q = AspectRatio();
  if (q <= 0) return;
  const double w = R.Width();
  const double h = R.Height();
  if (w == 0 && h == 0) return;
  // Grow the side that falls short of the ratio, so the box covers what was dragged.
  if (h == 0 || w / h > q) {
    R.Bottom = static_cast<float>(R.Top + w / q);
  } else {
    R.Right = static_cast<float>(R.Left + h * q);
  }
}

void TVornBoxShape::PointIsChanging(TKxDePoint* Point, float& x, float& y) {
  TVornShape::PointIsChanging(Point, x, y);
  const double q = AspectRatio();
  if (q <= 0 || FArranging || InPointUpdate() || PointCount() != 4) return;
  const int32_t i = IndexOf(Point);
  if (i < 0) return;
  // A dragged corner keeps the ratio against the opposite corner, which stays.
  const TPointF o = Points((i + 2) % 4)->GetValue();
  double w = std::abs(x - o.X);
  double h = std::abs(y - o.Y);
  if (w == 0 && h == 0) return;
  if (h == 0 || w / h > q) h = w / q;
  else w = h * q;
  // Which side of the opposite corner the dragged one lies on; a corner on the line keeps the
  // side its index names (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left).
  const double sx = x > o.X ? 1 : x < o.X ? -1 : (i == 1 || i == 2 ? 1 : -1);
  const double sy = y > o.Y ? 1 : y < o.Y ? -1 : (i >= 2 ? 1 : -1);
  x = static_cast<float>(o.X + sx * w);
  y = static_cast<float>(o.Y + sy * h);
}

void TVornBoxShape::PointChanged(TKxDePoint* Point) {
  TVornShape::PointChanged(Point);
  if (FArranging || InPointUpdate() || PointCount() != 4) return;
  const int32_t i = IndexOf(Point);
  if (i < 0) return;
  FArranging = true;
  const TPointF p = Point->GetValue();
  TKxDePoint* xn = Points(XNeighbour(i));
  TKxDePoint* yn = Points(YNeighbour(i));
  xn->SetPosition2(p.X, xn->y());
  yn->SetPosition2(yn->x(), p.Y);
  FArranging = false;
}

void TVornBoxShape::ApplyDrag(TVornVertices& V, const TKxDeDragPoint& DragPoint) const {
  const int32_t i = DragPoint.PartIndex;
  if (DragPoint.PointType != TKxDePointType::kxptPoint || V.size() != 4 || i < 0 || i > 3) return;
  TVornVertex& c = V[static_cast<size_t>(i)];
  c.P = c.P + DragPoint.Offset;
  V[static_cast<size_t>(XNeighbour(i))].P.X = c.P.X;
  V[static_cast<size_t>(YNeighbour(i))].P.Y = c.P.Y;
}

void TVornBoxShape::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornShape::LoadFromXML(Node, KeepID);
  RestoreCorners();
  EndUpdate();
}

void TVornBoxShape::RestoreCorners() {
  if (PointCount() == 4) return;
  const TRectF b = PointCount() > 0 ? GetBounds() : TRectF{};
  BeginUpdate();
  ClearPoints();
  BeginPointUpdate();
  Add(b.Left, b.Top);
  Add(b.Right, b.Top);
  Add(b.Right, b.Bottom);
  Add(b.Left, b.Bottom);
  EndPointUpdate();
  EndUpdate();
}

}  // namespace vorn
