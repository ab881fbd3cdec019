#include "vorn/shapes/VornPolyline.h"

#include <vorn/model/KxDePoint.h>

#include <QPainterPathStroker>

#include <cmath>

namespace vorn {
namespace {

QPointF Plus(const TPointF& P, const TPointF& Offset) { return QPointF(P.X + Offset.X, P.Y + Offset.Y); }

// The segment from A to B as it is drawn: straight, or a cubic curve when a handle pulls it.
void AddSegment(QPainterPath& Path, const TVornVertex& A, const QPointF& AtA, const TVornVertex& B,
                const QPointF& AtB) {
  if (!A.HasC2 && !B.HasC1) {
    Path.lineTo(AtB);
    return;
  }
  // Handles stay where the vertices put them, even when an end was pulled back for a head.
  const QPointF c1 = A.HasC2 ? Plus(A.P, A.C2) : AtA;
  const QPointF c2 = B.HasC1 ? Plus(B.P, B.C1) : AtB;
  Path.cubicTo(c1, c2, AtB);
}

QPainterPath CurvePath(const TVornVertices& V, const std::vector<QPointF>& At, bool Closed) {
  QPainterPath path;
  if (V.empty()) return path;
  path.moveTo(At[0]);
  for (size_t i = 1; i < V.size(); ++i) AddSegment(path, V[i - 1], At[i - 1], V[i], At[i]);
  if (Closed && V.size() > 1) {
    AddSegment(path, V.back(), At.back(), V.front(), At.front());
    path.closeSubpath();
  }
  return path;
}

}  // namespace

TVornPolyline::TVornPolyline(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornLine(ASurface, AOwner) {
  // Drawn point by point, with Bezier handles pulled out while the button is held.
  ExcludeStyles({TKxDeShapeStyle::kxssSingleClickCreation});
  IncludeStyles({TKxDeShapeStyle::kxssUsesPointControls, TKxDeShapeStyle::kxssAcceptsPoint,
                 TKxDeShapeStyle::kxssCanRemovePoint});
}

void TVornPolyline::UpdateClosedStyles() {
  if (FClosed) IncludeStyles({TKxDeShapeStyle::kxssUsesBrush, TKxDeShapeStyle::kxssUsesGradient});
  else ExcludeStyles({TKxDeShapeStyle::kxssUsesBrush, TKxDeShapeStyle::kxssUsesGradient});
}

void TVornPolyline::SetClosed(bool Value) {
  if (Value == FClosed) return;
  BeginUpdate();
  ChangeProperty(FClosed, Value, "Closed");
  UpdateClosedStyles();
  EndUpdate();
}

TmekLineShape TVornPolyline::StartLineShape() const { return FClosed ? TmekLineShape::mekLshSquared : FStartShape; }
TmekLineShape TVornPolyline::EndLineShape() const { return FClosed ? TmekLineShape::mekLshSquared : FEndShape; }

QPainterPath TVornPolyline::LinePath(const TVornVertices& V, bool Trim) const {
  std::vector<QPointF> at = Positions(V);
  if (Trim && !FClosed) TrimEnds(V, at);
  return CurvePath(V, at, FClosed);
}

QPainterPath TVornPolyline::GeometryPath(const TVornVertices& V, float Inset) const {
  if (FClosed) return LinePath(V, false);
  return TVornLine::GeometryPath(V, Inset);
}

bool TVornPolyline::EndDirection(const TVornVertices& V, bool Last, QPointF& From) const {
  if (V.size() < 2) return false;
  const TVornVertex& end = Last ? V.back() : V.front();
  // A curve arrives along its last handle: the end's own handle first, then the neighbour's.
  const TVornVertex& next = Last ? V[V.size() - 2] : V[1];
  const bool ownHandle = Last ? end.HasC1 : end.HasC2;
  const TPointF own = Last ? end.C1 : end.C2;
  if (ownHandle && (own.X != 0 || own.Y != 0)) {
    From = Plus(end.P, own);
    return true;
  }
  const bool nextHandle = Last ? next.HasC2 : next.HasC1;
  const TPointF nh = Last ? next.C2 : next.C1;
  if (nextHandle) {
    const QPointF h = Plus(next.P, nh);
    if (h != ToQt(end.P)) {
      From = h;
      return true;
    }
  }
  return TVornLine::EndDirection(V, Last, From);
}

void TVornPolyline::PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                               PmekDeviceCapsInfo DeviceCapsInfo) {
  if (FClosed) {
    // A polygon's pen runs on the outline: GeometryPath ignores the frame inset.
    PaintGeometry(C, ToDevice, Zoom);
    return;
  }
  TVornLine::PaintShape(C, ToDevice, Zoom, GDIRotation, DeviceCapsInfo);
}

bool TVornPolyline::HitGeometry(const TPointF& P, float Fuzz) const {
  if (!FClosed) return TVornLine::HitGeometry(P, Fuzz);
  const QPainterPath path = LinePath(Vertices(), false);
  const QPointF q = ToQt(P);
  if (IsFilled() && path.contains(q)) return true;
  const float width = PenWorldWidth() + 2 * Fuzz;
  if (width <= 0) return false;
  QPainterPathStroker s;
  s.setWidth(width);
  s.setJoinStyle(Qt::MiterJoin);
  return s.createStroke(path).contains(q);
}

int32_t TVornPolyline::PointControlAt(const TPointF& P, float Fuzz, bool, int32_t& SubIndex) const {
  SubIndex = -1;
  if (Fuzz < 1) Fuzz = 1;
  const TPointF p = ToShapeFrame(P);
  const TVornVertices v = Vertices();
  const float h = Fuzz / 2;
  for (int32_t i = static_cast<int32_t>(v.size()) - 1; i >= 0; --i) {
    const TVornVertex& x = v[static_cast<size_t>(i)];
    for (int k = 1; k >= 0; --k) {
      if (!(k == 0 ? x.HasC1 : x.HasC2)) continue;
      const QPointF c = Plus(x.P, k == 0 ? x.C1 : x.C2);
      if (std::abs(p.X - c.x()) <= h && std::abs(p.Y - c.y()) <= h) {
        SubIndex = k;
        return i;
      }
    }
  }
  return -1;
}

TKxDePoint* TVornPolyline::ApproxInsert(const TPointF& P, float Fuzz) {
  const TVornVertices v = Vertices();
  if (v.size() < 2) return nullptr;
  const TPointF p = ToShapeFrame(P);
  const std::vector<QPointF> at = Positions(v);
  QPainterPathStroker s;
  s.setWidth(2.0 * std::max(Fuzz, PenWorldWidth() / 2 + 0.5f));
  const size_t segments = FClosed ? v.size() : v.size() - 1;
  for (size_t i = 0; i < segments; ++i) {
    const size_t j = (i + 1) % v.size();
    QPainterPath seg;
    seg.moveTo(at[i]);
    AddSegment(seg, v[i], at[i], v[j], at[j]);
    if (!s.createStroke(seg).contains(ToQt(p))) continue;
    TKxDePoint* point = Create<TKxDePoint>();
    point->SetPosition2(p.X, p.Y);
    Insert(static_cast<int32_t>(i + 1), point);
    if (point->GetOwner() != this) {
      Free(point);
      return nullptr;
    }
    return point;
  }
  return nullptr;
}

void TVornPolyline::SaveToXML(TXmlNode Node) const {
  TVornLine::SaveToXML(Node);
  XmlWriteBool(Node, "Closed", FClosed);
}

void TVornPolyline::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  // The styles decide which style elements are read: settle Closed first.
  FClosed = XmlReadBool(Node, "Closed", FClosed);
  UpdateClosedStyles();
  TVornLine::LoadFromXML(Node, KeepID);
  Changed(false);
  EndUpdate();
}

TVornPolygon::TVornPolygon(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornPolyline(ASurface, AOwner) {
  FClosed = true;
  UpdateClosedStyles();
}

}  // namespace vorn
