#include "vorn/shapes/VornPicture.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/KxDePicture.h>
#include <vorn/common/Rounding.h>
#include <vorn/common/Units.h>

#include <QPainter>

#include <cmath>

namespace vorn {

TVornPicture::TVornPicture(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : TVornBoxShape(ASurface, AOwner) {
  // The picture is all it draws: no brush behind it (it would show through transparent pictures
  // whenever a layer hands its default fill to new shapes) and no frame.
  IncludeStyles({TKxDeShapeStyle::kxssUsesPicture});
  ExcludeStyles({TKxDeShapeStyle::kxssUsesPen});
}

void TVornPicture::SetFlipHorizontal(bool Value) { ChangeProperty(FFlipHorizontal, Value, "FlipHorizontal"); }
void TVornPicture::SetFlipVertical(bool Value) { ChangeProperty(FFlipVertical, Value, "FlipVertical"); }

void TVornPicture::LoadPicture(const QString& FileName) { Picture()->LoadFromFile(FileName); }

double TVornPicture::AspectRatio() const {
  const TKxDePicture* pic = Picture();
  if (!pic || !pic->KeepRatio() || PictureStyle() != TKxDeShapePictureStyle::kxdspStretch) return 0;
  if (pic->GetWidth() <= 0 || pic->GetHeight() <= 0) return 0;
  return static_cast<double>(pic->GetWidth()) / pic->GetHeight();
}

QRectF TVornPicture::PictureRect(const QRectF& Box) const {
  const TKxDePicture* pic = Picture();
  const double w = pic ? pic->GetWidth() : 0;
  const double h = pic ? pic->GetHeight() : 0;
  if (w <= 0 || h <= 0) return Box;
  // A graphic's natural size in world units, as the engine's picture drawing measures it.
  const double nw = w / CoordsPixelsPerMMConvertValue;
  const double nh = h / CoordsPixelsPerMMConvertValue;
  switch (PictureStyle()) {
    case TKxDeShapePictureStyle::kxdspCenter:
      return QRectF(Box.left() + (Box.width() - nw) / 2, Box.top() + (Box.height() - nh) / 2, nw, nh);
    case TKxDeShapePictureStyle::kxdspDefault: return QRectF(Box.left(), Box.top(), nw, nh);
    case TKxDeShapePictureStyle::kxdspTiled: return Box;
    case TKxDeShapePictureStyle::kxdspStretch: break;
  }
  if (!pic->KeepRatio()) return Box;
  const double q = w / h;
  if (Box.height() * q <= Box.width()) {
    const double fw = Box.height() * q;
    return QRectF(Box.left() + (Box.width() - fw) / 2, Box.top(), fw, Box.height());
  }
  const double fh = Box.width() / q;
  return QRectF(Box.left(), Box.top() + (Box.height() - fh) / 2, Box.width(), fh);
}

void TVornPicture::PaintShape(TCanvas* C, const QTransform& ToDevice, double Zoom, int32_t GDIRotation,
                              PmekDeviceCapsInfo DeviceCapsInfo) {
  const TVornVertices v = Vertices();
  const QRectF box = ToDevice.mapRect(BoxOf(v));
  const TRect r{Round32(box.left()), Round32(box.top()), Round32(box.right()), Round32(box.bottom())};
  if (!r.IsEmpty() && (HasPicture() || HasEmptyPicture())) {
    QPainter* p = C->Painter();
    p->save();
    if (FFlipHorizontal || FFlipVertical) {
      // Mirror about the box's centre, inside the shape's own (turned) frame.
      const QPointF c = box.center();
      QTransform mirror;
      mirror.translate(c.x(), c.y());
      mirror.scale(FFlipHorizontal ? -1 : 1, FFlipVertical ? -1 : 1);
      mirror.translate(-c.x(), -c.y());
      p->setWorldTransform(mirror * p->worldTransform());
    }
    DrawPicture(C, r, Zoom, DeviceCapsInfo, false, GDIRotation);
    p->restore();
  }
}

bool TVornPicture::HitGeometry(const TPointF& P, float Fuzz) const {
  if (!HasPicture() && !HasEmptyPicture()) return false;
  const TRectF b = Box();
  const QRectF pic = PictureRect(ToQt(b)).intersected(ToQt(b).adjusted(-Fuzz, -Fuzz, Fuzz, Fuzz));
  return pic.adjusted(-Fuzz, -Fuzz, Fuzz, Fuzz).contains(ToQt(P));
}

void TVornPicture::SaveToXML(TXmlNode Node) const {
  TVornBoxShape::SaveToXML(Node);
  XmlWriteBool(Node, "FlipHorizontal", FFlipHorizontal);
  XmlWriteBool(Node, "FlipVertical", FFlipVertical);
}

void TVornPicture::LoadFromXML(TXmlNode Node, bool KeepID) {
  BeginUpdate();
  TVornBoxShape::LoadFromXML(Node, KeepID);
  FFlipHorizontal = XmlReadBool(Node, "FlipHorizontal", FFlipHorizontal);
  FFlipVertical = XmlReadBool(Node, "FlipVertical", FFlipVertical);
  Changed(false);
  EndUpdate();
}

}  // namespace vorn
