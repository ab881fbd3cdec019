#pragma once
// TVornBoxShape: a kit shape whose geometry is a box. It holds exactly four points, the corners
// top-left, top-right, bottom-right and bottom-left, and keeps them a rectangle: when the editor
// drags one corner, the two neighbours follow, the opposite one stays. The box is the bounds of
// the corners; subclasses draw into it.
//
// A box can be sized from nothing (the editor creates rectangle-type shapes at zero size and
// then sizes them), and a box whose content has a fixed aspect ratio keeps it when sized by the
// editor (ArrangeBoundsRect) or when a corner is dragged.

#include "vorn/shapes/VornShape.h"

namespace vorn {

class TVornBoxShape : public TVornShape {
  VORN_OBJECT(TVornBoxShape, TVornShape)

 public:
  // The four corners, at (0, 0) until the shape is sized.
  TVornBoxShape(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  // The box in world units (the bounds of the corners).
  TRectF Box() const { return GetBounds(); }

  // Places the four corners directly, so that a box of zero size can grow.
  void SetBounds(float ALeft, float ATop, float AWidth, float AHeight) override;
  // Keeps the top-left corner; a box of zero size grows too.
  void Resize(float NewWidth, float NewHeight) override;
  // Orders R and, when the content has an aspect ratio, widens the shorter side to it.
  void ArrangeBoundsRect(TRectF& R) override;

  // Reads the shape and its corners; a document with other than four points gets four corners
  // on their bounds.
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

  // Width over height that the box keeps, or 0 when it has none.
  virtual double AspectRatio() const { return 0; }

 protected:
  ~TVornBoxShape() override = default;

  // The outline of the box of V; subclasses draw their figure into BoxPath.
  QPainterPath GeometryPath(const TVornVertices& V, float Inset) const override;
  // The figure in Box, moved inwards by Inset (world units).
  virtual QPainterPath BoxPath(const QRectF& Box, double Inset) const;
  // Draws the figure of a device box with the painter's pen and brush as they are set, when the
  // figure is one the painter draws by itself (a plain rectangle, an ellipse); False otherwise,
  // and the figure is painted from BoxPath.
  virtual bool DrawDeviceBox(QPainter* P, const QRectF& Box) const;
  // A plain figure filled with the brush and framed with the pen without painter paths.
  void PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                  PmekDeviceCapsInfo DeviceCapsInfo) override;
  void ApplyDrag(TVornVertices& V, const TKxDeDragPoint& DragPoint) const override;

  void PointChanged(TKxDePoint* Point) override;
  void PointIsChanging(TKxDePoint* Point, float& x, float& y) override;

  // Puts back four corners on the bounds of whatever points a damaged document left.
  void RestoreCorners();
  // The box of some vertices.
  static QRectF BoxOf(const TVornVertices& V);
  // R shrunk by D on every side (never below zero size).
  static QRectF Deflated(const QRectF& R, double D);

 private:
  // The box of the corners, read from the points directly.
  QRectF CornerBox() const;
  // Moves the corners onto the rectangle (L, T, W, H) inside one point update.
  void PlaceCorners(float L, float T, float W, float H);
  bool FArranging = false;
};

}  // namespace vorn
