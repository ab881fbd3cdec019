#include "vorn/shapes/VornLine.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeShapePen.h>

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

// How far the line reaches into its arrow head, as a part of the head's length: enough to hide
// the joint under the head, not so far that a wide pen shows beside the tip.
constexpr double kLineIntoHead = 0.2;
// Half the width of a head at its base, as a part of its length.
constexpr double kHeadHalfWidth = 0.35;

double Length(const QPointF& V) { return std::hypot(V.x(), V.y()); }

}  // namespace

TVornLine::TVornLine(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornShape(ASurface, AOwner) {
  // A line is drawn with one press, drag and release; the pen is all it has.
  IncludeStyles({TKxDeShapeStyle::kxssSingleClickCreation});
}

void TVornLine::SetStartShape(TmekLineShape Value) { ChangeProperty(FStartShape, Value, "StartShape"); }
void TVornLine::SetEndShape(TmekLineShape Value) { ChangeProperty(FEndShape, Value, "EndShape"); }
void TVornLine::SetArrowSize(float Value) { ChangeProperty(FArrowSize, std::max(0.1f, Value), "ArrowSize"); }

TmekLineShape TVornLine::StartLineShape() const { return FStartShape; }
TmekLineShape TVornLine::EndLineShape() const { return FEndShape; }

double TVornLine::ExtentPadding() const {
  // A head is wider than the line's end: half its base either side of the end point.
  return HasHead(false) || HasHead(true) ? HeadLength() : 0;
}

bool TVornLine::HasHead(bool Last) const {
  return (Last ? EndLineShape() : StartLineShape()) == TmekLineShape::mekLshArrowed;
}

double TVornLine::HeadLength() const {
  return std::max(static_cast<double>(FArrowSize) * CoordsPixelsPerMMConvertValue, 3.0 * PenWorldWidth());
}

bool TVornLine::EndDirection(const TVornVertices& V, bool Last, QPointF& From) const {
  if (V.size() < 2) return false;
  const QPointF end = ToQt(Last ? V.back().P : V.front().P);
  const int32_t n = static_cast<int32_t>(V.size());
  for (int32_t k = 1; k < n; ++k) {
    const QPointF p = ToQt(V[static_cast<size_t>(Last ? n - 1 - k : k)].P);
    if (p != end) {
      From = p;
      return true;
    }
  }
  return false;
}

void TVornLine::ArrowHeads(const TVornVertices& V, QPolygonF& Start, QPolygonF& End) const {
  Start.clear();
  End.clear();
  const double len = HeadLength();
  for (int k = 0; k < 2; ++k) {
    const bool last = k == 1;
    QPointF from;
    if (!HasHead(last) || !EndDirection(V, last, from)) continue;
    const QPointF tip = ToQt(last ? V.back().P : V.front().P);
    const QPointF d = (tip - from) / Length(tip - from);
    const QPointF base = tip - d * len;
    const QPointF across(-d.y() * len * kHeadHalfWidth, d.x() * len * kHeadHalfWidth);
    (last ? End : Start) << tip << base + across << base - across;
  }
}

std::vector<QPointF> TVornLine::Positions(const TVornVertices& V) {
  std::vector<QPointF> at;
  at.reserve(V.size());
  for (const TVornVertex& x : V) at.push_back(ToQt(x.P));
  return at;
}

void TVornLine::TrimEnds(const TVornVertices& V, std::vector<QPointF>& At) const {
  if (At.size() < 2) return;
  const double pull = HeadLength() * (1 - kLineIntoHead);
  for (int k = 0; k < 2; ++k) {
    const bool last = k == 1;
    QPointF from;
    if (!HasHead(last) || !EndDirection(V, last, from)) continue;
    QPointF& end = last ? At.back() : At.front();
    const QPointF along = from - end;
    const double len = Length(along);
    if (len > 0) end += along * std::min(1.0, pull / len);
  }
}

QPainterPath TVornLine::LinePath(const TVornVertices& V, bool Trim) const {
  QPainterPath path;
  if (V.empty()) return path;
  std::vector<QPointF> pts = Positions(V);
  if (Trim) TrimEnds(V, pts);
  path.moveTo(pts[0]);
  for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i]);
  return path;
}

QPainterPath TVornLine::GeometryPath(const TVornVertices& V, float) const {
  QPainterPath path = LinePath(V, false);
  QPolygonF start, end;
  ArrowHeads(V, start, end);
  for (const QPolygonF* head : {&start, &end}) {
    if (head->isEmpty()) continue;
    path.addPolygon(*head);
    path.closeSubpath();
  }
  return path;
}

void TVornLine::PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t, PmekDeviceCapsInfo) {
  if (!HasPen()) return;
  const TVornVertices v = Vertices();
  StrokeDevicePath(C, ToDevice.map(LinePath(v, true)), Zoom, false);
  QPolygonF start, end;
  ArrowHeads(v, start, end);
  if (start.isEmpty() && end.isEmpty()) return;
  C->Pen()->SetMode(Pen()->Mode());
  QPainter* p = C->Painter();
  p->setPen(Qt::NoPen);
  p->setBrush(ToQColor(Pen()->Color()));
  if (!start.isEmpty()) p->drawPolygon(ToDevice.map(start));
  if (!end.isEmpty()) p->drawPolygon(ToDevice.map(end));
  C->Pen()->SetMode(TPenMode::pmCopy);
}

bool TVornLine::HitGeometry(const TPointF& P, float Fuzz) const {
  const TVornVertices v = Vertices();
  const QPointF q = ToQt(P);
  QPolygonF start, end;
  ArrowHeads(v, start, end);
  for (const QPolygonF* head : {&start, &end}) {
    if (head->isEmpty()) continue;
    if (head->containsPoint(q, Qt::OddEvenFill)) return true;
    if (Fuzz > 0) {
      QPainterPath outline;
      outline.addPolygon(*head);
      outline.closeSubpath();
      QPainterPathStroker s;
      s.setWidth(2 * Fuzz);
      if (s.createStroke(outline).contains(q)) return true;
    }
  }
  const float width = PenWorldWidth() + 2 * Fuzz;
  if (width <= 0) return false;
  QPainterPathStroker s;
  s.setWidth(width);
  const bool round = StartLineShape() == TmekLineShape::mekLshRounded || EndLineShape() == TmekLineShape::mekLshRounded;
  s.setCapStyle(round ? Qt::RoundCap : Qt::SquareCap);
  s.setJoinStyle(round ? Qt::RoundJoin : Qt::MiterJoin);
  return s.createStroke(LinePath(v, false)).contains(q);
}

void TVornLine::SaveToXML(TXmlNode Node) const {
  TVornShape::SaveToXML(Node);
  XmlWriteInteger(Node, "StartShape", static_cast<int32_t>(FStartShape));
  XmlWriteInteger(Node, "EndShape", static_cast<int32_t>(FEndShape));
  XmlWriteSingle(Node, "ArrowSize", FArrowSize);
}

void TVornLine::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornShape::LoadFromXML(Node, KeepID);
  FStartShape = XmlReadEnum(Node, "StartShape", FStartShape, TmekLineShape::mekLshArrowed);
  FEndShape = XmlReadEnum(Node, "EndShape", FEndShape, TmekLineShape::mekLshArrowed);
  FArrowSize = XmlReadSingleIn(Node, "ArrowSize", FArrowSize, 0.1f, 1000.0f);
  Changed(false);
  EndUpdate();
}

}  // namespace vorn
