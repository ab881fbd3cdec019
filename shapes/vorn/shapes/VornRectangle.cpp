#include "vorn/shapes/VornRectangle.h"

#include <vorn/common/Units.h>

#include <QPainter>

#include <algorithm>

namespace vorn {

TVornRectangle::TVornRectangle(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornBoxShape(ASurface, AOwner) {
  // Filled (brush or gradient), framed (pen), turning.
  IncludeStyles({TKxDeShapeStyle::kxssUsesBrush, TKxDeShapeStyle::kxssUsesPen, TKxDeShapeStyle::kxssUsesGradient});
}

void TVornRectangle::SetCornerRadius(float Value) {
  ChangeProperty(FCornerRadius, std::max(0.0f, Value), "CornerRadius");
}

QPainterPath TVornRectangle::BoxPath(const QRectF& Box, double Inset) const {
  QPainterPath path;
  const QRectF box = Deflated(Box, Inset);
  // The outline moved inwards keeps its corners concentric with the outer ones.
  const double r = static_cast<double>(FCornerRadius) * CoordsPixelsPerMMConvertValue - Inset;
  if (r <= 0) {
    path.addRect(box);
  } else {
    const double rr = std::min({r, box.width() / 2, box.height() / 2});
    path.addRoundedRect(box, rr, rr);
  }
  return path;
}

bool TVornRectangle::DrawDeviceBox(QPainter* P, const QRectF& Box) const {
  if (FCornerRadius > 0) return false;
  if (P) P->drawRect(Box);
  return true;
}

void TVornRectangle::SaveToXML(TXmlNode Node) const {
  TVornBoxShape::SaveToXML(Node);
  XmlWriteSingle(Node, "CornerRadius", FCornerRadius);
}

void TVornRectangle::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornBoxShape::LoadFromXML(Node, KeepID);
  FCornerRadius = XmlReadSingleIn(Node, "CornerRadius", FCornerRadius, 0.0f, 1e5f);
  Changed(false);
  EndUpdate();
}

TVornEllipse::TVornEllipse(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornBoxShape(ASurface, AOwner) {
  // Filled (brush or gradient), framed (pen), turning.
  IncludeStyles({TKxDeShapeStyle::kxssUsesBrush, TKxDeShapeStyle::kxssUsesPen, TKxDeShapeStyle::kxssUsesGradient});
}

QPainterPath TVornEllipse::BoxPath(const QRectF& Box, double Inset) const {
  QPainterPath path;
  path.addEllipse(Deflated(Box, Inset));
  return path;
}

bool TVornEllipse::DrawDeviceBox(QPainter* P, const QRectF& Box) const {
  if (P) P->drawEllipse(Box);
  return true;
}

}  // namespace vorn
