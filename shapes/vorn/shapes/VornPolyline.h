#pragma once
// TVornPolyline: a path through its points whose segments are straight or cubic Bezier curves.
// A point's second handle (Control_2) pulls the segment that leaves it, its first handle
// (Control_1) the segment that arrives, both as offsets from the point; a segment without
// handles is straight. An open polyline may carry arrow heads like a line; a closed one is a
// figure that the brush or the gradient fills. TVornPolygon is the polyline that starts closed.

#include "vorn/shapes/VornLine.h"

namespace vorn {

class TVornPolyline : public TVornLine {
  VORN_OBJECT(TVornPolyline, TVornLine)
  Q_PROPERTY(bool Closed READ Closed WRITE SetClosed)
  // A closed outline is filled.
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient)
  Q_CLASSINFO("Category.Closed", "Geometry")

 public:
  TVornPolyline(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  bool Closed() const { return FClosed; }
  // A closed polyline is filled: it declares the brush and the gradient.
  void SetClosed(bool Value);
  bool IsClosedGeometry() const override { return FClosed; }

  // The point whose handle lies at P (SubIndex 0 for Control_1, 1 for Control_2), or -1.
  int32_t PointControlAt(const TPointF& P, float Fuzz, bool Selected, int32_t& SubIndex) const override;
  // Inserts a point at P on the segment within Fuzz of it (P in world units); none when no
  // segment is that near.
  TKxDePoint* ApproxInsert(const TPointF& P, float Fuzz) override;

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornPolyline() override = default;

  TmekLineShape StartLineShape() const override;
  TmekLineShape EndLineShape() const override;
  QPainterPath GeometryPath(const TVornVertices& V, float Inset) const override;
  QPainterPath LinePath(const TVornVertices& V, bool Trim) const override;
  bool EndDirection(const TVornVertices& V, bool Last, QPointF& From) const override;
  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  bool HitGeometry(const TPointF& P, float Fuzz) const override;

  // The styles that go with Closed.
  void UpdateClosedStyles();

  bool FClosed = false;
};

// A closed polyline: a filled polygon through its points.
class TVornPolygon : public TVornPolyline {
  VORN_OBJECT(TVornPolygon, TVornPolyline)

 public:
  TVornPolygon(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

 protected:
  ~TVornPolygon() override = default;
};

}  // namespace vorn
