#pragma once
// TVornLine: straight segments through its points (a line has two, drawn with one press, drag
// and release), with an arrow head, a rounded or a square end at either end. The ends use the
// engine's line-shape vocabulary: mekLshSquared, mekLshRounded, mekLshArrowed.
//
// The arrow head is a filled triangle in the pen colour whose tip is the end point; the line
// stops inside the head so that a wide pen does not poke through the tip. Its length is
// ArrowSize millimetres, but at least three pen widths so it stays visible on wide lines.

#include "vorn/shapes/VornShape.h"

#include <QPolygonF>

#include <vector>

namespace vorn {

class TVornLine : public TVornShape {
  VORN_OBJECT(TVornLine, TVornShape)
  Q_PROPERTY(vorn::KxDrawingCommons::TmekLineShape StartShape READ StartShape WRITE SetStartShape)
  Q_PROPERTY(vorn::KxDrawingCommons::TmekLineShape EndShape READ EndShape WRITE SetEndShape)
  Q_PROPERTY(float ArrowSize READ ArrowSize WRITE SetArrowSize)
  Q_PROPERTY(int Color READ Color WRITE SetColor DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeBrush* Brush READ Brush WRITE SetBrush DESIGNABLE false)
  Q_PROPERTY(vorn::TKxDeShapeGradient* Gradient READ GetGradient WRITE SetGradient DESIGNABLE false)
  Q_CLASSINFO("Category.StartShape", "Line ends")
  Q_CLASSINFO("Category.EndShape", "Line ends")
  Q_CLASSINFO("Category.ArrowSize", "Line ends")

 public:
  TVornLine(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  TmekLineShape StartShape() const { return FStartShape; }
  void SetStartShape(TmekLineShape Value);
  TmekLineShape EndShape() const { return FEndShape; }
  void SetEndShape(TmekLineShape Value);
  // Length of an arrow head in millimetres; below 0.1 is stored as 0.1.
  float ArrowSize() const { return FArrowSize; }
  void SetArrowSize(float Value);

  TKxShapeType GetShapeType() const override { return TKxShapeType::kxtyPolyPoints; }
  bool IsClosedGeometry() const override { return false; }

  // The arrow heads of vertices V (world units, unrotated), start first; empty where an end
  // has none.
  void ArrowHeads(const TVornVertices& V, QPolygonF& Start, QPolygonF& End) const;

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornLine() override = default;

  double ExtentPadding() const override;
  TmekLineShape StartLineShape() const override;
  TmekLineShape EndLineShape() const override;
  QPainterPath GeometryPath(const TVornVertices& V, float Inset) const override;
  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  bool HitGeometry(const TPointF& P, float Fuzz) const override;

  // The stroked path through V (without the heads); Trim shortens the ends that carry heads.
  virtual QPainterPath LinePath(const TVornVertices& V, bool Trim) const;
  // The direction in which the line arrives at its end (Last) or leaves its start: from the
  // neighbouring handle or point that differs from the end point; false when there is none.
  virtual bool EndDirection(const TVornVertices& V, bool Last, QPointF& From) const;
  // The positions of the vertices, as Qt points.
  static std::vector<QPointF> Positions(const TVornVertices& V);
  // Moves the ends of At (the positions of V) that carry heads back along the line, so that the
  // line stops inside its heads; an end never passes its neighbour.
  void TrimEnds(const TVornVertices& V, std::vector<QPointF>& At) const;
  // The head length in world units.
  double HeadLength() const;
  // Whether an end carries an arrow head.
  bool HasHead(bool Last) const;
  TmekLineShape FStartShape = TmekLineShape::mekLshSquared;
  TmekLineShape FEndShape = TmekLineShape::mekLshSquared;
  float FArrowSize = 3.0f;
};

}  // namespace vorn
