#pragma once
// TVornRectangle: a box with optionally rounded corners, filled with the brush or the gradient
// and framed with the pen. CornerRadius is in millimetres; a radius larger than half the shorter
// side rounds that side completely.

#include "vorn/shapes/VornBoxShape.h"

namespace vorn {

class TVornRectangle : public TVornBoxShape {
  VORN_OBJECT(TVornRectangle, TVornBoxShape)
  Q_PROPERTY(float CornerRadius READ CornerRadius WRITE SetCornerRadius)
  Q_CLASSINFO("Category.CornerRadius", "Geometry")

 public:
  TVornRectangle(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

  float CornerRadius() const { return FCornerRadius; }
  // Millimetres; negative values are stored as 0.
  void SetCornerRadius(float Value);

  void SaveToXML(TXmlNode Node) const override;
  void LoadFromXML(TXmlNode Node, bool KeepID) override;

 protected:
  ~TVornRectangle() override = default;
  QPainterPath BoxPath(const QRectF& Box, double Inset) const override;
  bool DrawDeviceBox(QPainter* P, const QRectF& Box) const override;

 private:
  float FCornerRadius = 0;
};

// TVornEllipse: the ellipse inscribed in its box.
class TVornEllipse : public TVornBoxShape {
  VORN_OBJECT(TVornEllipse, TVornBoxShape)

 public:
  TVornEllipse(TKxDeSurface* ASurface, TKxDeContainer* AOwner);

 protected:
  ~TVornEllipse() override = default;
  QPainterPath BoxPath(const QRectF& Box, double Inset) const override;
  bool DrawDeviceBox(QPainter* P, const QRectF& Box) const override;
};

}  // namespace vorn
